#pragma once

#include <QMainWindow>
#include <memory>

class TWebBrowser;
namespace Ui {
class TForm4;
}

// The preview window: the browser fills it; its menu brings the code window forward and walks
// the browser's history.
class TForm4 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  TWebBrowser& WebBrowser1() const;

  void ShowCodeWindow1Click();
  void Back1Click();
  void Forward1Click();

private:
  std::unique_ptr<Ui::TForm4> ui;
};

extern TForm4* Form4;

#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm5;
}

// The save prompt shown on close when the document has changed. It has no close button:
// "Yes" saves, "No" does not, and either way the program then ends.
class TForm5 : public QDialog {
  Q_OBJECT

public:
  explicit TForm5(QWidget* parent = nullptr);
  ~TForm5() override;

  void dxButton1Click();
  void dxButton2Click();

  // Neither Escape nor the window manager leaves the prompt; only its buttons do.
  void reject() override;

private:
  std::unique_ptr<Ui::TForm5> ui;
};

extern TForm5* Form5;

#pragma once

#include <QDialog>
#include <memory>

class TRichEditPane;
namespace Ui {
class TForm2;
}

// The about and help window, shown modally by Help and About: the product's name and version,
// and the help text read afresh from the program folder at every showing.
class TForm2 : public QDialog {
  Q_OBJECT

public:
  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  TRichEditPane& RichEdit1() const;
  void FormShow();

protected:
  void showEvent(QShowEvent* event) override;
  // The window is closed with its close box only: Escape leaves it open.
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::unique_ptr<Ui::TForm2> ui;
};

extern TForm2* Form2;

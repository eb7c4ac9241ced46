#pragma once

#include <QDialog>
#include <memory>

class TTimer;
namespace Ui {
class TForm3;
}

// The splash window: shown modally once at start and closed by its own timer, which counts
// from the window's creation.
class TForm3 : public QDialog {
  Q_OBJECT

public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  TTimer& Timer1() const { return *FTimer1; }

  void Timer1Timer();

protected:
  // Only the timer closes the splash: Escape and the window manager's close do nothing.
  void reject() override {}

private:
  std::unique_ptr<Ui::TForm3> ui;
  TTimer* FTimer1;
};

extern TForm3* Form3;

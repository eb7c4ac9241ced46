#include "app/Unit5.h"

#include "app/Unit1.h"
#include "services/ErrorBox.h"
#include "services/Fonts.h"
#include "services/WindowBounds.h"
#include "ui_Unit5.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TForm5>()) {
  ui->setupUi(this);
  setFixedSize(333, 105);
  setFont(SansSerifFont(11));
  ui->Label1->setFont(SansSerifFont(20));
  ui->Label1->adjustSize();
  ui->dxButton1->setFocus();
  CentreOnScreenWhenShown(*this);
  ConnectGuarded(ui->dxButton1, &TdxButton::Clicked, this, &TForm5::dxButton1Click);
  ConnectGuarded(ui->dxButton2, &TdxButton::Clicked, this, &TForm5::dxButton2Click);
}

TForm5::~TForm5() = default;

// A save that fails raises before the prompt closes, so it stays open to be answered again.
void TForm5::dxButton1Click() {
  Form1->Action2Execute();
  done(QDialog::Accepted);
}

void TForm5::dxButton2Click() { done(QDialog::Accepted); }

void TForm5::reject() {}

#include "Unit5.h"

#include "ui_Unit5.h"

#include "Fonts.h"

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
}

TForm5::~TForm5() = default;

#include "Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About and Help for Vorn Web Editor"));
  setFixedSize(601, 359);
}

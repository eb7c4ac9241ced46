#pragma once

#include <QDialog>

// The about and help window, shown modally by Help and About.
class TForm2 : public QDialog {
  Q_OBJECT

public:
  explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;

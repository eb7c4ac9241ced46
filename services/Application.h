#pragma once

#include <QApplication>

// The application object: holds the title and knows the main window, so that a secondary
// window can bring the main window forward without knowing its class.
class TApplication : public QApplication {
  Q_OBJECT

public:
  TApplication(int& argc, char** argv);

  static QString Title();  // the caption of the error box
  static QWidget* MainForm();
  // The program's active window, or the main window while the program is only becoming active.
  static QWidget* ActiveForm();
  static void SetMainForm(QWidget* form);
  static void ShowMainForm();  // visible, restored, in front and active
};

#include "services/Application.h"

#include <QPointer>
#include <QWidget>

#include "services/WindowBounds.h"

namespace {
QPointer<QWidget>& MainFormRef() {
  static QPointer<QWidget> form;
  return form;
}
}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(Title());
  // Only the main window's close ends the program; closing another window hides it.
  setQuitOnLastWindowClosed(false);
}

QString TApplication::Title() { return QStringLiteral("Vorn Web Editor Basic"); }

QWidget* TApplication::MainForm() { return MainFormRef(); }

QWidget* TApplication::ActiveForm() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr ? active : MainForm();
}

void TApplication::SetMainForm(QWidget* form) { MainFormRef() = form; }

void TApplication::ShowMainForm() {
  if (QWidget* form = MainForm()) BringToFront(*form);
}

#include "ErrorBox.h"

#include "Application.h"
#include "VornError.h"

#include <QMessageBox>
#include <new>

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.'))
    return message + QLatin1Char('.');
  return message;
}

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, TApplication::Title(),
                  ErrorBoxText(message), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const EVornError& error) {
    ShowErrorBox(error.Message());
  } catch (const std::bad_alloc&) {
    ShowErrorBox(QStringLiteral("Out of memory"));
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromLocal8Bit(error.what()));
  }
  return false;
}

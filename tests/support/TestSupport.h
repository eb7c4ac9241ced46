#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <functional>

// Writes bytes to a file, replacing it.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadFileBytes(const QString& path);
// Writes a red picture of 4 x 4 pixels, in the format its name's extension gives.
void WritePicture(const QString& path);

// Answers the next modal window of the given class (any class when null) that becomes the
// active modal window, from a timer; gives up after timeoutMs.
void WhenModalOpens(const std::function<void(QWidget*)>& answer, const char* className = nullptr,
                    int timeoutMs = 20000);
// Drops every answer still waiting, so that none is left for the next test's windows.
void CancelModalAnswers();

// A window's control by the object name its layout gives it; the test stops at once when the
// window holds no control of that name and type.
template <typename T>
T* Control(const QWidget* window, const char* name) {
  T* control = window->findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr)
    qFatal("%s holds no %s named %s", qPrintable(window->objectName()), T::staticMetaObject.className(),
           name);
  return control;
}

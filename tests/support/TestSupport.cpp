#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

QByteArray ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WhenModalOpens(const std::function<void(QWidget*)>& answer, const char* className, int timeoutMs) {
  auto* poll = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(poll, &QTimer::timeout, [poll, clock, answer, className, timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool wanted = modal && (!className || modal->inherits(className));
    if (!wanted && clock->elapsed() < timeoutMs) return;
    poll->stop();
    poll->deleteLater();
    delete clock;
    if (wanted) answer(modal);
  });
  poll->start(20);
}

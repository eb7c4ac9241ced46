#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
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

void WritePicture(const QString& path) {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  if (!picture.save(path)) qFatal("cannot write %s", qPrintable(path));
}

namespace {
constexpr char ModalAnswer[] = "ModalAnswer";
}  // namespace

void WhenModalOpens(const std::function<void(QWidget*)>& answer, const char* className, int timeoutMs) {
  auto* poll = new QTimer(qApp);
  poll->setObjectName(QLatin1String(ModalAnswer));
  QElapsedTimer clock;
  clock.start();
  QObject::connect(poll, &QTimer::timeout, [poll, clock, answer, className, timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool wanted = modal && (!className || modal->inherits(className));
    if (!wanted && clock.elapsed() < timeoutMs) return;
    poll->stop();
    poll->deleteLater();
    if (wanted) answer(modal);
  });
  poll->start(20);
}

void CancelModalAnswers() {
  qDeleteAll(qApp->findChildren<QTimer*>(QLatin1String(ModalAnswer), Qt::FindDirectChildrenOnly));
}

#include "LocalFileScheme.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

const QByteArray TLocalFileScheme::Name = QByteArrayLiteral("vornfile");

void TLocalFileScheme::Register() {
  // Path syntax gives every page an opaque origin, so script in a previewed page cannot read
  // other local files; LocalScheme keeps network pages from reaching them at all.
  QWebEngineUrlScheme scheme(Name);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl TLocalFileScheme::UrlForPath(const QString& absolutePath) {
  QUrl url;
  url.setScheme(QString::fromLatin1(Name));
  url.setPath(absolutePath);
  return url;
}

QString TLocalFileScheme::MimeTypeForPath(const QString& path) {
  if (path.endsWith(QLatin1String(".vnx"), Qt::CaseInsensitive)) return QStringLiteral("text/html");
  return QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
}

void TLocalFileScheme::requestStarted(QWebEngineUrlRequestJob* job) {
  const QString path = job->requestUrl().path(QUrl::FullyDecoded);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    job->fail(file.exists() ? QWebEngineUrlRequestJob::RequestDenied
                            : QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* body = new QBuffer(job);
  body->setData(file.readAll());
  job->reply(MimeTypeForPath(path).toLatin1(), body);
}

#include "browser/LocalFileScheme.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "services/RegularFile.h"

const QByteArray TLocalFileScheme::Name = QByteArrayLiteral("vornfile");

// NoAccessAllowed gives every document of the scheme an opaque origin of its own, so no page
// reads another or a frame it shows. The scheme is not local to the engine: its pages load
// remote resources as web pages do, and they cannot load file: URLs. CORS requests for the
// scheme are answered, so fonts and module scripts beside a page load; which requests may be
// made at all, the request guard decides.
void TLocalFileScheme::Register() {
  QWebEngineUrlScheme scheme(Name);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::NoAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

bool TLocalFileScheme::Owns(const QUrl& url) {
  return url.scheme().compare(QLatin1String(Name), Qt::CaseInsensitive) == 0;
}

QUrl TLocalFileScheme::UrlForPath(const QString& absolutePath) {
  QUrl url;
  url.setScheme(QString::fromLatin1(Name));
  url.setPath(absolutePath);
  return url;
}

std::optional<TLocalFileScheme::TLocalFile> TLocalFileScheme::Find(const QUrl& url) {
  const QString path = QFileInfo(url.path(QUrl::FullyDecoded)).canonicalFilePath();
  const QFileInfo file(path);
  if (path.isEmpty() || !file.isFile()) return std::nullopt;
  if (path.endsWith(QLatin1String(".vnx"), Qt::CaseInsensitive))
    return TLocalFile{path, QStringLiteral("text/html")};
  return TLocalFile{path, QMimeDatabase().mimeTypeForFile(file).name()};
}

void TLocalFileScheme::SetPageEncoding(const QString& absolutePath, TTextEncoding encoding) {
  FPagePath = QFileInfo(absolutePath).canonicalFilePath();
  FPageEncoding = encoding;
}

// A page says in which encoding its text is, as the editor decided it, so a page without a
// declaration reads as the pane shows it. Other files go as their type says.
QByteArray TLocalFileScheme::ContentType(const TLocalFile& file, const QByteArray& bytes) const {
  if (!file.Path.endsWith(QLatin1String(".vnx"), Qt::CaseInsensitive)) return file.MimeType.toLatin1();
  const TTextEncoding encoding =
      file.Path == FPagePath
          ? FPageEncoding
          : DecideEncoding(std::string_view(bytes.constData(), std::size_t(bytes.size()))).Encoding;
  return file.MimeType.toLatin1() + "; charset=" + CharsetName(encoding);
}

void TLocalFileScheme::requestStarted(QWebEngineUrlRequestJob* job) {
  const std::optional<TLocalFile> file = Find(job->requestUrl());
  std::optional<QByteArray> bytes = file ? TRegularFile::Read(file->Path) : std::nullopt;
  if (!bytes) {
    job->fail(file ? QWebEngineUrlRequestJob::RequestDenied : QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* body = new QBuffer(job);
  const QByteArray contentType = ContentType(*file, *bytes);
  body->setData(std::move(*bytes));
  job->reply(contentType, body);
}

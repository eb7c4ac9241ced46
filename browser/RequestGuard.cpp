#include "browser/RequestGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>

#include "browser/LocalFileScheme.h"

bool TRequestGuard::IsNetworkScheme(const QString& scheme) {
  static const QStringList network{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ws"),
                                   QStringLiteral("wss"), QStringLiteral("ftp")};
  return network.contains(scheme, Qt::CaseInsensitive);
}

bool TRequestGuard::Allows(const TRequest& request, bool offline) {
  const QString scheme = request.Url.scheme();
  if (IsNetworkScheme(scheme)) return !offline;
  if (scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0) return false;
  if (TLocalFileScheme::Owns(request.Url)) return AllowsLocalFile(request);
  return true;  // data:, blob: and about: hold only what the page made itself
}

// A local file is reached only from the program, the browser's history or a previewed page,
// never from a remote one. Inside a preview, a page may use a file of its site as what the file's
// own type says it is (a page or a picture in a frame, a picture, a style sheet, a script, a font,
// a media file), but never read it as data.
bool TRequestGuard::AllowsLocalFile(const TRequest& request) {
  if (request.Type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame && FromProgram(request)) return true;
  const bool fromPreview = TLocalFileScheme::Owns(request.FirstParty) &&
                           (request.Initiator.isEmpty() || TLocalFileScheme::Owns(request.Initiator));
  if (!fromPreview) return false;
  const std::optional<TLocalFileScheme::TLocalFile> file = TLocalFileScheme::Find(request.Url);
  return file && IsInSite(file->Path, request.FirstParty) && ServesAs(request.Type, file->MimeType);
}

// A page's site is the folder that holds it and, for references such as "../css/site.css", its
// parent's tree, unless that parent is the root or the home folder. Nothing hidden in it (".env",
// ".git", ".ssh") is part of it.
bool TRequestGuard::IsInSite(const QString& path, const QUrl& page) {
  const QString pagePath = QFileInfo(page.path(QUrl::FullyDecoded)).canonicalFilePath();
  if (pagePath.isEmpty()) return false;
  QDir site = QFileInfo(pagePath).absoluteDir();
  QDir parent = site;
  if (parent.cdUp() && !parent.isRoot() && parent.canonicalPath() != QDir(QDir::homePath()).canonicalPath())
    site = parent;
  const QString inside = site.relativeFilePath(path);
  if (QDir::isAbsolutePath(inside) || inside == QLatin1String("..") ||
      inside.startsWith(QLatin1String("../")))
    return false;
  for (const QString& part : inside.split(QLatin1Char('/')))
    if (part.startsWith(QLatin1Char('.'))) return false;
  return true;
}

// The program's own navigations, and the user's steps through the history, name no page.
bool TRequestGuard::FromProgram(const TRequest& request) {
  switch (request.Navigation) {
    case QWebEngineUrlRequestInfo::NavigationTypeTyped:
    case QWebEngineUrlRequestInfo::NavigationTypeBackForward:
    case QWebEngineUrlRequestInfo::NavigationTypeReload: return request.Initiator.isEmpty();
    default: return false;
  }
}

// Text tracks, JSON, plain text and types the system does not know are never served to a page.
bool TRequestGuard::ServesAs(QWebEngineUrlRequestInfo::ResourceType type, const QString& mimeType) {
  const QMimeType mime = QMimeDatabase().mimeTypeForName(mimeType);
  const bool picture = mimeType.startsWith(QLatin1String("image/"));
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
      return picture || mimeType == QLatin1String("text/html") ||
             mimeType == QLatin1String("application/xhtml+xml");
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet: return mime.inherits(QStringLiteral("text/css"));
    case QWebEngineUrlRequestInfo::ResourceTypeScript:  // JSON counts as script to the system, not here
      return (mime.inherits(QStringLiteral("application/javascript")) ||
              mime.inherits(QStringLiteral("text/javascript"))) &&
             !mime.inherits(QStringLiteral("application/json"));
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon: return picture;
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
      return mimeType.startsWith(QLatin1String("font/")) ||
             mimeType == QLatin1String("application/vnd.ms-fontobject");
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
      return mimeType.startsWith(QLatin1String("audio/")) || mimeType.startsWith(QLatin1String("video/"));
    default: return false;
  }
}

void TRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const TRequest request{info.requestUrl(), info.resourceType(), info.navigationType(), info.initiator(),
                         info.firstPartyUrl()};
  if (!Allows(request, FOffline)) info.block(true);
}

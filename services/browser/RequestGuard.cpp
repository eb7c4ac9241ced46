#include "RequestGuard.h"

#include <QMimeDatabase>
#include <QStringList>

#include "LocalFileScheme.h"

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
// never from a remote one. Inside a preview, a page may show a file in a frame or use it as what
// its type says it is (a picture, a style sheet, a script, a font, a media file), but never read
// it as data.
bool TRequestGuard::AllowsLocalFile(const TRequest& request) {
  if (request.Type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame && FromProgram(request)) return true;
  const bool fromPreview = TLocalFileScheme::Owns(request.FirstParty) &&
                           (request.Initiator.isEmpty() || TLocalFileScheme::Owns(request.Initiator));
  if (!fromPreview) return false;
  return request.Type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame ||
         ServesAs(request.Type, TLocalFileScheme::MimeTypeForPath(request.Url.path(QUrl::FullyDecoded)));
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

bool TRequestGuard::ServesAs(QWebEngineUrlRequestInfo::ResourceType type, const QString& mimeType) {
  const QMimeType mime = QMimeDatabase().mimeTypeForName(mimeType);
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeObject: return true;
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet: return mime.inherits(QStringLiteral("text/css"));
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
      return mime.inherits(QStringLiteral("application/javascript")) ||
             mime.inherits(QStringLiteral("text/javascript"));
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon: return mimeType.startsWith(QLatin1String("image/"));
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
      return mimeType.startsWith(QLatin1String("font/")) ||
             mimeType == QLatin1String("application/vnd.ms-fontobject");
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
      return mimeType.startsWith(QLatin1String("audio/")) || mimeType.startsWith(QLatin1String("video/")) ||
             mimeType == QLatin1String("text/vtt");
    default: return false;
  }
}

void TRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const TRequest request{info.requestUrl(), info.resourceType(), info.navigationType(), info.initiator(),
                         info.firstPartyUrl()};
  if (!Allows(request, FOffline)) info.block(true);
}

#include "RequestGuard.h"

#include "LocalFileScheme.h"

#include <QStringList>
#include <QUrl>

bool TRequestGuard::IsNetworkScheme(const QString& scheme) {
  static const QStringList network{QStringLiteral("http"), QStringLiteral("https"),
                                   QStringLiteral("ws"), QStringLiteral("wss"),
                                   QStringLiteral("ftp")};
  return network.contains(scheme, Qt::CaseInsensitive);
}

void TRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QString scheme = info.requestUrl().scheme();
  const bool scriptReadsLocalFile = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr &&
                                    scheme == QLatin1String(TLocalFileScheme::Name);
  if (scriptReadsLocalFile || (FOffline && IsNetworkScheme(scheme))) info.block(true);
}

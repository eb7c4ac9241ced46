#include "OfflineInterceptor.h"

#include <QStringList>
#include <QUrl>

bool TOfflineInterceptor::IsNetworkScheme(const QString& scheme) {
  static const QStringList network{QStringLiteral("http"), QStringLiteral("https"),
                                   QStringLiteral("ws"), QStringLiteral("wss"),
                                   QStringLiteral("ftp")};
  return network.contains(scheme, Qt::CaseInsensitive);
}

void TOfflineInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (FOffline && IsNetworkScheme(info.requestUrl().scheme())) info.block(true);
}

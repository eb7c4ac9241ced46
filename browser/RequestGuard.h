#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

// Screens every request the preview's browser makes (the rules are set out in WebBrowser.h).
class TRequestGuard : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

public:
  struct TRequest {
    QUrl Url;
    QWebEngineUrlRequestInfo::ResourceType Type;
    QWebEngineUrlRequestInfo::NavigationType Navigation;
    QUrl Initiator;   // the requesting document; empty for the program and for opaque origins
    QUrl FirstParty;  // the top document; for a navigation of the top, the one it leaves
  };

  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  static bool IsNetworkScheme(const QString& scheme);
  static bool Allows(const TRequest& request, bool offline);

  bool Offline() const { return FOffline; }
  void SetOffline(bool offline) { FOffline = offline; }
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
  static bool AllowsLocalFile(const TRequest& request);
  static bool IsInSite(const QString& path, const QUrl& page);
  static bool FromProgram(const TRequest& request);
  static bool ServesAs(QWebEngineUrlRequestInfo::ResourceType type, const QString& mimeType);

  std::atomic<bool> FOffline{false};
};

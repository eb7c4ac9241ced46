#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

// Refuses every network request while the browser is offline; local pages still load.
class TOfflineInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  static bool IsNetworkScheme(const QString& scheme);

  bool Offline() const { return FOffline; }
  void SetOffline(bool offline) { FOffline = offline; }
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
  std::atomic<bool> FOffline{false};
};

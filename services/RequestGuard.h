#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

// Screens every request the browser makes: while offline, nothing goes to the network; and a
// previewed page's script never reads local files (pictures, style sheets and scripts the page
// names still load).
class TRequestGuard : public QWebEngineUrlRequestInterceptor {
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

#include "browser/WebBrowser.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "browser/LocalFileScheme.h"
#include "browser/NetworkGate.h"
#include "browser/PreviewPage.h"
#include "browser/RequestGuard.h"

namespace {

const QString OfflineScriptName = QStringLiteral("offline");

QWebEngineScript OfflineScript() {
  QWebEngineScript script;
  script.setName(OfflineScriptName);
  script.setSourceCode(QStringLiteral(
      "for (const name of ['RTCPeerConnection', 'webkitRTCPeerConnection']) delete window[name];"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace

void TWebBrowser::PrepareEngine() {
  TLocalFileScheme::Register();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The engine's sandbox cannot run as root; everyone else keeps it.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  // The engine counts every response of a custom scheme as the page's own, so a local picture
  // drawn on a canvas could be read back; reading any canvas is refused instead.
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  flags.append(" --disable-reading-from-canvas");
  // A peer connection is made in a frame before any script of ours can run there, so its UDP,
  // which no request guard sees, is switched off for the whole engine.
  flags.append(" --force-webrtc-ip-handling-policy=disable_non_proxied_udp");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWebEngineView(parent),
      FProfile(new QWebEngineProfile(this)),
      FScheme(new TLocalFileScheme(FProfile)),
      FGuard(new TRequestGuard(FProfile)) {
  FProfile->installUrlSchemeHandler(TLocalFileScheme::Name, FScheme);
  FProfile->setUrlRequestInterceptor(FGuard);
  QWebEngineSettings& settings = *FProfile->settings();
  settings.setDefaultTextEncoding(QStringLiteral("windows-1252"));
  settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings.setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  settings.setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  settings.setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);  // typing stays in the code
  setPage(new TPreviewPage(FProfile, this));
}

// The page must go before the profile it was made with.
TWebBrowser::~TWebBrowser() { delete page(); }

// The same page again is reloaded, which reads the file afresh and keeps the reader's place in
// it; another page starts at its top.
void TWebBrowser::Navigate(const QString& absolutePath) {
  const QUrl target = TLocalFileScheme::UrlForPath(absolutePath);
  if (target == url())
    reload();
  else
    load(target);
}

void TWebBrowser::Navigate(const QString& absolutePath, TTextEncoding encoding) {
  FScheme->SetPageEncoding(absolutePath, encoding);
  Navigate(absolutePath);
}

void TWebBrowser::GoBack() { back(); }

void TWebBrowser::GoForward() { forward(); }

bool TWebBrowser::Offline() const { return FGuard->Offline(); }

// Peer connections reach their servers without a request the guard could refuse: the network
// gate stops them beneath the engine, and documents made while offline are given none.
void TWebBrowser::SetOffline(bool offline) {
  const bool goingOffline = offline && !FGuard->Offline();
  FGuard->SetOffline(offline);
  SetNetworkClosed(offline);
  QWebEngineScriptCollection& scripts = *FProfile->scripts();
  for (const QWebEngineScript& script : scripts.find(OfflineScriptName)) scripts.remove(script);
  if (offline) scripts.insert(OfflineScript());
  if (goingOffline && TLocalFileScheme::Owns(url())) reload();
}

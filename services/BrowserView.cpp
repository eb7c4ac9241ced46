#include "BrowserView.h"

#include "LocalFileScheme.h"
#include "RequestGuard.h"

#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <unistd.h>

void TWebBrowser::PrepareEngine() {
  TLocalFileScheme::Register();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The engine's sandbox cannot run as root; everyone else keeps it.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWebEngineView(parent),
      FProfile(new QWebEngineProfile(this)),
      FScheme(new TLocalFileScheme(FProfile)),
      FGuard(new TRequestGuard(FProfile)) {
  FProfile->installUrlSchemeHandler(TLocalFileScheme::Name, FScheme);
  FProfile->setUrlRequestInterceptor(FGuard);
  FProfile->settings()->setDefaultTextEncoding(QStringLiteral("windows-1252"));
  FProfile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  setPage(new QWebEnginePage(FProfile, this));
}

// The page must go before the profile it was made with.
TWebBrowser::~TWebBrowser() { delete page(); }

void TWebBrowser::Navigate(const QString& absolutePath) {
  load(TLocalFileScheme::UrlForPath(absolutePath));
}

void TWebBrowser::GoBack() { back(); }

void TWebBrowser::GoForward() { forward(); }

bool TWebBrowser::Offline() const { return FGuard->Offline(); }

void TWebBrowser::SetOffline(bool offline) { FGuard->SetOffline(offline); }

#pragma once

#include <QString>
#include <QWebEngineView>

class QWebEngineProfile;
class TLocalFileScheme;
class TRequestGuard;

// The preview's browser: navigates to local files, walks its history, and can be kept off the
// network. It is the only code that drives the web engine.
class TWebBrowser : public QWebEngineView {
  Q_OBJECT

public:
  // Process-wide set-up that has to happen before the application object exists.
  static void PrepareEngine();

  explicit TWebBrowser(QWidget* parent = nullptr);
  ~TWebBrowser() override;

  void Navigate(const QString& absolutePath);  // returns at once; the page loads afterwards
  void GoBack();
  void GoForward();
  bool Offline() const;
  void SetOffline(bool offline);

private:
  QWebEngineProfile* FProfile;
  TLocalFileScheme* FScheme;
  TRequestGuard* FGuard;
};

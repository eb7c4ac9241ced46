#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// Serves local files to the browser under a scheme of its own, so that a ".vnx" page renders
// as HTML whatever its extension, relative references resolve against the page's folder, and
// every request reads the file afresh (a rewritten page shows its new content).
class TLocalFileScheme : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

public:
  static const QByteArray Name;

  // Must run before the application object exists.
  static void Register();
  static QUrl UrlForPath(const QString& absolutePath);
  static QString MimeTypeForPath(const QString& path);

  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override;
};

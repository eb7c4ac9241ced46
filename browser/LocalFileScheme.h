#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <optional>

#include "text/TextEncoding.h"

// Serves local files to the browser under a scheme of its own, so that a ".vnx" page renders
// as HTML whatever its extension, relative references resolve against the page's folder, and
// every request reads the file afresh (a rewritten page shows its new content). Only regular
// files within the size limit are served: a page naming a FIFO or a device cannot freeze the
// program. What a page may ask of it is the request guard's business.
class TLocalFileScheme : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

public:
  static const QByteArray Name;

  // Must run before the application object exists.
  static void Register();
  static bool Owns(const QUrl& url);
  static QUrl UrlForPath(const QString& absolutePath);

  // The regular file a URL of the scheme leads to, links followed, and its type, taken from the
  // file itself: its own name and content, never the name asked for. A ".vnx" file is a page.
  struct TLocalFile {
    QString Path;
    QString MimeType;
  };
  static std::optional<TLocalFile> Find(const QUrl& url);

  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  // The page at a path is served as text in an encoding, the one of the document it was written
  // from; any other ".vnx" page in the encoding its own bytes call for.
  void SetPageEncoding(const QString& absolutePath, TTextEncoding encoding);
  void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
  QByteArray ContentType(const TLocalFile& file, const QByteArray& bytes) const;

  QString FPagePath;
  TTextEncoding FPageEncoding = TTextEncoding::Utf8;
};

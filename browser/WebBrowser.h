#pragma once

#include <QString>
#include <QWebEngineView>

#include "text/TextEncoding.h"

class QWebEngineProfile;
class TLocalFileScheme;
class TRequestGuard;

// The preview's browser: navigates to local files, walks its history, and can be kept off the
// network. It is the only code that drives the web engine.
//
// A previewed page is untrusted: it may come from anywhere. What it may do:
// - It shows as a web page, with the files of its site: the folder that holds it and, unless
//   that is the root or the home folder, its parent folder's tree, hidden files and folders
//   (".env", ".git") excepted, all after following links. Each is served only for the use that
//   suits its own type, taken from the file's real name and content, never from the name asked
//   for: pictures, style sheets, scripts, fonts and media as such, and in a frame, an object or
//   the preview itself only HTML pages and pictures. Text files, text tracks, JSON and unknown
//   types are never served to a page, and a link to what may not be shown, a download link
//   among them, leads nowhere. Local files are served through our own scheme only; no page can
//   load a file: URL.
// - Its script reads no local file: every document has an opaque origin of its own, so no page
//   reads a frame or another document; fetch, XHR, workers and every other data request for a
//   local file are refused; no canvas can be read back, so a local picture's pixels stay unread.
//   Of a local style sheet or script it uses, a page learns what using it shows: the styles,
//   the globals and, unlike on the web, the style sheet's rules.
// - A remote page never reaches a local file, by link, frame or resource.
// - Online, remote resources of every kind load as in a browser. Offline, every request for the
//   network is refused before a connection is made, and a local page is reloaded, so that the
//   connections it opened while online close. Beneath the engine, the network gate is closed
//   (see NetworkGate.h): no socket of the program connects or sends to an internet address and
//   no name is looked up, so peer connections (WebRTC), which reach their servers without a
//   request, are stopped too, in every frame, however early a script reaches them. Documents
//   made while offline also have no peer-connection constructor, and the engine never sends a
//   peer connection's UDP, online or offline.
// - Its script dialogs (alert, confirm, prompt) never hold the program (see TPreviewPage).
class TWebBrowser : public QWebEngineView {
  Q_OBJECT

public:
  // Process-wide set-up that has to happen before the application object exists.
  static void PrepareEngine();

  explicit TWebBrowser(QWidget* parent = nullptr);
  ~TWebBrowser() override;

  void Navigate(const QString& absolutePath);  // returns at once; the page loads afterwards
  // A page written from a document: its text is in the document's encoding.
  void Navigate(const QString& absolutePath, TTextEncoding encoding);
  void GoBack();
  void GoForward();
  bool Offline() const;
  void SetOffline(bool offline);

private:
  QWebEngineProfile* FProfile;
  TLocalFileScheme* FScheme;
  TRequestGuard* FGuard;
};

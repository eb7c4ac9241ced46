#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QWebEnginePage>

// The preview's page. Its script dialogs never hold the program: an alert, a confirm or a prompt
// is answered at once (a confirm and a prompt as cancelled, as a browser answers a page it keeps
// from showing dialogs) and its text is shown in a box that blocks nothing, one box at a time,
// which offers to keep the page from showing more. A page leaving is never held by its
// beforeunload handler. A link of the page to a local file it may not show, a download link
// among them, leads nowhere rather than to an error page.
class TPreviewPage : public QWebEnginePage {
  Q_OBJECT

public:
  TPreviewPage(QWebEngineProfile* profile, QObject* parent);
  ~TPreviewPage() override;

  // The box showing a dialog's text, while one is up.
  QMessageBox* DialogBox() const { return FBox; }

protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message, const QString& defaultValue,
                        QString* result) override;

private:
  void Tell(const QString& text);

  QPointer<QMessageBox> FBox;
  QSet<QUrl> FSilenced;  // pages the user kept from showing more dialogs, for this run
};

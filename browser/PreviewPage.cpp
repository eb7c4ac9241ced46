#include "browser/PreviewPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMessageBox>
#include <QWebEngineView>

#include "browser/LocalFileScheme.h"
#include "browser/RequestGuard.h"
#include "services/Application.h"

namespace {

// What the engine asks when a page's beforeunload handler wants the user to stay.
QString LeaveQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

// A confirm's or a prompt's text, with the answer the page was given.
QString Asked(const QString& message) {
  return QStringLiteral("The page asks:\n\n") + message + QStringLiteral("\n\nIt was answered Cancel.");
}

}  // namespace

TPreviewPage::TPreviewPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

TPreviewPage::~TPreviewPage() { delete FBox; }

bool TPreviewPage::acceptNavigationRequest(const QUrl& target, NavigationType type, bool isMainFrame) {
  const bool byProgram =
      type == NavigationTypeTyped || type == NavigationTypeReload || type == NavigationTypeBackForward;
  if (!isMainFrame || byProgram || !TLocalFileScheme::Owns(target)) return true;
  return TRequestGuard::Allows({target, QWebEngineUrlRequestInfo::ResourceTypeMainFrame,
                                QWebEngineUrlRequestInfo::NavigationTypeLink, url(), url()},
                               false);
}

void TPreviewPage::javaScriptAlert(const QUrl&, const QString& message) {
  Tell(QStringLiteral("The page says:\n\n") + message);
}

bool TPreviewPage::javaScriptConfirm(const QUrl&, const QString& message) {
  if (message == LeaveQuestion()) return true;
  Tell(Asked(message));
  return false;
}

bool TPreviewPage::javaScriptPrompt(const QUrl&, const QString& message, const QString&, QString*) {
  Tell(Asked(message));
  return false;
}

// A box already up takes no other: a page that shows dialogs in a loop is shown its first.
void TPreviewPage::Tell(const QString& text) {
  const QUrl page = url();
  if (FBox != nullptr || FSilenced.contains(page)) return;
  QWebEngineView* view = QWebEngineView::forPage(this);
  FBox = new QMessageBox(QMessageBox::Information, TApplication::Title(), text, QMessageBox::Ok,
                         view != nullptr ? view->window() : nullptr);
  FBox->setTextFormat(Qt::PlainText);
  FBox->setWindowModality(Qt::NonModal);
  FBox->setAttribute(Qt::WA_DeleteOnClose);
  auto* silence = new QCheckBox(QStringLiteral("Don't let this page show more messages"), FBox);
  FBox->setCheckBox(silence);
  connect(FBox, &QMessageBox::finished, this, [this, silence, page] {
    if (silence->isChecked()) FSilenced.insert(page);
  });
  FBox->show();
}

#include "commands/EditActions.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include "commands/TextField.h"
#include "services/ErrorBox.h"

namespace {

bool HasSelection(QWidget* field) {
  return OnTextField<QPlainTextEdit>(
      field, [](QPlainTextEdit* pane) { return pane->textCursor().hasSelection(); },
      [](QLineEdit* line) { return line->hasSelectedText(); });
}

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

void CopyFrom(QWidget* field) {
  OnTextField<QPlainTextEdit>(
      field, [](QPlainTextEdit* pane) { pane->copy(); }, [](QLineEdit* line) { line->copy(); });
}

void CutFrom(QWidget* field) {
  OnTextField<QPlainTextEdit>(
      field, [](QPlainTextEdit* pane) { pane->cut(); }, [](QLineEdit* line) { line->cut(); });
}

void PasteInto(QWidget* field) {
  OnTextField<QPlainTextEdit>(
      field, [](QPlainTextEdit* pane) { pane->paste(); }, [](QLineEdit* line) { line->paste(); });
}

}  // namespace

TEditActions::TEditActions(QAction* copy, QAction* cut, QAction* paste, QObject* parent)
    : QObject(parent), FCopy(copy), FCut(cut), FPaste(paste), FClipboardHasText(ClipboardHasText()) {
  const auto renew = [this] { FClipboardHasText = ClipboardHasText(); };
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, renew);
  // Some desktops tell of another program's change only once this one is active again.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [renew](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) renew();
  });
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TEditActions::Update);
  connect(FCopy, &QAction::triggered, this, [this] { Run(FCopy, CopyFrom); });
  connect(FCut, &QAction::triggered, this, [this] { Run(FCut, CutFrom); });
  connect(FPaste, &QAction::triggered, this, [this] { Run(FPaste, PasteInto); });
}

QWidget* TEditActions::FocusedTextField() { return AsTextField<QPlainTextEdit>(QApplication::focusWidget()); }

// Without a focused text field the actions keep the states they last had.
void TEditActions::Update() {
  QWidget* field = FocusedTextField();
  if (!field) return;
  const bool selection = HasSelection(field);
  FCopy->setEnabled(selection);
  FCut->setEnabled(selection);
  FPaste->setEnabled(FClipboardHasText);
}

void TEditActions::Run(QAction* action, void (*operation)(QWidget*)) {
  RunGuarded([&] {
    Update();
    QWidget* field = FocusedTextField();
    if (field && action->isEnabled()) operation(field);
  });
}

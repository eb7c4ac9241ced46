#include "commands/FindAction.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "commands/FindDialog.h"
#include "commands/TextField.h"
#include "pane/EncodedText.h"
#include "pane/RichEditPane.h"
#include "services/Application.h"
#include "services/ErrorBox.h"
#include "services/WindowBounds.h"
#include "text/TextSearch.h"

namespace {

// A text field's 8-bit text and selection, positions as the field counts them.
struct TFieldText {
  std::string Text;
  int SelStart;
  int SelLength;
  TTextEncoding Encoding;
};

TFieldText FieldText(QWidget* field) {
  return OnTextField<TRichEditPane>(
      field,
      [](TRichEditPane* pane) {
        return TFieldText{pane->Text(), pane->SelStart(), pane->SelLength(), pane->Encoding()};
      },
      [](QLineEdit* line) {
        const bool selected = line->hasSelectedText();
        return TFieldText{TEncodedText::Encode(line->text(), TTextEncoding::Windows1252),
                          selected ? line->selectionStart() : line->cursorPosition(),
                          selected ? int(line->selectedText().size()) : 0, TTextEncoding::Windows1252};
      });
}

// Asked each time the program goes idle, so it must not read the text: a page of many
// megabytes would keep a core busy encoding it.
bool HoldsText(QWidget* field) {
  return OnTextField<TRichEditPane>(
      field, [](TRichEditPane* pane) { return !pane->document()->isEmpty(); },
      [](QLineEdit* line) { return !line->text().isEmpty(); });
}

// The selection start first, then its length, as the dialog sets them.
void Select(QWidget* field, int start, int length) {
  OnTextField<TRichEditPane>(
      field,
      [=](TRichEditPane* pane) {
        pane->SetSelStart(start);
        pane->SetSelLength(length);
      },
      [=](QLineEdit* line) {
        line->setCursorPosition(start);
        line->setSelection(start, length);
      });
}

bool IsMenu(const QWidget* widget) {
  return qobject_cast<const QMenuBar*>(widget) != nullptr || qobject_cast<const QMenu*>(widget) != nullptr;
}

void ShowNotFound(const QString& findText) {
  QMessageBox box(QMessageBox::NoIcon, TApplication::Title(),
                  QStringLiteral("Text not found: \"%1\"").arg(findText), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  FitCaption(box);
  CentreOnScreenWhenShown(box);
  box.exec();
}

}  // namespace

TFindAction::TFindAction(QAction* action, QWidget* window)
    : QObject(window), FAction(action), FDialog(new TFindDialog(window)) {
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TFindAction::Update);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && !IsMenu(now)) FOwnFocus = now;
  });
  ConnectGuarded(FAction, &QAction::triggered, this, &TFindAction::Execute);
  ConnectGuarded(FDialog, &TFindDialog::FindNext, this, &TFindAction::SearchStep);
}

// The focused control of the active window, when it is a text field of the main window. A menu
// worked from the keyboard takes the focus for its while; the control it took it from is still
// the window's own.
QWidget* TFindAction::FocusedTextField() const {
  QWidget* focused = QApplication::focusWidget();
  if (focused != nullptr && IsMenu(focused)) focused = FOwnFocus;
  if (focused == nullptr || focused->window() != TApplication::MainForm()) return nullptr;
  return AsTextField<TRichEditPane>(focused);
}

void TFindAction::Update() {
  QWidget* field = FocusedTextField();
  FAction->setEnabled(field != nullptr && HoldsText(field));
}

void TFindAction::Execute() {
  Update();
  if (!FAction->isEnabled()) return;
  FTarget = FocusedTextField();
  if (FDialog->isVisible()) {
    FDialog->raise();
    FDialog->activateWindow();
    return;
  }
  FDialog->Open();
}

void TFindAction::SearchStep() {
  QWidget* target = FTarget;
  if (target == nullptr) return;
  const TFieldText field = FieldText(target);
  const std::string findText = TEncodedText::Encode(FDialog->FindText(), field.Encoding);
  TSearchOptions options = FDialog->Options();
  options.Encoding = field.Encoding;
  const std::optional<TSearchMatch> match =
      SearchMatch(field.Text, std::size_t(field.SelStart), std::size_t(field.SelLength), findText, options);
  if (match)
    Select(target, int(match->Start), int(match->Length));
  else
    ShowNotFound(FDialog->FindText());
  FTarget = nullptr;
}

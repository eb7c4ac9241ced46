// The highlighting pass that runs on every change of the pane, and the caret tracking.
#include "IntegerText.h"
#include "RichEditPane.h"
#include "Timer.h"
#include "Unit1.h"
#include "hltHTML.h"
#include "hltIncremental.h"
#include "ui_Unit1.h"

namespace {

// However a pass ends, later loads and saves of the document read and write plain text, and
// nothing of the pass survives it.
class TPassCleanup {
public:
  TPassCleanup(TRichEditPane& pane, std::unique_ptr<ThltHTMLRTF>& highlighter)
      : FPane(pane), FHighlighter(highlighter) {}
  ~TPassCleanup() {
    FPane.SetPlainTextMode(true);
    FHighlighter.reset();
  }
  TPassCleanup(const TPassCleanup&) = delete;
  TPassCleanup& operator=(const TPassCleanup&) = delete;

private:
  TRichEditPane& FPane;
  std::unique_ptr<ThltHTMLRTF>& FHighlighter;
};

}  // namespace

void TForm1::Edit1Change() {
  TRichEditPane& pane = *ui->Edit1;
  ui->Edit2->setText(QString::number(pane.CaretLine()));
  ui->lblsaved->setText(QStringLiteral("1"));
  FTimer1->SetEnabled(false);
  const int selStart = pane.SelStart();
  TPassCleanup cleanup(pane, FHighlighter);
  {
    ThltMemoryStream stream;
    const std::string_view rtf = HighlightedDocument(pane.Text(), stream);
    pane.SetPlainTextMode(false);
    pane.LoadFromStream(rtf);
    pane.SetPlainTextMode(true);
    pane.SetSelStart(selStart);
    pane.ScrollCaret();
    pane.SetFocusPane();
  }
  FHighlighter.reset();
  // The caret may stand where it stood while the lines around it changed (a Delete joining two
  // lines), so no selection change tells the status bar.
  ShowCaretLine();
  FTimer1->SetEnabled(true);
}

// The document of the pane's text: from the document kept since the last pass, or written
// whole by a fresh highlighter into stream.
std::string_view TForm1::HighlightedDocument(std::string text, ThltMemoryStream& stream) {
  if (FIncrementalHighlighting) {
    if (!FHighlightedText) FHighlightedText = std::make_unique<ThltHighlightedText>();
    return FHighlightedText->Update(std::move(text));
  }
  FHighlighter = std::make_unique<ThltHTMLRTF>();
  FHighlighter->SetSource(text);
  FHighlighter->WriteRTF(stream);
  stream.SetPosition(0);
  return stream.Bytes().substr(stream.Position());
}

void TForm1::ShowCaretLine() {
  TRichEditPane& pane = *ui->Edit1;
  ui->Edit2->setText(QString::number(pane.CaretLine()));
  SetStatusPanelText(1, QStringLiteral("Line: %1 of %2").arg(ui->Edit2->text()).arg(pane.LineCount()));
}

void TForm1::Edit1SelectionChange() {
  TRichEditPane& pane = *ui->Edit1;
  ShowCaretLine();
  pane.ScrollCaret();
  pane.SetFocusPane();
}

void TForm1::Button1Click() {
  TRichEditPane& pane = *ui->Edit1;
  const int line = StrToInt(ui->Edit2->text());
  pane.SetSelStart(pane.LineIndex(line));
  pane.ScrollCaret();
  pane.SetFocusPane();
}

void TForm1::CheckBox2Click() {
  ui->Edit1->SetWordWrap(ui->CheckBox2->isChecked());
  FTimer1->SetEnabled(false);
}

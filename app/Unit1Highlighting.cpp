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

// The pane's text, read where the kept document needs it.
class TPaneSource final : public ThltTextSource {
public:
  explicit TPaneSource(const TRichEditPane& pane) : FPane(pane) {}
  std::size_t Size() const override { return FPane.TextSize(); }
  void Read(std::size_t from, std::size_t count, std::string& out) const override {
    FPane.ReadText(from, count, out);
  }

private:
  const TRichEditPane& FPane;
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
    pane.SetPlainTextMode(false);
    Recolour(pane);
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

// The pane's colours from the document kept since the last pass: only the part the change
// reached is handed over. Should the pane not take that part, it takes the whole document.
void TForm1::Recolour(TRichEditPane& pane) {
  if (!FIncrementalHighlighting) {
    LoadWholeDocument(pane);
    return;
  }
  const auto [first, last] = PiecesToRecolour(pane, UpdateHighlightedText(pane));
  const TPaneSource text(pane);
  std::string rtf;
  FHighlightedText->WriteRTF(text, rtf, first, last);
  if (!pane.RecolourFromStream(rtf, FHighlightedText->PieceTextStart(first)))
    pane.LoadFromStream(FHighlightedText->GetRTF(text));
}

ThltIncrementalRTF::TChange TForm1::UpdateHighlightedText(TRichEditPane& pane) {
  const TPaneText::TEdit edit = pane.TakeEdit();
  const TPaneSource text(pane);
  if (FHighlightedText && !edit.Whole)
    return FHighlightedText->Edit(text, edit.Start, edit.Removed, edit.Added);
  FHighlightedText = std::make_unique<ThltIncrementalRTF>();
  return FHighlightedText->Reset(text);
}

// The pieces covering what the change re-scanned, grown until every line the pane cannot
// recolour in part is whole in them.
std::pair<std::size_t, std::size_t> TForm1::PiecesToRecolour(
    const TRichEditPane& pane, const ThltIncrementalRTF::TChange& change) const {
  const ThltIncrementalRTF& document = *FHighlightedText;
  std::size_t start = change.TextStart;
  std::size_t end = change.TextEnd;
  for (;;) {
    const auto [wantedStart, wantedEnd] = pane.RecolourRange(start, end);
    const auto pieces = document.PiecesCovering(wantedStart, wantedEnd);
    const std::size_t coveredStart = document.PieceTextStart(pieces.first);
    const std::size_t coveredEnd = document.PieceTextEnd(pieces.second - 1);
    if (coveredStart == start && coveredEnd == end) return pieces;
    start = coveredStart;
    end = coveredEnd;
  }
}

// The whole document, written by a fresh highlighter.
void TForm1::LoadWholeDocument(TRichEditPane& pane) {
  ThltMemoryStream stream;
  FHighlighter = std::make_unique<ThltHTMLRTF>();
  const std::string text = pane.Text();
  FHighlighter->SetSource(text);
  FHighlighter->WriteRTF(stream);
  stream.SetPosition(0);
  pane.LoadFromStream(stream.Bytes().substr(stream.Position()));
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

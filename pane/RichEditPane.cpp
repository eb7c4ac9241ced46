#include "pane/RichEditPane.h"

#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "pane/EncodedText.h"
#include "pane/PanePositions.h"
#include "services/RegularFile.h"
#include "services/VornError.h"
#include "text/CodePage.h"
#include "text/RtfWriter.h"

namespace {

bool HoldsNul(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

QFont::StyleHint StyleHintOf(TRtfFamily family) {
  switch (family) {
    case TRtfFamily::Roman: return QFont::Serif;
    case TRtfFamily::Swiss: return QFont::SansSerif;
    case TRtfFamily::Modern: return QFont::Monospace;
    case TRtfFamily::Script: return QFont::Cursive;
    case TRtfFamily::Decor: return QFont::Decorative;
    default: return QFont::AnyStyle;
  }
}

// The pane's font is the document's first font and size; attributes and colours stay per run.
TColourRuns::TStyle BaseStyleOf(const TRtfDocument& rtf) {
  const TColourRuns::TStyle first = TColourRuns::StyleOf(rtf, rtf.BaseFormat);
  TColourRuns::TStyle base;
  base.Format.HalfPoints = first.Format.HalfPoints;
  base.Font = first.Font;
  return base;
}

}  // namespace

TRichEditPane::TRichEditPane(QWidget* parent)
    : QPlainTextEdit(parent),
      FPositions(*document()),
      FLayouts(*document()),
      FColours(*document(), FPositions, FLayouts),
      FText(*document(), FPositions) {
  connect(document(), &QTextDocument::contentsChange, this, &TRichEditPane::OnContentsChange);
  connect(document(), &QTextDocument::contentsChanged, this, &TRichEditPane::OnContentsChanged);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TRichEditPane::ReportSelection);
  connect(this, &QPlainTextEdit::selectionChanged, this, &TRichEditPane::ReportSelection);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TRichEditPane::ShowVisibleColours);
  // The pane moves its vertical scroll bar with the bar's signals blocked, and reports the
  // scroll as an update that moved the view.
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
    if (dy != 0) ShowVisibleColours();
  });
}

TRichEditPane::~TRichEditPane() = default;

std::string TRichEditPane::Text() const { return FText.Bytes(); }
std::size_t TRichEditPane::TextSize() const { return FText.Size(); }
void TRichEditPane::ReadText(std::size_t from, std::size_t count, std::string& out) const {
  FText.Read(from, count, out);
}
TPaneText::TEdit TRichEditPane::TakeEdit() { return FText.TakeEdit(); }

void TRichEditPane::Clear() {
  {
    const QScopedValueRollback quiet(FQuiet, true);
    ReplaceText(QString());
  }
  FinishContentChange();
}

void TRichEditPane::AddLine(std::string_view line) {
  if (HoldsNul(line)) throw EVornError("RichEdit line insertion error");
  const QString text = TEncodedText::Decode(line, Encoding());
  {
    const QScopedValueRollback quiet(FQuiet, true);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const bool atLineStart = document()->lastBlock().length() == 1;
    cursor.insertText(atLineStart ? text + u'\n' : u'\n' + text);
  }
  FinishContentChange();
}

bool TRichEditPane::PlainTextMode() const { return FPlainTextMode; }
void TRichEditPane::SetPlainTextMode(bool on) { FPlainTextMode = on; }

void TRichEditPane::LoadFromStream(std::string_view bytes) {
  if (!Load(bytes)) throw EVornError("Failed to Load Stream");
}

// A file holding a NUL would lose everything after it, so it is refused before anything changes.
// RTF is read as Windows-1252, the code page it declares; plain text in the encoding its bytes
// call for, a byte-order mark kept aside to be written back.
void TRichEditPane::LoadFromFile(const QString& path) {
  const std::optional<QByteArray> bytes = TRegularFile::Read(path);
  if (!bytes) throw EVornError("Cannot open file " + path);
  const std::string_view view(bytes->constData(), std::size_t(bytes->size()));
  if (HoldsNul(view)) throw EVornError("Cannot open file " + path);
  if (!FPlainTextMode) {
    SetEncoding({TTextEncoding::Windows1252, false});
    if (LoadRtf(view)) return;
  }
  const TEncodingDecision decision = DecideEncoding(view);
  SetEncoding(decision);
  LoadPlainText(view.substr(decision.ByteOrderMark ? ByteOrderMark.size() : 0));
}

void TRichEditPane::SaveToFile(const QString& path) const {
  if (!FPlainTextMode) {
    TRegularFile::Write(path, TRtfWriter::Write(FColours.Document(Text())));
    return;
  }
  TRegularFile::Write(path, (FByteOrderMark ? std::string(ByteOrderMark) : std::string()) + Text());
}

void TRichEditPane::SetEncoding(const TEncodingDecision& decision) {
  FByteOrderMark = decision.Encoding == TTextEncoding::Utf8 && decision.ByteOrderMark;
  if (decision.Encoding == Encoding()) return;
  FPositions.SetEncoding(decision.Encoding);
  FText.Invalidate();
}

bool TRichEditPane::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

// Qt's own insertion reads the first format of the data without asking whether there is one,
// so data without text never reaches it; formatting would not outlive the next highlighting
// pass anyway.
void TRichEditPane::insertFromMimeData(const QMimeData* source) {
  if (!canInsertFromMimeData(source)) return;
  QMimeData text;
  text.setText(source->text());
  QPlainTextEdit::insertFromMimeData(&text);
}

// RTF while plain-text mode is off, and plain text when that is on or the bytes are not RTF.
bool TRichEditPane::Load(std::string_view bytes) {
  return (!FPlainTextMode && LoadRtf(bytes)) || LoadPlainText(bytes);
}

bool TRichEditPane::LoadRtf(std::string_view bytes) {
  TRtfDocument& rtf = FRead;
  if (!TRtfReader(bytes).Read(rtf)) return false;
  const bool sameText = rtf.Text.size() == FText.Size() && FText.Holds(0, rtf.Text);
  {
    const QScopedValueRollback quiet(FQuiet, true);
    if (!sameText) ReplaceText(TEncodedText::Decode(rtf.Text, Encoding()));
    const TColourRuns::TStyle base = BaseStyleOf(rtf);
    if (!sameText || !(base == FColours.Base())) {
      ApplyFont(base);
      FColours.Reset(base);
    }
    TellVisible();
    FColours.Apply(rtf);
  }
  if (!sameText) FinishContentChange();
  return true;
}

std::pair<std::size_t, std::size_t> TRichEditPane::RecolourRange(std::size_t start, std::size_t end) const {
  const QTextDocument& text = *document();
  const int first = FPositions.ToDocument(int(start));
  const int last = FPositions.ToDocument(int(end));
  if (!FColours.KnowsFormats(first)) start = std::size_t(FPositions.ToPane(text.findBlock(first).position()));
  if (!FColours.KnowsFormats(last)) {
    const QTextBlock block = text.findBlock(last);
    end = std::max(end, std::size_t(FPositions.ToPane(block.position() + block.length() - 1)));
  }
  return {start, end};
}

// The document's text must stand in the pane where it says; a document of the whole text may
// bring another font, as a full load would.
bool TRichEditPane::RecolourFromStream(std::string_view bytes, std::size_t textStart) {
  if (FPlainTextMode) return false;
  TRtfDocument& rtf = FRead;
  if (!TRtfReader(bytes).Read(rtf)) return false;
  if (!FText.Holds(textStart, rtf.Text)) return false;
  const TColourRuns::TStyle base = BaseStyleOf(rtf);
  const bool newBase = !(base == FColours.Base());
  if (newBase && !(textStart == 0 && CoversTheRest(rtf.Text.size()))) return false;
  const QScopedValueRollback quiet(FQuiet, true);
  if (newBase) {
    ApplyFont(base);
    FColours.Reset(base);
  }
  TellVisible();
  return FColours.ApplyRange(rtf, textStart);
}

// Whether length bytes from the start reach the end of the text, or its last line break: a
// document read from RTF has no line break after its last paragraph mark.
bool TRichEditPane::CoversTheRest(std::size_t length) const {
  const std::size_t size = FText.Size();
  return length == size || (length + 2 == size && FText.Holds(length, "\r\n"));
}

// The lines in view, from the start of the first to the end of the last, and the part in view
// of each long line among them: only a long line takes its formats by that part, and looking a
// point up lays its line out anew, wasted work at every key on short lines.
void TRichEditPane::TellVisible() {
  const QRect view = viewport()->rect();
  std::vector<std::pair<int, int>> longLineParts;
  const QTextBlock first = firstVisibleBlock();
  QTextBlock block = first;
  QTextBlock last = first;
  for (qreal top = contentOffset().y(); block.isValid() && top <= view.bottom(); block = block.next()) {
    const qreal bottom = top + blockBoundingRect(block).height();
    if (block.length() - 1 > TNearViewLayouts::LongLine)
      longLineParts.push_back(PartInView(block, top, bottom));
    last = block;
    top = bottom;
  }
  FLayouts.SetVisible(first.position(), last.position() + last.length() - 1, std::move(longLineParts));
}

// From the left end of the line's first row in view to the right end of its last; points are
// taken in the middle of those rows, as one above or below the text would be taken for its start
// or end.
std::pair<int, int> TRichEditPane::PartInView(const QTextBlock& block, qreal top, qreal bottom) const {
  const QRect view = viewport()->rect();
  const int half = fontMetrics().height() / 2;
  const int firstRow = std::clamp(int(top) + half, view.top(), view.bottom());
  const int lastRow = std::clamp(int(bottom) - half, view.top(), view.bottom());
  const int end = block.position() + block.length() - 1;
  const int from =
      std::clamp(cursorForPosition(QPoint(view.left(), firstRow)).position(), block.position(), end);
  const int to = std::clamp(cursorForPosition(QPoint(view.right(), lastRow)).position(), from, end);
  // A line so long that its layout cannot measure it hits its end wherever the point lies; no
  // view shows more characters than it has pixels across for each of its lines.
  const int most = std::max(view.width(), 1) * (view.height() / std::max(fontMetrics().height(), 1) + 1);
  return {from, std::min(to, from + most)};
}

void TRichEditPane::ShowVisibleColours() {
  const QScopedValueRollback quiet(FQuiet, true);
  TellVisible();
  FLayouts.ShowVisible();
}

void TRichEditPane::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  ShowVisibleColours();
}

void TRichEditPane::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  HoldBlinkInLongLine(textCursor().block());
}

void TRichEditPane::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  HoldBlinkInLongLine(textCursor().block());
}

bool TRichEditPane::LoadPlainText(std::string_view bytes) {
  if (HoldsNul(bytes)) return false;
  {
    const QScopedValueRollback quiet(FQuiet, true);
    ReplaceText(TEncodedText::Decode(bytes, Encoding()));
    FColours.Reset(FColours.Base());
  }
  FinishContentChange();
  return true;
}

// A whole new text is encoded afresh when next asked for, not once per change on the way.
void TRichEditPane::ReplaceText(const QString& text) {
  FText.Invalidate();
  setPlainText(text);
  FText.Invalidate();
}

void TRichEditPane::ApplyFont(const TColourRuns::TStyle& base) {
  QFont pane = font();
  if (!base.Font.Name.empty()) {
    pane.setFamilies({QString::fromLatin1(base.Font.Name.c_str())});
    pane.setStyleHint(StyleHintOf(base.Font.Family));
  }
  pane.setPointSizeF(base.Format.HalfPoints / 2.0);
  if (pane != font()) setFont(pane);
}

int TRichEditPane::LineCount() const {
  const QTextDocument& text = *document();
  int count = text.blockCount();
  if (Wrapping()) {
    EnsureLaidOut();
    count = text.lineCount();
  }
  return text.lastBlock().length() == 1 ? count - 1 : count;
}

int TRichEditPane::SelStart() const { return FPositions.ToPane(textCursor().selectionStart()); }

// A caret already there with nothing selected is left alone: setting it again lays its line out
// anew for nothing.
void TRichEditPane::SetSelStart(int position) {
  QTextCursor cursor = textCursor();
  const int end = FPositions.PaneLength();
  const int target = FPositions.ToDocument(position < 0 ? end : position);
  if (cursor.position() == target && cursor.anchor() == target) return;
  cursor.setPosition(target);
  setTextCursor(cursor);
}

int TRichEditPane::SelLength() const {
  const QTextCursor cursor = textCursor();
  return FPositions.ToPane(cursor.selectionEnd()) - FPositions.ToPane(cursor.selectionStart());
}

void TRichEditPane::SetSelLength(int length) {
  const int start = SelStart();
  QTextCursor cursor = textCursor();
  cursor.setPosition(FPositions.ToDocument(start));
  cursor.setPosition(FPositions.ToDocument(std::max(start + length, 0)), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  ensureCursorVisible();
}

int TRichEditPane::CaretLine() const { return DisplayedLine(textCursor().selectionEnd()); }

int TRichEditPane::LineIndex(int line) const {
  if (line == -1) line = CaretLine();
  if (line < 0) return -1;
  const QTextDocument& text = *document();
  if (!Wrapping()) {
    const QTextBlock block = text.findBlockByNumber(line);
    return block.isValid() ? FPositions.ToPane(block.position()) : -1;
  }
  EnsureLaidOut();
  const QTextBlock block = text.findBlockByLineNumber(line);
  if (!block.isValid()) return -1;
  const QTextLine displayed = block.layout()->lineAt(line - block.firstLineNumber());
  return FPositions.ToPane(block.position() + (displayed.isValid() ? displayed.textStart() : 0));
}

void TRichEditPane::ScrollCaret() { ensureCursorVisible(); }

bool TRichEditPane::WordWrap() const { return Wrapping(); }

// The change event stands for the reload a pane re-created with the other wrapping would make.
void TRichEditPane::SetWordWrap(bool on) {
  if (on == WordWrap()) return;
  {
    const QScopedValueRollback quiet(FQuiet, true);
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  }
  RaiseChange();
}

// Asking the window system to activate a window that is active already costs a round trip.
void TRichEditPane::SetFocusPane() {
  setFocus();
  if (!isActiveWindow()) activateWindow();
}

bool TRichEditPane::Wrapping() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }

// Wrapped lines are known only for laid-out blocks; the plain-text layout leaves the rest
// until they are shown, so they are laid out here before lines are counted.
void TRichEditPane::EnsureLaidOut() const {
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
  if (layout == nullptr) return;
  for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
    layout->ensureBlockLayout(block);
}

int TRichEditPane::DisplayedLine(int documentPosition) const {
  const QTextBlock block = document()->findBlock(documentPosition);
  if (!Wrapping()) return block.blockNumber();
  EnsureLaidOut();
  const QTextLine line = block.layout()->lineForTextPosition(documentPosition - block.position());
  return block.firstLineNumber() + (line.isValid() ? line.lineNumber() : 0);
}

void TRichEditPane::FinishContentChange() {
  RaiseChange();
  ReportSelection();
}

// The handler may change the content itself (the highlighting pass reloads it); those changes
// raise no second event.
void TRichEditPane::RaiseChange() {
  if (FInChange) return;
  const QScopedValueRollback inChange(FInChange, true);
  emit Change();
}

void TRichEditPane::ReportSelection() {
  if (FQuiet) return;
  const QTextCursor cursor = textCursor();
  HoldBlinkInLongLine(cursor.block());
  if (cursor.anchor() == FReportedAnchor && cursor.position() == FReportedPosition) return;
  FReportedAnchor = cursor.anchor();
  FReportedPosition = cursor.position();
  emit SelectionChange();
}

// A line the layout draws whole is drawn at every blink; the caret stands still in it.
void TRichEditPane::HoldBlinkInLongLine(const QTextBlock& caretLine) {
  FSteadyCaret.Set(hasFocus() && caretLine.length() > TNearViewLayouts::LongLine);
}

// Laying formats over blocks marks them changed, but their text is as it was.
void TRichEditPane::OnContentsChange(int from, int removed, int added) {
  if (FLayouts.Applying()) return;
  const TPaneEdit edit{from, removed, added};
  FPositions.Changed(edit);
  FColours.Moved(edit);
  FText.Changed(edit);
  if (!FQuiet) FInput.Add(edit);
}

// Runs once the user's edit is complete, so the replacements join its undo step.
void TRichEditPane::OnContentsChanged() {
  if (FQuiet || FInput.Empty()) return;
  const int from = FInput.From();
  const int to = std::min(FInput.To(), document()->characterCount() - 1);
  FInput.Clear();
  {
    const QScopedValueRollback quiet(FQuiet, true);
    ReplaceUnheldInput(from, to);
  }
  FinishContentChange();
}

// Characters the encoding cannot hold become references; a line separator (Shift+Enter)
// becomes an ordinary line break.
void TRichEditPane::ReplaceUnheldInput(int from, int to) {
  struct TReplacement {
    int Position;
    int Length;
    QString Text;
  };
  std::vector<TReplacement> replacements;
  for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    const QString text = block.text();
    const int start = block.position();
    for (qsizetype i = std::max(from - start, 0); i < text.size() && start + i < to; ++i) {
      const qsizetype first = i;
      const char32_t character = TEncodedText::CodePointAt(text, i);
      if (character != QChar::LineSeparator && TEncodedText::Holds(character, Encoding())) continue;
      replacements.push_back(
          {start + int(first), int(i - first + 1),
           character == QChar::LineSeparator ? QStringLiteral("\n") : TEncodedText::Reference(character)});
    }
  }
  if (replacements.empty()) return;
  QTextCursor cursor(document());
  cursor.joinPreviousEditBlock();
  for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
    cursor.setPosition(it->Position);
    cursor.setPosition(it->Position + it->Length, QTextCursor::KeepAnchor);
    cursor.insertText(it->Text);
  }
  cursor.endEditBlock();
}

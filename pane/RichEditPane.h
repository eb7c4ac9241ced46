#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

#include "pane/ColourRuns.h"
#include "pane/NearViewLayouts.h"
#include "pane/PanePositions.h"
#include "pane/PaneText.h"
#include "pane/SteadyCaret.h"
#include "text/RtfReader.h"
#include "text/TextEncoding.h"

// The editing pane: a document's text in its encoding, Windows-1252 or UTF-8, over
// QPlainTextEdit. Every position counts the bytes of that encoding, a line break (CR LF) as two,
// as in Text(); the caret stands only between characters. Loads read RTF while plain-text mode is off and
// plain text while it is on; when an RTF load brings the text the pane already holds, only the
// colours are changed (content, undo history and scroll position stay).
// Characters the encoding cannot hold that the user types or pastes become "&#N;" references
// (a NUL becomes "&#0;"), and Shift+Enter gives an ordinary line break.
class TRichEditPane : public QPlainTextEdit {
  Q_OBJECT

public:
  explicit TRichEditPane(QWidget* parent = nullptr);
  ~TRichEditPane() override;

  std::string Text() const;  // lines joined by CR LF; never holds a NUL
  std::size_t TextSize() const;
  // Appends the count bytes of Text() at from to out, reading only those.
  void ReadText(std::size_t from, std::size_t count, std::string& out) const;
  // What changed in the text since the last call; the first call reports the whole text.
  TPaneText::TEdit TakeEdit();
  void Clear();
  void AddLine(std::string_view line);  // "RichEdit line insertion error" when the pane takes less

  bool PlainTextMode() const;
  void SetPlainTextMode(bool on);

  // Replaces the whole content with the document in bytes (the stream from its current position).
  void LoadFromStream(std::string_view bytes);  // "Failed to Load Stream"
  // The part of the text that colours for [start, end) must cover to be laid over it: a line
  // only partly inside whose colours are not known (it was split or joined since) is taken whole.
  std::pair<std::size_t, std::size_t> RecolourRange(std::size_t start, std::size_t end) const;
  // Lays the colours of an RTF document whose text is the pane's text from textStart on over
  // that part, keeping every other colour, the content, undo history and scroll position. False,
  // with nothing changed, when plain-text mode is on, the bytes are not such a document, its
  // font differs from the pane's, or it does not cover what RecolourRange asks for.
  bool RecolourFromStream(std::string_view bytes, std::size_t textStart);
  // Sets the encoding the file's bytes call for; "Cannot open file %s".
  void LoadFromFile(const QString& path);
  // Writes a byte-order mark back when the file had one; "Cannot create file %s", the old file
  // then intact.
  void SaveToFile(const QString& path) const;
  TTextEncoding Encoding() const { return FPositions.Encoding(); }
  // The encoding of the text loaded or typed next; Windows-1252 until set.
  void SetEncoding(const TEncodingDecision& decision);

  int LineCount() const;  // displayed lines, an empty last line not counted
  int SelStart() const;
  void SetSelStart(int position);  // a negative position puts the caret at the end of the text
  int SelLength() const;
  void SetSelLength(int length);
  int CaretLine() const;
  int LineIndex(int line) const;  // first position of a line; -1 is the caret's line; -1 if none
  void ScrollCaret();
  bool WordWrap() const;
  void SetWordWrap(bool on);
  void SetFocusPane();

signals:
  void Change();           // after a content change, never while a Change handler runs
  void SelectionChange();  // after the selection or caret moved

protected:
  // Every paste and drop comes here: data is taken only when it holds text, and only the text.
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  bool Load(std::string_view bytes);
  bool LoadRtf(std::string_view bytes);
  bool LoadPlainText(std::string_view bytes);
  void ReplaceText(const QString& text);
  void ApplyFont(const TColourRuns::TStyle& base);
  bool CoversTheRest(std::size_t length) const;
  void TellVisible();
  std::pair<int, int> PartInView(const QTextBlock& block, qreal top, qreal bottom) const;
  void ShowVisibleColours();
  void FinishContentChange();
  void RaiseChange();
  void ReportSelection();
  void HoldBlinkInLongLine(const QTextBlock& caretLine);
  void OnContentsChange(int from, int removed, int added);
  void OnContentsChanged();
  void ReplaceUnheldInput(int from, int to);
  bool Wrapping() const;
  void EnsureLaidOut() const;
  int DisplayedLine(int documentPosition) const;

  TPanePositions FPositions;
  bool FByteOrderMark = false;
  TNearViewLayouts FLayouts;
  TColourRuns FColours;
  mutable TPaneText FText;  // what Text() gives, read from the document
  // The last document read. Its storage serves the next read: a large page's runs are not
  // given back to the system at each load and faulted in again at the next.
  TRtfDocument FRead;
  bool FPlainTextMode = true;
  bool FInChange = false;
  bool FQuiet = false;  // the pane's own edits, whose document signals are not user input
  TEditSpan FInput;     // the user's edit, until it is complete
  int FReportedAnchor = -1;
  int FReportedPosition = -1;
  TSteadyCaret FSteadyCaret;
};

#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

// The editing pane: 8-bit Windows-1252 text over QPlainTextEdit. Every position counts a line
// break (CR LF) as two characters, as in Text(). Loads read RTF while plain-text mode is off and
// plain text while it is on; when an RTF load brings the text the pane already holds, only the
// colours are changed (content, undo history and scroll position stay).
class TRichEditPane : public QPlainTextEdit {
  Q_OBJECT

public:
  explicit TRichEditPane(QWidget* parent = nullptr);
  ~TRichEditPane() override;

  std::string Text() const;  // lines joined by CR LF; never holds a NUL
  void Clear();
  void AddLine(std::string_view line);  // "RichEdit line insertion error" when the pane takes less

  bool PlainTextMode() const;
  void SetPlainTextMode(bool on);

  // Replaces the whole content with the document in bytes (the stream from its current position).
  void LoadFromStream(std::string_view bytes);  // "Failed to Load Stream"
  void LoadFromFile(const QString& path);       // "Cannot open file %s"
  void SaveToFile(const QString& path) const;   // "Cannot create file %s"; atomic

  int LineCount() const;  // displayed lines, an empty last line not counted
  int SelStart() const;
  void SetSelStart(int position);
  int SelLength() const;
  void SetSelLength(int length);
  int CaretLine() const;
  int LineIndex(int line) const;  // first position of a line; -1 is the caret's line; -1 if none
  void ScrollCaret();
  bool WordWrap() const;
  void SetWordWrap(bool on);
  void SetFocusPane();

  bool FastRecolour() const;
  void SetFastRecolour(bool on);  // off: every RTF load is a full reload

signals:
  void Change();           // after a content change, never while a Change handler runs
  void SelectionChange();  // after the selection or caret moved
};

#include "PaneText.h"

#include <QTextCursor>
#include <QTextDocument>

#include "CodePageText.h"
#include "PanePositions.h"

const std::string& TPaneText::Bytes() {
  if (!FExact) {
    FBytes = TCodePageText::Encode(FDocument.toRawText());
    FExact = FBytes.size() == ByteLength();
    FWhole = true;
  }
  return FBytes;
}

TPaneText::TEdit TPaneText::TakeEdit() {
  const std::size_t size = Bytes().size();
  // With nothing changed both ends are the whole text, and overlap.
  const std::size_t head = std::min(FHead, size);
  const std::size_t tail = std::min(FTail, size - head);
  const bool whole = FWhole || !FExact;
  const TEdit edit = whole ? TEdit{0, FTakenSize, size, true}
                           : TEdit{head, FTakenSize - head - tail, size - head - tail, false};
  FWhole = false;
  FTakenSize = FHead = FTail = size;
  return edit;
}

// Everything before position and after position + added is as before, so the bytes between
// the unchanged head and the unchanged tail are replaced by the changed range, encoded anew.
// Every character the code page cannot hold becomes a reference of four bytes or more, so a
// length that differs from the pane's tells that positions no longer map one to one.
void TPaneText::Changed(int position, int added) {
  if (!FExact) return;
  const int to = std::min(position + added, FDocument.characterCount() - 1);
  const int from = std::clamp(position, 0, std::max(to, 0));
  const std::size_t start = std::size_t(TPanePositions::ToPane(FDocument, from));
  const std::size_t stop = std::size_t(TPanePositions::ToPane(FDocument, to));
  const std::size_t tail = ByteLength() - stop;
  QTextCursor range(&FDocument);
  range.setPosition(from);
  range.setPosition(to, QTextCursor::KeepAnchor);
  const std::string inserted = TCodePageText::Encode(range.selectedText());
  if (tail > FBytes.size() || start > FBytes.size() - tail || inserted.size() != stop - start) {
    FExact = false;
    return;
  }
  FBytes.replace(start, FBytes.size() - tail - start, inserted);
  FHead = std::min(FHead, start);
  FTail = std::min(FTail, tail);
}

std::size_t TPaneText::ByteLength() const { return std::size_t(TPanePositions::PaneLength(FDocument)); }

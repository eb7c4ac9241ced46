#include "pane/PaneText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "pane/EncodedText.h"
#include "pane/PanePositions.h"

namespace {

// How much of the text is read at a time, to compare it or to copy it whole.
constexpr std::size_t PartSize = 64 * 1024;

}  // namespace

// Read a part at a time, the text is encoded into its one string without ever holding the
// document's characters whole, which for a large page costs more than the encoding itself.
std::string TPaneText::Bytes() {
  Settle();
  if (FEncoded) return FEncoding;
  std::string bytes;
  bytes.reserve(FSize);
  for (std::size_t from = 0; from < FSize; from += PartSize)
    ReadDocument(from, std::min(PartSize, FSize - from), bytes);
  return bytes;
}

std::size_t TPaneText::Size() {
  Settle();
  return FEncoded ? FEncoding.size() : FSize;
}

void TPaneText::Read(std::size_t from, std::size_t count, std::string& out) {
  Settle();
  if (FEncoded)
    out.append(FEncoding, from, count);
  else
    ReadDocument(from, count, out);
}

bool TPaneText::Holds(std::size_t from, std::string_view bytes) {
  const std::size_t size = Size();
  if (from > size || bytes.size() > size - from) return false;
  std::string part;
  for (std::size_t done = 0; done < bytes.size(); done += part.size()) {
    part.clear();
    Read(from + done, std::min(PartSize, bytes.size() - done), part);
    if (bytes.substr(done, part.size()) != part) return false;
  }
  return true;
}

void TPaneText::Invalidate() {
  FExact = false;
  DropEncoding();
}

// Positions map one to one, so the bytes before the span and after it stand as they were.
TPaneText::TEdit TPaneText::TakeEdit() {
  const std::size_t size = Size();
  TEdit edit{0, FTakenSize, size, true};
  if (!FWhole && FExact) {
    const int last = FDocument.characterCount() - 1;
    const int to = std::clamp(FChanged.Empty() ? last : FChanged.To(), 0, last);
    const int from = std::clamp(FChanged.Empty() ? last : FChanged.From(), 0, to);
    const std::size_t head = std::size_t(FPositions.ToPane(from));
    const std::size_t tail = size - std::size_t(FPositions.ToPane(to));
    // An edit the document reported in part leaves ends that do not fit the old text.
    if (head + tail <= FTakenSize) edit = {head, FTakenSize - head - tail, size - head - tail, false};
  }
  FWhole = false;
  FTakenSize = size;
  FChanged.Clear();
  return edit;
}

// Every character the encoding cannot hold becomes a reference of four bytes or more, so added
// text whose encoding is longer than its positions say tells that they no longer map to the
// bytes.
void TPaneText::Changed(const TPaneEdit& edit) {
  DropEncoding();
  if (!FExact) return;
  FChanged.Add(edit);
  const int to = std::min(edit.Position + edit.Added, FDocument.characterCount() - 1);
  const int from = std::clamp(edit.Position, 0, std::max(to, 0));
  const std::size_t start = std::size_t(FPositions.ToPane(from));
  const std::size_t stop = std::size_t(FPositions.ToPane(to));
  if (EncodedRange(from, to).size() != stop - start) {
    FExact = false;
    return;
  }
  FSize = ByteLength();
}

// Once the whole text has been encoded the encoding tells whether positions map one to one;
// it is kept only when they do not, as it is then the only way to read the text.
void TPaneText::Settle() {
  if (FExact || FEncoded) return;
  std::string bytes = TEncodedText::Encode(FDocument.toRawText(), FPositions.Encoding());
  FSize = bytes.size();
  FExact = FSize == ByteLength();
  FWhole = true;
  if (FExact) return;
  FEncoding = std::move(bytes);
  FEncoded = true;
}

// A range may start or end between the CR and the LF of a line break, which the document holds
// as one separator, or inside a character of several bytes: the separator or character is
// encoded, and the bytes outside the range left out. The line the end falls in is found by
// walking on from the first, which for the few lines of a window is quicker than a search; an
// end inside a line break falls at the start of the line after it.
void TPaneText::ReadDocument(std::size_t from, std::size_t count, std::string& out) const {
  const std::size_t to = from + count;
  const int first = FPositions.ToDocument(int(from));
  QTextBlock block = FDocument.findBlock(first);
  int number = block.blockNumber();
  const std::size_t firstInPane = std::size_t(FPositions.ToPane(first));
  std::size_t lineStart =
      firstInPane - std::size_t(FPositions.ByteInBlock(block, number, first - block.position()));
  // A line takes its bytes and two more in the pane: its separator is CR LF.
  while (block.next().isValid() && to > lineStart + std::size_t(FPositions.BlockBytes(block, number))) {
    lineStart += std::size_t(FPositions.BlockBytes(block, number)) + 2;
    block = block.next();
    ++number;
  }
  const int into = int(to - std::min(to, lineStart));
  int offset = FPositions.OffsetInBlock(block, number, into);
  if (FPositions.ByteInBlock(block, number, offset) < into)
    offset += QChar::isHighSurrogate(block.text()[offset].unicode()) ? 2 : 1;
  const int last = block.position() + std::min(offset, block.length() - 1);
  out.append(EncodedRange(first, last), from - firstInPane, count);
}

std::string TPaneText::EncodedRange(int from, int to) const {
  QTextCursor range(&FDocument);
  range.setPosition(from);
  range.setPosition(to, QTextCursor::KeepAnchor);
  return TEncodedText::Encode(range.selectedText(), FPositions.Encoding());
}

void TPaneText::DropEncoding() {
  if (!FEncoded) return;
  FEncoded = false;
  std::string().swap(FEncoding);
}

std::size_t TPaneText::ByteLength() const { return std::size_t(FPositions.PaneLength()); }

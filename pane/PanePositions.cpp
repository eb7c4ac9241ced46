#include "pane/PanePositions.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "pane/EncodedText.h"

void TPanePositions::SetEncoding(TTextEncoding encoding) {
  FEncoding = encoding;
  FExtra.clear();
  FTotalExtra = 0;
  FBefore.assign(1, 0);
  FKnown = 0;
  if (!Utf8()) return;
  FExtra.reserve(std::size_t(FDocument.blockCount()));
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next()) {
    FExtra.push_back(ExtraOf(block));
    FTotalExtra += FExtra.back();
  }
}

int TPanePositions::ExtraOf(QStringView text) {
  int extra = 0;
  for (const QChar unit : text) extra += TEncodedText::ExtraUtf8Bytes(unit.unicode());
  return extra;
}

int TPanePositions::ExtraOf(const QTextBlock& block) { return ExtraOf(block.text()); }

int TPanePositions::ExtraOf(int from, int to) const {
  QTextCursor range(&FDocument);
  range.setPosition(std::clamp(from, 0, FDocument.characterCount() - 1));
  range.setPosition(std::clamp(to, 0, FDocument.characterCount() - 1), QTextCursor::KeepAnchor);
  return ExtraOf(range.selectedText());
}

// The edit replaced the blocks from the one it starts in to the one its added text ends in;
// the blocks it removed or added are the difference in their number.
void TPanePositions::Changed(const TPaneEdit& edit) {
  if (!Utf8()) return;
  const int last = std::max(FDocument.characterCount() - 1, 0);
  const QTextBlock first = FDocument.findBlock(std::clamp(edit.Position, 0, last));
  const int from = first.blockNumber();
  const int to = FDocument.findBlock(std::clamp(edit.Position + edit.Added, 0, last)).blockNumber();
  const int added = FDocument.blockCount() - int(FExtra.size());
  if (from < 0 || to - added < from || to - added >= int(FExtra.size())) {
    SetEncoding(FEncoding);  // a change reported otherwise than it was made
    return;
  }
  // A line of ASCII edited within itself keeps what was there; only what was added is counted,
  // so typing on a long line costs what the key adds.
  if (added == 0 && from == to && FExtra[std::size_t(from)] == 0) {
    FExtra[std::size_t(from)] = ExtraOf(edit.Position, edit.Position + edit.Added);
    FTotalExtra += FExtra[std::size_t(from)];
    FKnown = std::min(FKnown, from);
    return;
  }
  for (int n = from; n <= to - added; ++n) FTotalExtra -= FExtra[std::size_t(n)];
  const auto after = FExtra.begin() + from + 1;
  if (added > 0) FExtra.insert(after, std::size_t(added), 0);
  if (added < 0) FExtra.erase(after, after - added);
  QTextBlock block = first;
  for (int n = from; n <= to; ++n, block = block.next()) {
    FExtra[std::size_t(n)] = ExtraOf(block);
    FTotalExtra += FExtra[std::size_t(n)];
  }
  FKnown = std::min(FKnown, from);
}

int TPanePositions::ExtraBefore(int number) const {
  if (FBefore.size() < FExtra.size() + 1) FBefore.resize(FExtra.size() + 1);
  for (; FKnown < number; ++FKnown)
    FBefore[std::size_t(FKnown) + 1] = FBefore[std::size_t(FKnown)] + FExtra[std::size_t(FKnown)];
  return FBefore[std::size_t(number)];
}

int TPanePositions::ByteStart(const QTextBlock& block, int number) const {
  return block.position() + number + (Utf8() ? ExtraBefore(number) : 0);
}

int TPanePositions::BlockBytes(const QTextBlock& block, int number) const {
  return block.length() - 1 + (Utf8() ? FExtra[std::size_t(number)] : 0);
}

int TPanePositions::ByteInBlock(const QTextBlock& block, int number, int offset) const {
  if (!Utf8() || FExtra[std::size_t(number)] == 0) return offset;
  const QString text = block.text();
  return offset + ExtraOf(QStringView(text).first(std::clamp(qsizetype(offset), qsizetype(0), text.size())));
}

int TPanePositions::OffsetInBlock(const QTextBlock& block, int number, int byte) const {
  const int length = block.length() - 1;
  if (!Utf8() || FExtra[std::size_t(number)] == 0) return std::clamp(byte, 0, length);
  const QString text = block.text();
  int at = 0;
  for (qsizetype i = 0; i < text.size();) {
    qsizetype next = i;
    TEncodedText::CodePointAt(text, next);
    int size = 0;
    for (qsizetype unit = i; unit <= next; ++unit)
      size += 1 + TEncodedText::ExtraUtf8Bytes(text[unit].unicode());
    if (at + size > byte) return int(i);
    at += size;
    i = next + 1;
  }
  return length;
}

int TPanePositions::ToPane(int documentPosition) const {
  const QTextBlock block = FDocument.findBlock(documentPosition);
  const int number = std::max(block.blockNumber(), 0);
  if (!Utf8() || !block.isValid()) return documentPosition + number;
  return ByteStart(block, number) + ByteInBlock(block, number, documentPosition - block.position());
}

// The last block whose first byte lies at or before the position. Sums already made are
// searched; past them, blocks are stepped through, making the sums on the way.
QTextBlock TPanePositions::BlockOfByte(int panePosition, int& number) const {
  int low = 0;
  int high = Utf8() ? std::min(FKnown, FDocument.blockCount() - 1) : FDocument.blockCount() - 1;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    if (ByteStart(FDocument.findBlockByNumber(middle), middle) <= panePosition)
      low = middle;
    else
      high = middle - 1;
  }
  QTextBlock block = FDocument.findBlockByNumber(low);
  number = low;
  while (block.next().isValid() && ByteStart(block.next(), number + 1) <= panePosition) {
    block = block.next();
    ++number;
  }
  return block;
}

int TPanePositions::ToDocument(int panePosition) const {
  panePosition = std::clamp(panePosition, 0, PaneLength());
  int number = 0;
  const QTextBlock block = BlockOfByte(panePosition, number);
  return block.position() + OffsetInBlock(block, number, panePosition - ByteStart(block, number));
}

int TPanePositions::PaneLength() const {
  return FDocument.characterCount() - 1 + FDocument.blockCount() - 1 + (Utf8() ? int(FTotalExtra) : 0);
}

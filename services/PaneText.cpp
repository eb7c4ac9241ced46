#include "PaneText.h"

#include "CodePage.h"

#include <QTextBlock>
#include <QTextDocument>

const std::string& TPaneText::Bytes() {
  // Every character the code page cannot hold becomes a reference of four bytes or more, so the
  // length tells whether positions map one to one.
  if (!FExact) {
    FBytes = TCodePage::Encode(FDocument.toRawText());
    FExact = FBytes.size() == ByteLength();
  }
  return FBytes;
}

// Everything before position and after position + added is as before, so the bytes between
// the unchanged head and the unchanged tail are replaced by the changed range, encoded anew.
void TPaneText::Changed(int position, int added) {
  if (!FExact) return;
  const int to = std::min(position + added, FDocument.characterCount() - 1);
  const int from = std::clamp(position, 0, std::max(to, 0));
  const std::size_t start = ByteOffset(from);
  const std::size_t tail = ByteLength() - ByteOffset(to);
  std::string inserted;
  if (tail > FBytes.size() || start > FBytes.size() - tail || !Encode(from, to, inserted)) {
    FExact = false;
    return;
  }
  FBytes.replace(start, FBytes.size() - tail - start, inserted);
}

// Appends the bytes of the document positions [from, to); false when a character there is not
// one byte of the code page.
bool TPaneText::Encode(int from, int to, std::string& bytes) const {
  bytes.reserve(bytes.size() + std::size_t(std::max(to - from, 0)) * 2);
  for (QTextBlock block = FDocument.findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    const QString text = block.text();
    const int start = block.position();
    const qsizetype first = std::max(from - start, 0);
    const qsizetype last = std::min<qsizetype>(to - start, text.size());
    for (qsizetype i = first; i < last; ++i) {
      const char16_t unit = text[i].unicode();
      const int byte = unit == 0 || QChar::isSurrogate(unit) ? -1 : TCodePage::Byte(unit);
      if (byte < 0) return false;
      bytes += char(byte);
    }
    const int separator = start + block.length() - 1;
    if (separator >= from && separator < to) bytes += "\r\n";
  }
  return true;
}

std::size_t TPaneText::ByteOffset(int position) const {
  return std::size_t(position + std::max(FDocument.findBlock(position).blockNumber(), 0));
}

std::size_t TPaneText::ByteLength() const {
  return std::size_t(FDocument.characterCount() - 1 + FDocument.blockCount() - 1);
}

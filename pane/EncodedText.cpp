#include "pane/EncodedText.h"

#include <QString>
#include <QStringView>
#include <algorithm>

#include "text/CodePage.h"

namespace {

QString DecodeCodePage(std::string_view bytes) {
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  for (const char byte : bytes) *out++ = TCodePage::Char(static_cast<unsigned char>(byte));
  return text;
}

}  // namespace

QString TEncodedText::Decode(std::string_view bytes, TTextEncoding encoding) {
  if (encoding == TTextEncoding::Windows1252) return DecodeCodePage(bytes);
  return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

bool TEncodedText::Holds(char32_t character, TTextEncoding encoding) noexcept {
  if (character == 0) return false;
  if (encoding == TTextEncoding::Windows1252) return TCodePage::Byte(character) >= 0;
  return character <= 0x10FFFF && (character < 0xD800 || character > 0xDFFF);
}

// Written through a pointer into a buffer sized for the text: nearly every unit is ASCII and
// costs one store. Before anything else is written the buffer is made to hold it and one byte
// for each unit still to come, so the ASCII after it needs no check either.
std::string TEncodedText::Encode(QStringView text, TTextEncoding encoding) {
  const char16_t* const units = text.utf16();
  const qsizetype count = text.size();
  std::string bytes(std::size_t(count) + std::size_t(count) / 16 + 16, '\0');
  std::size_t used = 0;
  for (qsizetype i = 0; i < count; ++i) {
    const char16_t unit = units[i];
    if (unit < 0x80 && unit != 0) {
      bytes[used++] = char(unit);
      continue;
    }
    const auto makeRoom = [&] {
      const std::size_t needed = used + std::size_t(count - i) + 16;
      if (bytes.size() < needed) bytes.resize(std::max(bytes.size() * 2, needed));
    };
    makeRoom();
    if (unit == QChar::ParagraphSeparator) {
      bytes[used++] = '\r';
      bytes[used++] = '\n';
      continue;
    }
    const char32_t character = CodePointAt(text, i);
    if (Holds(character, encoding)) {
      if (encoding == TTextEncoding::Windows1252)
        bytes[used++] = char(TCodePage::Byte(character));
      else
        used += EncodeUtf8(character, bytes.data() + used);
      continue;
    }
    bytes.resize(used);
    TCodePage::AppendReference(bytes, character);
    used = bytes.size();
    makeRoom();
  }
  bytes.resize(used);
  return bytes;
}

QString TEncodedText::Reference(char32_t character) {
  std::string reference;
  TCodePage::AppendReference(reference, character);
  return QString::fromLatin1(reference.data(), qsizetype(reference.size()));
}

char32_t TEncodedText::CodePointAt(QStringView text, qsizetype& i) noexcept {
  const char16_t unit = text[i].unicode();
  if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
    ++i;
    return QChar::surrogateToUcs4(unit, text[i].unicode());
  }
  return unit;
}

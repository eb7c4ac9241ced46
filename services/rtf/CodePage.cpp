#include "CodePage.h"

#include <algorithm>

#include <QString>
#include <QStringView>
#include <array>

namespace {

// Characters of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr bool IsLatin1Direct(char32_t c) noexcept { return c < 0x80 || (c >= 0xA0 && c <= 0xFF); }

}  // namespace

char16_t TCodePage::Char(unsigned char byte) noexcept {
  return byte >= 0x80 && byte < 0xA0 ? HighCharacters[byte - 0x80] : char16_t(byte);
}

int TCodePage::Byte(char32_t character) noexcept {
  if (IsLatin1Direct(character)) return int(character);
  for (std::size_t i = 0; i < HighCharacters.size(); ++i)
    if (HighCharacters[i] == character) return int(0x80 + i);
  return -1;
}

void TCodePage::AppendReference(std::string& out, char32_t character) {
  out += "&#";
  out += std::to_string(std::uint32_t(character));
  out += ';';
}

QString TCodePage::Decode(std::string_view bytes) {
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  for (const char byte : bytes) *out++ = Char(static_cast<unsigned char>(byte));
  return text;
}

// Written through a pointer into a buffer sized for the text: nearly every unit is ASCII and
// costs one store; a line break or a reference grows the buffer only when it runs short.
std::string TCodePage::Encode(QStringView text) {
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
    if (bytes.size() - used < 16) bytes.resize(bytes.size() * 2);
    if (unit == QChar::ParagraphSeparator) {
      bytes[used++] = '\r';
      bytes[used++] = '\n';
      continue;
    }
    const char32_t character = CodePointAt(text, i);
    const int byte = character == 0 ? -1 : Byte(character);
    if (byte >= 0) {
      bytes[used++] = char(byte);
      continue;
    }
    bytes.resize(used);
    AppendReference(bytes, character);
    used = bytes.size();
    bytes.resize(std::max(bytes.size() * 2, std::size_t(count) + 16));
  }
  bytes.resize(used);
  return bytes;
}

QString TCodePage::Reference(char32_t character) {
  std::string reference;
  AppendReference(reference, character);
  return QString::fromLatin1(reference.data(), qsizetype(reference.size()));
}

char32_t TCodePage::CodePointAt(QStringView text, qsizetype& i) noexcept {
  const char16_t unit = text[i].unicode();
  if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
    ++i;
    return QChar::surrogateToUcs4(unit, text[i].unicode());
  }
  return unit;
}

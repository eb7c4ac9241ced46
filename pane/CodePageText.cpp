#include "pane/CodePageText.h"

#include <QString>
#include <QStringView>
#include <algorithm>

#include "text/CodePage.h"

QString TCodePageText::Decode(std::string_view bytes) {
  QString text(qsizetype(bytes.size()), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  for (const char byte : bytes) *out++ = TCodePage::Char(static_cast<unsigned char>(byte));
  return text;
}

// Written through a pointer into a buffer sized for the text: nearly every unit is ASCII and
// costs one store; a line break or a reference grows the buffer only when it runs short.
std::string TCodePageText::Encode(QStringView text) {
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
    const int byte = character == 0 ? -1 : TCodePage::Byte(character);
    if (byte >= 0) {
      bytes[used++] = char(byte);
      continue;
    }
    bytes.resize(used);
    TCodePage::AppendReference(bytes, character);
    used = bytes.size();
    bytes.resize(std::max(bytes.size() * 2, std::size_t(count) + 16));
  }
  bytes.resize(used);
  return bytes;
}

QString TCodePageText::Reference(char32_t character) {
  std::string reference;
  TCodePage::AppendReference(reference, character);
  return QString::fromLatin1(reference.data(), qsizetype(reference.size()));
}

char32_t TCodePageText::CodePointAt(QStringView text, qsizetype& i) noexcept {
  const char16_t unit = text[i].unicode();
  if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
    ++i;
    return QChar::surrogateToUcs4(unit, text[i].unicode());
  }
  return unit;
}

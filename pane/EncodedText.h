#pragma once

#include <QtGlobal>
#include <string>
#include <string_view>

#include "text/TextEncoding.h"

class QString;
class QStringView;

// The bridge between a document's bytes and the characters a text document holds, in the
// document's encoding. Windows-1252 holds 255 characters, one byte each; UTF-8 every character,
// one to four bytes each. A character the encoding cannot hold is written as a "&#N;" reference.
class TEncodedText {
public:
  static QString Decode(std::string_view bytes, TTextEncoding encoding);
  // A paragraph separator, the way a text document stores a line break, becomes CR LF.
  static std::string Encode(QStringView text, TTextEncoding encoding);
  // Whether the encoding holds the character as itself; a NUL is never held.
  static bool Holds(char32_t character, TTextEncoding encoding) noexcept;
  static QString Reference(char32_t character);
  // The code point starting at text[i]; a surrogate pair counts as one and advances i past it.
  static char32_t CodePointAt(QStringView text, qsizetype& i) noexcept;
  // The bytes of a UTF-16 unit of text in UTF-8 less the one unit it is: 0 for ASCII, 1 up to
  // U+07FF and for each half of a surrogate pair (four bytes for two units), 2 above.
  static int ExtraUtf8Bytes(char16_t unit) noexcept {
    return unit < 0x80 ? 0 : unit < 0x800 || (unit >= 0xD800 && unit < 0xE000) ? 1 : 2;
  }
};

#pragma once

#include <QtGlobal>
#include <string>
#include <string_view>

class QString;
class QStringView;

// The code page's bridge to Qt's text: document bytes to the characters a text document holds
// and back, characters the code page cannot hold written as "&#N;" references.
class TCodePageText {
public:
  static QString Decode(std::string_view bytes);
  // A paragraph separator, the way a text document stores a line break, becomes CR LF.
  static std::string Encode(QStringView text);
  static QString Reference(char32_t character);
  // The code point starting at text[i]; a surrogate pair counts as one and advances i past it.
  static char32_t CodePointAt(QStringView text, qsizetype& i) noexcept;
};

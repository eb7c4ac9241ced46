#pragma once

// Character classes of the HTML scanner, one bit set per character code, so
// that each inner loop costs one table look-up per character.

#include <array>
#include <cstdint>

enum ThltCharClass : std::uint16_t {
  ccBlankRun = 1 << 0,   // continues a blank token: 1 to 8, 11, 12, 14 to 32
  ccNameStop = 1 << 1,   // ends a name: 0 to 32, double quote, "=", ">"
  ccValueStop = 1 << 2,  // ends an unquoted value: 0 to 32, ">"
  ccQuoteStop = 1 << 3,  // ends a quoted string: NUL, LF, CR, double quote
  ccTextStop = 1 << 4,   // interrupts text: 0 to 31, "<", "&"
  ccBlockStop = 1 << 5,  // interrupts a comment or server block: NUL, LF, CR, ">"
  ccTagWord = 1 << 6,    // hashed by value in a tag name: letters, "/", "!"
  ccDigit = 1 << 7,      // hashed by digit value after the letters
  ccEscape = 1 << 8,     // needs a backslash in RTF: "\", "{", "}"
};

constexpr bool hltIsLetter(unsigned c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

constexpr std::uint16_t hltClassOf(unsigned c) {
  std::uint16_t bits = 0;
  const bool lineEnd = c == 0 || c == '\n' || c == '\r';
  if (c >= 1 && c <= 32 && c != '\t' && c != '\n' && c != '\r') bits |= ccBlankRun;
  if (c <= 32 || c == '"' || c == '=' || c == '>') bits |= ccNameStop;
  if (c <= 32 || c == '>') bits |= ccValueStop;
  if (lineEnd || c == '"') bits |= ccQuoteStop;
  if (c < 32 || c == '<' || c == '&') bits |= ccTextStop;
  if (lineEnd || c == '>') bits |= ccBlockStop;
  if (hltIsLetter(c) || c == '/' || c == '!') bits |= ccTagWord;
  if (c >= '0' && c <= '9') bits |= ccDigit;
  if (c == '\\' || c == '{' || c == '}') bits |= ccEscape;
  return bits;
}

constexpr std::array<std::uint16_t, 256> hltMakeCharClasses() {
  std::array<std::uint16_t, 256> classes{};
  for (unsigned c = 0; c < 256; ++c) classes[c] = hltClassOf(c);
  return classes;
}

inline constexpr std::array<std::uint16_t, 256> CharClasses = hltMakeCharClasses();

inline bool hltHasClass(unsigned char c, std::uint16_t classBits) {
  return (CharClasses[c] & classBits) != 0;
}

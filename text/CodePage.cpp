#include "text/CodePage.h"

#include <array>
#include <cstdint>

namespace {

// Characters of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr bool IsLatin1Direct(char32_t c) noexcept { return c < 0x80 || (c >= 0xA0 && c <= 0xFF); }

// The simple upper case of the code page's characters that have one in the code page: the
// ASCII and Latin-1 small letters but the division sign, and "š", "œ", "ž", "ÿ" among the high
// characters, whose capitals stand at 0x8A, 0x8C, 0x8E and 0x9F.
constexpr std::array<unsigned char, 256> MakeUpperCase() {
  std::array<unsigned char, 256> upper{};
  for (unsigned c = 0; c < 256; ++c) upper[c] = static_cast<unsigned char>(c);
  for (unsigned c = 'a'; c <= 'z'; ++c) upper[c] = static_cast<unsigned char>(c - 0x20);
  for (unsigned c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) upper[c] = static_cast<unsigned char>(c - 0x20);
  upper[0x9A] = 0x8A;
  upper[0x9C] = 0x8C;
  upper[0x9E] = 0x8E;
  upper[0xFF] = 0x9F;
  return upper;
}
constexpr std::array<unsigned char, 256> UpperCases = MakeUpperCase();

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

unsigned char TCodePage::UpperCase(unsigned char byte) noexcept { return UpperCases[byte]; }

void TCodePage::AppendReference(std::string& out, char32_t character) {
  out += "&#";
  out += std::to_string(std::uint32_t(character));
  out += ';';
}

#include "CodePage.h"

#include <array>
#include <cstdint>

namespace {

// Characters of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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

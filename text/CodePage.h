#pragma once

#include <string>

// Windows-1252, the code page of every document the editor holds. Each byte 1-255 maps to one
// character and back; the five bytes the code page leaves unassigned map to the C1 controls of
// the same value, so a file survives open and save unchanged. A character the code page cannot
// hold is written as the numeric character reference "&#N;" so nothing the user enters is lost.
class TCodePage {
public:
  static char16_t Char(unsigned char byte) noexcept;
  static int Byte(char32_t character) noexcept;  // -1 when the code page cannot hold it
  static void AppendReference(std::string& out, char32_t character);
  // The byte of the character's simple upper case where the code page holds it, else the byte
  // itself: a-z and the accented small letters fold, "ß" and "µ" stay.
  static unsigned char UpperCase(unsigned char byte) noexcept;
};

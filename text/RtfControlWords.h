#pragma once

#include <string_view>

#include "text/RtfDocument.h"

// The control words the reader acts on, by what they do. Every other word is read and ignored.
enum TRtfWord : int {
  wUnknown,
  wB,
  wBin,
  wBlue,
  wBreak,
  wByte,
  wCf,
  wColourTable,
  wDeff,
  wF,
  wFamily,
  wFontTable,
  wFs,
  wGreen,
  wI,
  wPlain,
  wRed,
  wSkip,
  wTab,
  wU,
  wUc,
  wUl,
  wUlnone
};

struct TRtfWordEntry {
  std::string_view Name;
  TRtfWord Word;
  int Value;  // the byte of a character word, the family of a font family word
};

// The entry of a control word's name, or null when the reader ignores the word.
const TRtfWordEntry* FindRtfWord(std::string_view name);

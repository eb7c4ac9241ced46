#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A document read from RTF, or about to be written as RTF: 8-bit Windows-1252 text with CR LF
// line breaks and the character formats laid over it as runs.

enum class TRtfFamily : std::uint8_t { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

struct TRtfFont {
  std::string Name;
  TRtfFamily Family = TRtfFamily::Nil;

  bool operator==(const TRtfFont& other) const { return Name == other.Name && Family == other.Family; }
};

struct TRtfFormat {
  static constexpr std::int32_t DefaultColour = -1;  // the reader's own text colour

  std::int32_t Colour = DefaultColour;  // 0xRRGGBB
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::int32_t Font = -1;  // index into TRtfDocument::Fonts; -1 when the document names none
  std::int32_t HalfPoints = 24;

  bool operator==(const TRtfFormat& other) const {
    return Colour == other.Colour && Bold == other.Bold && Italic == other.Italic &&
           Underline == other.Underline && Font == other.Font && HalfPoints == other.HalfPoints;
  }
};

// Start and length count bytes of TRtfDocument::Text; Format indexes TRtfDocument::Formats.
struct TRtfRun {
  std::size_t Start = 0;
  std::size_t Length = 0;
  std::int32_t Format = 0;
};

struct TRtfDocument {
  std::string Text;
  std::vector<TRtfRun> Runs;          // in order, without gaps, covering the whole text
  std::vector<TRtfFormat> Formats;    // each distinct format once
  std::vector<std::int32_t> Colours;  // the colour table, 0xRRGGBB, DefaultColour for "auto"
  std::vector<TRtfFont> Fonts;
  std::int32_t BaseFormat = 0;  // the first character's format, or the one in force at the end

  // Empties the document and keeps its storage for the next read.
  void Clear() {
    Text.clear();
    Runs.clear();
    Formats.clear();
    Colours.clear();
    Fonts.clear();
    BaseFormat = 0;
  }
};

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/RtfControlWords.h"
#include "text/RtfDocument.h"

// Reads RTF into text and runs: the documents the highlighter writes and the common RTF of help
// files (groups, paragraphs, tabs, bold, italic, underline, sizes, colours, fonts, hexadecimal
// and Unicode escapes). Destinations it does not show (pictures, style sheets, "\*" groups) are
// skipped. A paragraph mark right before the end of the document closes the last line without
// adding an empty one, so a text written as runs followed by "\par }" reads back unchanged.
class TRtfReader {
public:
  enum class TDestination : unsigned char { Text, FontTable, ColourTable, Skip };

  struct TGroupState {
    int Cf = -1;
    int FontNumber = -1;
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int UnicodeSkip = 1;
    TDestination Destination = TDestination::Text;
  };

  explicit TRtfReader(std::string_view rtf) : FRtf(rtf) {}

  // False when the bytes do not begin with "{\rtf" or are malformed (unbalanced groups, a NUL,
  // a broken escape); the document is then incomplete.
  bool Read(TRtfDocument& document);

private:
  bool ReadColour();
  bool ReadControl();
  bool ReadControlSymbol(char symbol);
  void ReadControlWord();
  void ApplyWord(std::string_view word, bool hasParameter, int parameter);
  bool ApplyCharacterWord(TRtfWord word, bool hasParameter, int parameter);
  bool ApplyTableWord(TRtfWord word, int parameter);
  void ApplyUnicode(int parameter);
  void OpenGroup();
  bool CloseGroup();

  void EmitText(const char* bytes, std::size_t length);
  void EmitByte(unsigned char byte);
  void EmitCodePoint(char32_t character);
  void EmitBreak();
  void WriteBreak();
  void AppendRun(int format, std::size_t length);
  void AppendToText(const char* bytes, std::size_t length);
  void AppendToTable(const char* bytes, std::size_t length);
  // The formats kept for each colour no longer hold; they are left to be made again when asked.
  void CharacterFormatChanged() {
    FFormatKnown = false;
    ++FFormatsMade;
  }
  int CurrentFormat();
  int InternFormat(const TRtfFormat& format);
  int FontIndex(int fontNumber) const;

  TGroupState& State() { return FStack.back(); }
  const TGroupState& State() const { return FStack.back(); }

  std::string_view FRtf;
  std::size_t FPos = 0;
  TRtfDocument* FDocument = nullptr;
  std::vector<TGroupState> FStack;
  int FDefaultFont = 0;
  bool FFontNameOpen = false;
  int FRed = 0, FGreen = 0, FBlue = 0;
  bool FColourGiven = false;
  int FFormat = 0;
  bool FFormatKnown = false;
  // By colour entry, the format and the count of FFormatsMade it was made at: it holds while the
  // other attributes stay, and a change of them costs nothing however many colours there are.
  std::vector<std::pair<unsigned, int>> FFormatOfColour;
  unsigned FFormatsMade = 1;
  std::map<std::pair<std::uint64_t, std::uint64_t>, int> FFormatIndex;  // each format's index
  std::unordered_map<int, int> FFontIndex;  // the first font table entry of each RTF number
  std::size_t FSkipCharacters = 0;          // left of the fallback text after a Unicode escape
  char16_t FHighSurrogate = 0;
  bool FBreakPending = false;  // a paragraph mark not yet written, dropped at the document end
};

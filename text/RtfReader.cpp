#include "text/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "text/CodePage.h"
#include "text/RtfControlWords.h"

namespace {

enum TByteClass : unsigned char { bcText, bcBackslash, bcOpen, bcClose, bcIgnored, bcNul };

constexpr std::array<TByteClass, 256> MakeByteClasses() {
  std::array<TByteClass, 256> classes{};
  classes['\\'] = bcBackslash;
  classes['{'] = bcOpen;
  classes['}'] = bcClose;
  classes['\r'] = bcIgnored;
  classes['\n'] = bcIgnored;
  classes[0] = bcNul;
  return classes;
}
constexpr std::array<TByteClass, 256> ByteClasses = MakeByteClasses();

constexpr bool IsLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

int HexValue(char c) noexcept {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The RTF standard bounds a control word at 32 letters; ten digits hold every value of an int,
// which is where the parameter is clamped.
constexpr std::size_t MaxWordLength = 32;
constexpr int MaxParameterDigits = 10;
// "\cf" with up to this many digits is read on the fast path; a longer index goes through the
// general word reader, which clamps it.
constexpr int FastColourDigits = 6;

// Room reserved before reading, from what the highlighter's documents hold: about one byte of
// text for two of RTF, and one run for every 32 bytes.
constexpr std::size_t RtfBytesPerTextByte = 2;
constexpr std::size_t RtfBytesPerRun = 32;

}  // namespace

bool TRtfReader::Read(TRtfDocument& document) {
  if (FRtf.substr(0, 5) != "{\\rtf") return false;
  FDocument = &document;
  document.Clear();
  FFontIndex.clear();
  FFormatIndex.clear();
  FFormatOfColour.clear();
  document.Text.reserve(FRtf.size() / RtfBytesPerTextByte);
  document.Runs.reserve(FRtf.size() / RtfBytesPerRun);
  const char* const data = FRtf.data();
  const std::size_t size = FRtf.size();
  FPos = 0;
  while (FPos < size) {
    switch (ByteClasses[static_cast<unsigned char>(data[FPos])]) {
      case bcText: {
        const std::size_t start = FPos;
        while (FPos < size && ByteClasses[static_cast<unsigned char>(data[FPos])] == bcText) ++FPos;
        EmitText(data + start, FPos - start);
        break;
      }
      case bcBackslash:
        if (!ReadColour() && !ReadControl()) return false;
        break;
      case bcOpen:
        ++FPos;
        OpenGroup();
        break;
      case bcClose:
        ++FPos;
        if (CloseGroup()) return true;
        break;
      case bcIgnored: ++FPos; break;
      case bcNul: return false;
    }
  }
  return false;
}

void TRtfReader::OpenGroup() {
  FStack.push_back(FStack.empty() ? TGroupState{} : FStack.back());
  FSkipCharacters = 0;
}

// True when the group closed was the document's outermost.
bool TRtfReader::CloseGroup() {
  if (FStack.back().Destination == TDestination::FontTable) FFontNameOpen = false;
  FSkipCharacters = 0;
  if (FStack.size() == 1) {
    TRtfDocument& document = *FDocument;
    document.BaseFormat = document.Runs.empty() ? CurrentFormat() : document.Runs.front().Format;
    FStack.clear();
    return true;
  }
  FStack.pop_back();
  CharacterFormatChanged();
  return false;
}

// "\cfN", nearly every control word of the highlighter's documents, read without the general
// word machinery; false when the bytes at the backslash are something else.
bool TRtfReader::ReadColour() {
  const std::size_t size = FRtf.size();
  const char* const data = FRtf.data();
  std::size_t position = FPos + 3;
  if (position >= size || data[FPos + 1] != 'c' || data[FPos + 2] != 'f' || !IsDigit(data[position]) ||
      FSkipCharacters > 0)
    return false;
  int colour = 0;
  for (int digits = 0; position < size && IsDigit(data[position]) && digits < FastColourDigits; ++digits)
    colour = colour * 10 + (data[position++] - '0');
  if (position < size && IsDigit(data[position])) return false;
  if (position < size && data[position] == ' ') ++position;
  FPos = position;
  if (State().Cf != colour) {
    State().Cf = colour;
    FFormatKnown = false;
  }
  return true;
}

bool TRtfReader::ReadControl() {
  ++FPos;
  if (FPos >= FRtf.size()) return false;
  const char first = FRtf[FPos];
  if (!IsLetter(first)) return ReadControlSymbol(first);
  ReadControlWord();
  return true;
}

bool TRtfReader::ReadControlSymbol(char symbol) {
  ++FPos;
  switch (symbol) {
    case '\\':
    case '{':
    case '}': EmitText(&symbol, 1); return true;
    case '\'': {
      if (FPos + 2 > FRtf.size()) return false;
      const int high = HexValue(FRtf[FPos]);
      const int low = HexValue(FRtf[FPos + 1]);
      FPos += 2;
      if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
      EmitByte(static_cast<unsigned char>(high * 16 + low));
      return true;
    }
    case '~': EmitByte(0xA0); return true;
    case '_': EmitByte('-'); return true;
    case '*': State().Destination = TDestination::Skip; return true;
    case '\r':
    case '\n': EmitBreak(); return true;
    case '\0': return false;
    default:  // optional hyphen, index entries and other symbols show nothing
      if (FSkipCharacters > 0) --FSkipCharacters;
      return true;
  }
}

void TRtfReader::ReadControlWord() {
  const std::size_t size = FRtf.size();
  const std::size_t start = FPos;
  while (FPos < size && FPos - start < MaxWordLength && IsLetter(FRtf[FPos])) ++FPos;
  const std::string_view word = FRtf.substr(start, FPos - start);
  bool negative = false;
  if (FPos + 1 < size && FRtf[FPos] == '-' && IsDigit(FRtf[FPos + 1])) {
    negative = true;
    ++FPos;
  }
  long long parameter = 0;
  const std::size_t digitsStart = FPos;
  while (FPos < size && IsDigit(FRtf[FPos]) && FPos - digitsStart < MaxParameterDigits)
    parameter = parameter * 10 + (FRtf[FPos++] - '0');
  const bool hasParameter = FPos > digitsStart;
  if (FPos < size && FRtf[FPos] == ' ') ++FPos;
  if (negative) parameter = -parameter;
  parameter =
      std::clamp<long long>(parameter, -std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
  if (FSkipCharacters > 0) {
    --FSkipCharacters;
    return;
  }
  ApplyWord(word, hasParameter, int(parameter));
}

void TRtfReader::ApplyWord(std::string_view word, bool hasParameter, int parameter) {
  // The highlighter's runs are almost all colour changes: spare them the table search.
  if (word.size() == 2 && word[0] == 'c' && word[1] == 'f') {
    ApplyCharacterWord(wCf, hasParameter, parameter);
    return;
  }
  const TRtfWordEntry* entry = FindRtfWord(word);
  if (entry == nullptr) return;
  switch (entry->Word) {
    case wBreak: EmitBreak(); return;
    case wTab: EmitByte('\t'); return;
    case wByte: EmitByte(static_cast<unsigned char>(entry->Value)); return;
    case wU: ApplyUnicode(parameter); return;
    case wBin: FPos = std::min(FRtf.size(), FPos + std::size_t(std::max(parameter, 0))); return;
    case wSkip: State().Destination = TDestination::Skip; return;
    case wFontTable: State().Destination = TDestination::FontTable; return;
    case wColourTable: State().Destination = TDestination::ColourTable; return;
    case wFamily:
      if (State().Destination == TDestination::FontTable && !FDocument->Fonts.empty())
        FDocument->Fonts.back().Family = TRtfFamily(entry->Value);
      return;
    default:
      if (!ApplyTableWord(entry->Word, parameter)) ApplyCharacterWord(entry->Word, hasParameter, parameter);
      return;
  }
}

// Words that build the font and colour tables; false when the word is not one of them.
bool TRtfReader::ApplyTableWord(TRtfWord word, int parameter) {
  const TDestination destination = State().Destination;
  if (word == wF && destination == TDestination::FontTable) {
    FFontIndex.try_emplace(parameter, int(FDocument->Fonts.size()));
    FDocument->Fonts.emplace_back();
    FFontNameOpen = true;
    return true;
  }
  if (word == wRed || word == wGreen || word == wBlue) {
    const int value = std::clamp(parameter, 0, 255);
    (word == wRed ? FRed : word == wGreen ? FGreen : FBlue) = value;
    FColourGiven = true;
    return true;
  }
  if (word == wDeff) {
    FDefaultFont = parameter;
    CharacterFormatChanged();
    return true;
  }
  return false;
}

bool TRtfReader::ApplyCharacterWord(TRtfWord word, bool hasParameter, int parameter) {
  TGroupState& state = State();
  const bool on = !hasParameter || parameter != 0;
  switch (word) {
    case wCf:
      state.Cf = hasParameter ? parameter : 0;
      FFormatKnown = false;
      return true;
    case wF: state.FontNumber = parameter; break;
    case wFs: state.HalfPoints = hasParameter && parameter > 0 ? parameter : 24; break;
    case wB: state.Bold = on; break;
    case wI: state.Italic = on; break;
    case wUl: state.Underline = on; break;
    case wUlnone: state.Underline = false; break;
    case wUc: state.UnicodeSkip = std::max(parameter, 0); return true;
    case wPlain: {
      TGroupState plain;
      plain.UnicodeSkip = state.UnicodeSkip;
      plain.Destination = state.Destination;
      state = plain;
      break;
    }
    default: return false;
  }
  CharacterFormatChanged();
  return true;
}

void TRtfReader::ApplyUnicode(int parameter) {
  const char16_t unit = char16_t(parameter < 0 ? parameter + 65536 : parameter);
  if (unit >= 0xD800 && unit < 0xDC00) {
    FHighSurrogate = unit;
  } else if (unit >= 0xDC00 && unit < 0xE000 && FHighSurrogate != 0) {
    EmitCodePoint(0x10000 + ((char32_t(FHighSurrogate) - 0xD800) << 10) + (unit - 0xDC00));
    FHighSurrogate = 0;
  } else {
    if (FHighSurrogate != 0) EmitCodePoint(FHighSurrogate);
    FHighSurrogate = 0;
    EmitCodePoint(unit);
  }
  FSkipCharacters = std::size_t(State().UnicodeSkip);
}

void TRtfReader::EmitCodePoint(char32_t character) {
  const int byte = TCodePage::Byte(character);
  if (byte > 0) {
    EmitByte(static_cast<unsigned char>(byte));
    return;
  }
  std::string reference;
  TCodePage::AppendReference(reference, character);
  EmitText(reference.data(), reference.size());
}

// An escaped CR or LF is ignored like a raw one, so the text holds them only as the CR LF of a
// paragraph mark.
void TRtfReader::EmitByte(unsigned char byte) {
  if (byte == '\r' || byte == '\n') return;
  const char c = char(byte);
  EmitText(&c, 1);
}

void TRtfReader::EmitBreak() {
  if (State().Destination != TDestination::Text) return;
  if (FBreakPending) WriteBreak();
  FBreakPending = true;
}

void TRtfReader::WriteBreak() { AppendToText("\r\n", 2); }

void TRtfReader::EmitText(const char* bytes, std::size_t length) {
  if (FSkipCharacters > 0) {
    const std::size_t skipped = std::min(FSkipCharacters, length);
    FSkipCharacters -= skipped;
    bytes += skipped;
    length -= skipped;
    if (length == 0) return;
  }
  if (State().Destination == TDestination::Text) {
    if (FBreakPending) {
      FBreakPending = false;
      WriteBreak();
    }
    AppendToText(bytes, length);
  } else {
    AppendToTable(bytes, length);
  }
}

void TRtfReader::AppendToText(const char* bytes, std::size_t length) {
  AppendRun(CurrentFormat(), length);
  FDocument->Text.append(bytes, length);
}

// Runs cover the text without gaps, so a new run begins where the last one ends.
void TRtfReader::AppendRun(int format, std::size_t length) {
  std::vector<TRtfRun>& runs = FDocument->Runs;
  if (!runs.empty() && runs.back().Format == format) {
    runs.back().Length += length;
    return;
  }
  runs.push_back({runs.empty() ? 0 : runs.back().Start + runs.back().Length, length, format});
}

// Text inside the font table names the fonts; inside the colour table ";" ends each entry.
void TRtfReader::AppendToTable(const char* bytes, std::size_t length) {
  const TDestination destination = State().Destination;
  const char* const end = bytes + length;
  if (destination == TDestination::FontTable) {
    if (!FFontNameOpen || FDocument->Fonts.empty()) return;
    const char* const semicolon = std::find(bytes, end, ';');
    FDocument->Fonts.back().Name.append(bytes, semicolon);
    if (semicolon != end) FFontNameOpen = false;
  } else if (destination == TDestination::ColourTable) {
    for (const char* c = std::find(bytes, end, ';'); c != end; c = std::find(c + 1, end, ';')) {
      FDocument->Colours.push_back(FColourGiven ? (FRed << 16) | (FGreen << 8) | FBlue
                                                : TRtfFormat::DefaultColour);
      FRed = FGreen = FBlue = 0;
      FColourGiven = false;
    }
  }
}

int TRtfReader::CurrentFormat() {
  if (FFormatKnown) return FFormat;
  const TGroupState& state = State();
  const std::vector<std::int32_t>& colours = FDocument->Colours;
  // Slot 0 stands for every colour the table does not hold.
  const std::size_t slot =
      state.Cf >= 0 && std::size_t(state.Cf) < colours.size() ? std::size_t(state.Cf) + 1 : 0;
  if (FFormatOfColour.size() != colours.size() + 1) {
    FFormatOfColour.resize(colours.size() + 1, {0, 0});
    ++FFormatsMade;  // slot 0 may stand for fewer colours now
  }
  if (FFormatOfColour[slot].first != FFormatsMade) {
    TRtfFormat format;
    format.Colour = slot > 0 ? colours[slot - 1] : TRtfFormat::DefaultColour;
    format.Bold = state.Bold;
    format.Italic = state.Italic;
    format.Underline = state.Underline;
    format.Font = FontIndex(state.FontNumber >= 0 ? state.FontNumber : FDefaultFont);
    format.HalfPoints = state.HalfPoints;
    FFormatOfColour[slot] = {FFormatsMade, InternFormat(format)};
  }
  FFormat = FFormatOfColour[slot].second;
  FFormatKnown = true;
  return FFormat;
}

// Each distinct format once, found by its fields packed into a key.
int TRtfReader::InternFormat(const TRtfFormat& format) {
  std::vector<TRtfFormat>& formats = FDocument->Formats;
  const std::pair<std::uint64_t, std::uint64_t> key{
      std::uint64_t(std::uint32_t(format.Colour)) << 32 | std::uint32_t(format.Font),
      std::uint64_t(std::uint32_t(format.HalfPoints)) << 3 | std::uint64_t(format.Bold) |
          std::uint64_t(format.Italic) << 1 | std::uint64_t(format.Underline) << 2};
  const auto [found, added] = FFormatIndex.try_emplace(key, int(formats.size()));
  if (added) formats.push_back(format);
  return found->second;
}

int TRtfReader::FontIndex(int fontNumber) const {
  const auto found = FFontIndex.find(fontNumber);
  return found == FFontIndex.end() ? -1 : found->second;
}

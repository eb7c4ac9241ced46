#include "highlight/hltHTML.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "highlight/hltByteScan.h"
#include "highlight/hltCharClass.h"
#include "highlight/hltHTMLTables.h"

namespace {

// Colour indices into the table set at construction (0 is the fixed black).
constexpr int CommentColourIndex = 2;
constexpr int QuotedValueColourIndex = 6;
constexpr int ValueColourIndex = 10;
constexpr int DefaultColourIndex = 11;

constexpr int KindColorIndex[] = {
    11,  // htEntity
    1,   // htServerBlock
    2,   // htComment
    3,   // htName
    4,   // htListedTag
    11,  // htEnd
    5,   // htBlank
    6,   // htString
    7,   // htSymbol
    8,   // htText
    9,   // htUnlistedTag
    10,  // htValue
};

constexpr ThltColor TokenColors[] = {
    hltRGB(0, 128, 0), hltRGB(128, 0, 0), hltRGB(0, 0, 0),   hltRGB(0, 0, 255),
    hltRGB(0, 0, 0),   hltRGB(0, 128, 0), hltRGB(0, 0, 255), hltRGB(0, 0, 0),
    hltRGB(255, 0, 0), hltRGB(0, 0, 0),   hltRGB(0, 0, 0),
};

// Positions are 32-bit; the text up to its terminating NUL must fit.
constexpr std::size_t MaxTextSize = std::numeric_limits<std::int32_t>::max();

// The characters that end a run of each kind.
using TTextStops = ThltByteSet<ccTextStop, ' ', '<', '&'>;
using TQuoteStops = ThltByteSet<ccQuoteStop, 0, 0, '\n', '\r', '"'>;
using TBlockStops = ThltByteSet<ccBlockStop, 0, 0, '\n', '\r', '>'>;
using TNameStops = ThltByteSet<ccNameStop, ' ' + 1, '"', '=', '>'>;
using TValueStops = ThltByteSet<ccValueStop, ' ' + 1, '>'>;
using TEscapes = ThltByteSet<ccEscape, 0, '\\', '{', '}'>;

static_assert(TTextStops::AgreesWithClass() && TQuoteStops::AgreesWithClass() &&
              TBlockStops::AgreesWithClass() && TNameStops::AgreesWithClass() &&
              TValueStops::AgreesWithClass() && TEscapes::AgreesWithClass());

// Whether the text, after leading blanks and control characters, begins with
// "//": a line comment of a script or a protocol-relative address.
bool StartsWithDoubleSlash(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  return text.size() - i >= 2 && text[i] == '/' && text[i + 1] == '/';
}

// Most tokens hold nothing to escape, and most are short. readable is how
// many bytes may be read from the text's start, at least its size.
bool NeedsEscape(std::string_view text, std::size_t readable) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  if (size <= 16 && readable >= 16) return TEscapes::Mask16(bytes) & ((1u << size) - 1);
  std::size_t i = 0;
  for (; i + 16 <= size; i += 16)
    if (TEscapes::Mask16(bytes + i)) return true;
  if (size >= 16) return i < size && TEscapes::Mask16(bytes + size - 16);
  for (; i < size; ++i)
    if (hltHasClass(bytes[i], ccEscape)) return true;
  return false;
}

// Kept out of line so that the common case, nothing to escape, stays small.
[[gnu::noinline]] void Escape(std::string_view& text, std::string& scratch) {
  scratch.resize(2 * text.size());
  char* out = scratch.data();
  for (const char c : text) {
    if (hltHasClass(c, ccEscape)) *out++ = '\\';
    *out++ = c;
  }
  scratch.resize(static_cast<std::size_t>(out - scratch.data()));
  text = scratch;
}

}  // namespace

ThltHTMLRTF::ThltHTMLRTF() {
  BuildTagFuncs();
  BuildCharHandlers();
  SetColorTable(TokenColors, sizeof(TokenColors) / sizeof(TokenColors[0]));
}

void ThltHTMLRTF::BuildCharHandlers() {
  const struct {
    unsigned char Code;
    TCharHandler Handler;
  } special[] = {
      {0, &ThltHTMLRTF::ScanEnd},
      {'\n', &ThltHTMLRTF::ScanLineFeed},
      {'\r', &ThltHTMLRTF::ScanCarriageReturn},
      {'"', &ThltHTMLRTF::ScanQuoted},
      {'&', &ThltHTMLRTF::ScanEntity},
      {'<', &ThltHTMLRTF::ScanTagOpen},
      {'=', &ThltHTMLRTF::ScanEquals},
      {'>', &ThltHTMLRTF::ScanTagClose},
  };
  for (TCharHandler& handler : FCharHandlers) handler = &ThltHTMLRTF::ScanWord;
  for (int c = 1; c <= ' '; ++c) FCharHandlers[c] = &ThltHTMLRTF::ScanBlank;
  for (const auto& [code, handler] : special) FCharHandlers[code] = handler;
}

// The same document as the base writes, with this scanner's operations called directly.
void ThltHTMLRTF::WriteRTF(ThltStream& stream) { WriteDocument(*this, stream); }

void ThltHTMLRTF::EscapeText(std::string_view& text, std::string& scratch) {
  if (NeedsEscape(text, ReadableFrom(text))) Escape(text, scratch);
}

void ThltHTMLRTF::FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run) {
  int index = colorIndex;
  if (StartsWithDoubleSlash(text)) index = CommentColourIndex;
  if (colorIndex == ValueColourIndex && !text.empty() && text[0] == '"') index = QuotedValueColourIndex;
  AppendRun(run, index, text, ReadableFrom(text));
}

void ThltHTMLRTF::NextToken() {
  FTokenStart = FPos;
  switch (FState) {
    case ssServerBlock: ScanServerBlock(); break;
    case ssComment: ScanComment(); break;
    case ssText: ScanText(); break;
    default: ScanCurrentChar();
  }
}

bool ThltHTMLRTF::AtEnd() { return FTokenKind == htEnd; }

std::string_view ThltHTMLRTF::TokenText() {
  return {FText.data() + FTokenStart, static_cast<std::size_t>(FPos - FTokenStart)};
}

int ThltHTMLRTF::TokenColorIndex() {
  return FTokenKind < sizeof(KindColorIndex) / sizeof(KindColorIndex[0]) ? KindColorIndex[FTokenKind]
                                                                         : DefaultColourIndex;
}

void ThltHTMLRTF::BeginScan(const std::string& text, int lineNumber) {
  TakeText(text);
  FPos = 0;
  FLineNumber = lineNumber;
  NextToken();
}

ThltScanPoint ThltHTMLRTF::ScanPoint() const { return {FPos, FState, FPendingEntity, FTokenKind}; }

void ThltHTMLRTF::ResumeScan(const std::string& text, const ThltScanPoint& point) {
  TakeText(text);
  if (point.Pos < 0 || static_cast<std::size_t>(point.Pos) > text.size())
    throw std::out_of_range("scan point outside the HTML text");
  FPos = point.Pos;
  FState = point.State;
  FPendingEntity = point.PendingEntity;
  FTokenKind = point.TokenKind;
  NextToken();
}

void ThltHTMLRTF::TakeText(const std::string& text) {
  if (text.size() > MaxTextSize) throw std::length_error("HTML text too long to highlight");
  FText = std::string_view(text.c_str(), text.size());
}

const unsigned char* ThltHTMLRTF::Cursor() const {
  return reinterpret_cast<const unsigned char*>(FText.data()) + FPos;
}

const unsigned char* ThltHTMLRTF::ReadEnd() const {
  return reinterpret_cast<const unsigned char*>(FText.data()) + FText.size() + 1;
}

void ThltHTMLRTF::MoveTo(const unsigned char* position) {
  FPos = static_cast<std::int32_t>(position - reinterpret_cast<const unsigned char*>(FText.data()));
}

std::size_t ThltHTMLRTF::ReadableFrom(std::string_view text) const {
  const auto start = reinterpret_cast<std::uintptr_t>(text.data());
  const auto sourceStart = reinterpret_cast<std::uintptr_t>(FText.data());
  const auto sourceEnd = reinterpret_cast<std::uintptr_t>(ReadEnd());
  if (start >= sourceStart && start + text.size() <= sourceEnd) return sourceEnd - start;
  return text.size();
}

void ThltHTMLRTF::ScanCurrentChar() { (this->*FCharHandlers[*Cursor()])(); }

void ThltHTMLRTF::ScanEnd() { FTokenKind = htEnd; }

void ThltHTMLRTF::ScanLineFeed() {
  FTokenKind = htBlank;
  ++FPos;
}

void ThltHTMLRTF::ScanCarriageReturn() {
  FTokenKind = htBlank;
  ++FPos;
  if (FText.data()[FPos] == '\n') ++FPos;
}

void ThltHTMLRTF::ScanBlank() {
  FTokenKind = htBlank;
  const unsigned char* p = Cursor() + 1;
  while (hltHasClass(*p, ccBlankRun)) ++p;
  MoveTo(p);
}

void ThltHTMLRTF::ScanQuoted() {
  if (FState == ssValue) {
    FState = ssInTag;
    FTokenKind = htValue;
  } else {
    FTokenKind = htString;
  }
  const unsigned char* p = hltSkipToSet<TQuoteStops>(Cursor() + 1, ReadEnd());
  MoveTo(*p == '"' ? p + 1 : p);
}

void ThltHTMLRTF::ScanEntity() {
  // The pending entity was matched here by ScanText; checking it again
  // keeps a stale index from stepping past the end of another text.
  if (FPendingEntity >= 0 && FPendingEntity < EntityCount &&
      EntityMatches(FPendingEntity, FText.data() + FPos)) {
    FTokenKind = htEntity;
    FPos += static_cast<std::int32_t>(EntityNames[FPendingEntity].size());
  }
  FPendingEntity = -1;
  FState = ssText;
}

void ThltHTMLRTF::ScanTagOpen() {
  ++FPos;
  const char* next = FText.data() + FPos;
  if (next[0] == '!' && next[1] == '-' && next[2] == '-') {
    FState = ssComment;
    FTokenKind = htComment;
    FPos += 3;
  } else if (next[0] == '%') {
    FState = ssServerBlock;
    FTokenKind = htServerBlock;
    ++FPos;
  } else {
    FState = ssTagName;
    FTokenKind = htSymbol;
  }
}

void ThltHTMLRTF::ScanEquals() {
  FState = ssValue;
  FTokenKind = htSymbol;
  ++FPos;
}

void ThltHTMLRTF::ScanTagClose() {
  FState = ssText;
  FTokenKind = htSymbol;
  ++FPos;
}

void ThltHTMLRTF::ScanWord() {
  switch (FState) {
    case ssTagName:
      FState = ssInTag;
      FTokenKind = TagKind(FText.data() + FPos);
      FPos += FWordLength;
      break;
    case ssValue:
      FState = ssInTag;
      FTokenKind = htValue;
      MoveTo(hltSkipToSet<TValueStops>(Cursor() + 1, ReadEnd()));
      break;
    default: FTokenKind = htName; MoveTo(hltSkipToSet<TNameStops>(Cursor() + 1, ReadEnd()));
  }
}

void ThltHTMLRTF::ScanServerBlock() { ScanBlock(htServerBlock, "%"); }

void ThltHTMLRTF::ScanComment() { ScanBlock(htComment, "--"); }

// One line of a comment or server block: up to the line end, or past the
// first ">" that follows the end mark.
void ThltHTMLRTF::ScanBlock(THtmlTokenKind kind, std::string_view endMark) {
  FTokenKind = kind;
  const unsigned char* p = Cursor();
  if (*p == 0 || *p == '\n' || *p == '\r') {
    ScanCurrentChar();
    return;
  }
  const char* text = FText.data();
  for (;;) {
    const char* at = reinterpret_cast<const char*>(p);
    if (*p == '>' && static_cast<std::size_t>(at - text) >= endMark.size() &&
        std::string_view(at - endMark.size(), endMark.size()) == endMark) {
      ++p;
      FState = ssText;
      break;
    }
    p = hltSkipToSet<TBlockStops>(p + 1, ReadEnd());
    if (*p != '>') break;
  }
  MoveTo(p);
}

void ThltHTMLRTF::ScanText() {
  const unsigned char* p = Cursor();
  if (*p < ' ' || *p == '<') {
    ScanCurrentChar();
    return;
  }
  FTokenKind = htText;
  for (;;) {
    p = hltSkipToSet<TTextStops>(p, ReadEnd());
    if (*p != '&') break;
    const int entity = FindEntity(reinterpret_cast<const char*>(p));
    if (entity >= 0) {
      FPendingEntity = entity;
      FState = ssStart;
      break;
    }
    ++p;
  }
  MoveTo(p);
}

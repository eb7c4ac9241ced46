#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "highlight/hltSyntax.h"

// Token kinds of the HTML scanner; each has its own colour index.
enum THtmlTokenKind : std::uint8_t {
  htEntity,
  htServerBlock,
  htComment,
  htName,
  htListedTag,
  htEnd,
  htBlank,
  htString,
  htSymbol,
  htText,
  htUnlistedTag,
  htValue,
};

enum THtmlScanState : std::uint8_t {
  ssStart,        // at construction, and while an entity found ahead is pending
  ssServerBlock,  // inside "<%" ... "%>"
  ssComment,      // inside "<!--" ... "-->"
  ssTagName,      // right after "<"
  ssInTag,        // inside a tag after its name
  ssText,         // between tags
  ssValue,        // after "=" inside a tag
};

// Where the scanner stands between two tokens, and everything the next token's scan depends on
// besides the text: the state, an entity found ahead, and the kind of the token before (which a
// "&" that starts no entity leaves in place).
struct ThltScanPoint {
  std::int32_t Pos = 0;
  THtmlScanState State = ssStart;
  std::int32_t PendingEntity = -1;
  THtmlTokenKind TokenKind = htEntity;

  // Whether a scan from here goes on as a scan from other does, over the same text.
  bool SameStateAs(const ThltScanPoint& other) const {
    return State == other.State && PendingEntity == other.PendingEntity && TokenKind == other.TokenKind;
  }
};

// The values that tag-name hashing sums: "A" to "Z" and "a" to "z" 1 to 26,
// "/" 122, "!" 123, every other code 0. Built by the compiler, so it is in place
// before any code runs and only read afterwards.
extern const std::array<std::int32_t, 256> TagCharValue;

// The HTML highlighter: a character-driven scanner that splits the source
// text into tokens, each written as one coloured run. Tokens are slices of
// the source text; nothing is allocated while scanning.
class ThltHTMLRTF final : public ThltRTFSyntax {
public:
  ThltHTMLRTF();

  void EscapeText(std::string_view& text, std::string& scratch) override;
  void FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run) override;
  void NextToken() override;
  bool AtEnd() override;
  std::string_view TokenText() override;
  int TokenColorIndex() override;
  void BeginScan(const std::string& text, int lineNumber) override;
  void WriteRTF(ThltStream& stream) override;

  // Where the scan stands after the current token.
  ThltScanPoint ScanPoint() const;
  // Goes on scanning text from a point an earlier scan of the same bytes before it reached;
  // a fresh scanner starts from ThltScanPoint().
  void ResumeScan(const std::string& text, const ThltScanPoint& point);
  // Appends the run of the current token, as the document has it.
  void WriteToken(ThltRunBuffer& run, std::string& scratch) {
    ThltRTFSyntax::WriteToken(*this, run, scratch);
  }

  // Tag-name recognition. TagKind classifies the word at position as a
  // listed tag, an unlisted tag or a plain name and leaves its length in
  // FWordLength.
  THtmlTokenKind TagKind(const char* position);
  std::int32_t TagHash(const char* position);
  bool TagEquals(std::string_view name);
  THtmlTokenKind NoTag();
  std::int32_t WordLength() const { return FWordLength; }

  // The index of the first entity string that the text at position starts
  // with, ignoring the case of ASCII letters, or -1.
  static int FindEntity(const char* position);

  // Whether the text at position starts with entity string index (0 to 150).
  static bool EntityMatches(int index, const char* position);

private:
  using TCharHandler = void (ThltHTMLRTF::*)();
  using TTagFunc = THtmlTokenKind (ThltHTMLRTF::*)();

  void BuildTagFuncs();
  template <std::size_t... Slots>
  void BindTagSlots(std::index_sequence<Slots...>);
  template <std::size_t Slot>
  THtmlTokenKind MatchTagSlot();
  void BuildCharHandlers();

  void TakeText(const std::string& text);
  void ScanCurrentChar();
  void ScanEnd();
  void ScanLineFeed();
  void ScanCarriageReturn();
  void ScanBlank();
  void ScanQuoted();
  void ScanEntity();
  void ScanTagOpen();
  void ScanEquals();
  void ScanTagClose();
  void ScanWord();
  void ScanServerBlock();
  void ScanComment();
  void ScanBlock(THtmlTokenKind kind, std::string_view endMark);
  void ScanText();

  const unsigned char* Cursor() const;
  // One past the last byte of the source that may be read: its NUL.
  const unsigned char* ReadEnd() const;
  void MoveTo(const unsigned char* position);
  // How many bytes may be read from the start of text: up to the source's
  // end when text lies in the source, else its own size.
  std::size_t ReadableFrom(std::string_view text) const;

  std::int32_t FPendingEntity = -1;
  THtmlScanState FState = ssStart;
  std::string_view FText = "";
  TCharHandler FCharHandlers[256];
  std::int32_t FPos = 0;
  const char* FCompareCursor = nullptr;
  std::int32_t FWordLength = 0;
  const char* FWordStart = nullptr;
  TTagFunc FTagFuncs[244];
  std::int32_t FTokenStart = 0;
  THtmlTokenKind FTokenKind = htEntity;
  std::int32_t FLineNumber = 0;
};

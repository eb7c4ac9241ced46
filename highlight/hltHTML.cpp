#include "hltHTML.h"

#include "hltCharClass.h"
#include "hltHTMLTables.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// Colour indices into the table set at construction (0 is the fixed black).
constexpr int ciComment = 2;
constexpr int ciQuotedValue = 6;
constexpr int ciValue = 10;
constexpr int ciDefault = 11;

constexpr int KindColorIndex[] = {
    11, // htEntity
    1,  // htServerBlock
    2,  // htComment
    3,  // htName
    4,  // htListedTag
    11, // htEnd
    5,  // htBlank
    6,  // htString
    7,  // htSymbol
    8,  // htText
    9,  // htUnlistedTag
    10, // htValue
};

constexpr ThltColor TokenColors[] = {
    hltRGB(0, 128, 0), hltRGB(128, 0, 0), hltRGB(0, 0, 0),   hltRGB(0, 0, 255),
    hltRGB(0, 0, 0),   hltRGB(0, 128, 0), hltRGB(0, 0, 255), hltRGB(0, 0, 0),
    hltRGB(255, 0, 0), hltRGB(0, 0, 0),   hltRGB(0, 0, 0),
};

// Positions are 32-bit; the text up to its terminating NUL must fit.
constexpr std::size_t MaxTextSize = std::numeric_limits<std::int32_t>::max();

// Whether the text, after leading blanks and control characters, begins with
// "//": a line comment of a script or a protocol-relative address.
bool StartsWithDoubleSlash(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    return text.size() - i >= 2 && text[i] == '/' && text[i + 1] == '/';
}

// Most tokens hold nothing to escape; this finds out a word at a time and
// reads only the token's own bytes.
constexpr std::uint64_t EveryByte = 0x0101010101010101u;

constexpr bool HasZeroByte(std::uint64_t word)
{
    return ((word - EveryByte) & ~word & (EveryByte * 0x80)) != 0;
}

constexpr bool HasEscapeByte(std::uint64_t word)
{
    return HasZeroByte(word ^ (EveryByte * '\\')) || HasZeroByte(word ^ (EveryByte * '{')) ||
           HasZeroByte(word ^ (EveryByte * '}'));
}

template <class Word>
std::uint64_t LoadWord(const char* bytes)
{
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

bool NeedsEscape(std::string_view text)
{
    const char* bytes = text.data();
    const std::size_t size = text.size();
    if (size >= 8) {
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8)
            if (HasEscapeByte(LoadWord<std::uint64_t>(bytes + i)))
                return true;
        return i < size && HasEscapeByte(LoadWord<std::uint64_t>(bytes + size - 8));
    }
    // Shorter tokens are gathered into one word; the bytes left zero match
    // none of the three characters.
    std::uint64_t word = 0;
    if (size >= 4) {
        word = LoadWord<std::uint32_t>(bytes) | LoadWord<std::uint32_t>(bytes + size - 4) << 32;
    } else {
        for (std::size_t i = 0; i < size; ++i)
            word |= std::uint64_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return HasEscapeByte(word);
}

// Kept out of line so that the common case, nothing to escape, stays small.
[[gnu::noinline]] void Escape(std::string_view& text, std::string& scratch)
{
    scratch.clear();
    for (const char c : text) {
        if (hltHasClass(c, ccEscape))
            scratch.push_back('\\');
        scratch.push_back(c);
    }
    text = scratch;
}

} // namespace

ThltHTMLRTF::ThltHTMLRTF()
{
    BuildTagFuncs();
    BuildCharHandlers();
    SetColorTable(TokenColors, sizeof(TokenColors) / sizeof(TokenColors[0]));
}

void ThltHTMLRTF::BuildCharHandlers()
{
    const struct {
        unsigned char Code;
        TCharHandler Handler;
    } special[] = {
        {0, &ThltHTMLRTF::ScanEnd},         {'\n', &ThltHTMLRTF::ScanLineFeed},
        {'\r', &ThltHTMLRTF::ScanCarriageReturn}, {'"', &ThltHTMLRTF::ScanQuoted},
        {'&', &ThltHTMLRTF::ScanEntity},    {'<', &ThltHTMLRTF::ScanTagOpen},
        {'=', &ThltHTMLRTF::ScanEquals},    {'>', &ThltHTMLRTF::ScanTagClose},
    };
    for (TCharHandler& handler : FCharHandlers)
        handler = &ThltHTMLRTF::ScanWord;
    for (int c = 1; c <= ' '; ++c)
        FCharHandlers[c] = &ThltHTMLRTF::ScanBlank;
    for (const auto& [code, handler] : special)
        FCharHandlers[code] = handler;
}

void ThltHTMLRTF::EscapeText(std::string_view& text, std::string& scratch)
{
    if (NeedsEscape(text))
        Escape(text, scratch);
}

void ThltHTMLRTF::FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run)
{
    int index = colorIndex;
    if (StartsWithDoubleSlash(text))
        index = ciComment;
    if (colorIndex == ciValue && !text.empty() && text[0] == '"')
        index = ciQuotedValue;
    AppendRun(run, index, text);
}

void ThltHTMLRTF::NextToken()
{
    FTokenStart = FPos;
    switch (FState) {
    case ssServerBlock:
        ScanServerBlock();
        break;
    case ssComment:
        ScanComment();
        break;
    case ssText:
        ScanText();
        break;
    default:
        ScanCurrentChar();
    }
}

bool ThltHTMLRTF::AtEnd()
{
    return FTokenKind == htEnd;
}

std::string_view ThltHTMLRTF::TokenText()
{
    return {FText + FTokenStart, static_cast<std::size_t>(FPos - FTokenStart)};
}

int ThltHTMLRTF::TokenColorIndex()
{
    return FTokenKind < sizeof(KindColorIndex) / sizeof(KindColorIndex[0])
               ? KindColorIndex[FTokenKind]
               : ciDefault;
}

void ThltHTMLRTF::BeginScan(const std::string& text, int lineNumber)
{
    if (text.size() > MaxTextSize)
        throw std::length_error("HTML text too long to highlight");
    FText = text.c_str();
    FPos = 0;
    FLineNumber = lineNumber;
    NextToken();
}

const unsigned char* ThltHTMLRTF::Cursor() const
{
    return reinterpret_cast<const unsigned char*>(FText) + FPos;
}

void ThltHTMLRTF::MoveTo(const unsigned char* position)
{
    FPos = static_cast<std::int32_t>(position - reinterpret_cast<const unsigned char*>(FText));
}

void ThltHTMLRTF::StepOverWhile(std::uint16_t classBits)
{
    const unsigned char* p = Cursor();
    while (CharClasses[*p] & classBits)
        ++p;
    MoveTo(p);
}

void ThltHTMLRTF::StepOverUntil(std::uint16_t classBits)
{
    const unsigned char* p = Cursor();
    while (!(CharClasses[*p] & classBits))
        ++p;
    MoveTo(p);
}

void ThltHTMLRTF::ScanCurrentChar()
{
    (this->*FCharHandlers[*Cursor()])();
}

void ThltHTMLRTF::ScanEnd()
{
    FTokenKind = htEnd;
}

void ThltHTMLRTF::ScanLineFeed()
{
    FTokenKind = htBlank;
    ++FPos;
}

void ThltHTMLRTF::ScanCarriageReturn()
{
    FTokenKind = htBlank;
    ++FPos;
    if (FText[FPos] == '\n')
        ++FPos;
}

void ThltHTMLRTF::ScanBlank()
{
    FTokenKind = htBlank;
    ++FPos;
    StepOverWhile(ccBlankRun);
}

void ThltHTMLRTF::ScanQuoted()
{
    if (FState == ssValue) {
        FState = ssInTag;
        FTokenKind = htValue;
    } else {
        FTokenKind = htString;
    }
    ++FPos;
    StepOverUntil(ccQuoteStop);
    if (FText[FPos] == '"')
        ++FPos;
}

void ThltHTMLRTF::ScanEntity()
{
    // The pending entity was matched here by ScanText; checking it again
    // keeps a stale index from stepping past the end of another text.
    if (FPendingEntity >= 0 && FPendingEntity < EntityCount &&
        FindEntity(FText + FPos) == FPendingEntity) {
        FTokenKind = htEntity;
        FPos += static_cast<std::int32_t>(EntityNames[FPendingEntity].size());
    }
    FPendingEntity = -1;
    FState = ssText;
}

void ThltHTMLRTF::ScanTagOpen()
{
    ++FPos;
    const char* next = FText + FPos;
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

void ThltHTMLRTF::ScanEquals()
{
    FState = ssValue;
    FTokenKind = htSymbol;
    ++FPos;
}

void ThltHTMLRTF::ScanTagClose()
{
    FState = ssText;
    FTokenKind = htSymbol;
    ++FPos;
}

void ThltHTMLRTF::ScanWord()
{
    switch (FState) {
    case ssTagName:
        FState = ssInTag;
        FTokenKind = TagKind(FText + FPos);
        FPos += FWordLength;
        break;
    case ssValue:
        FState = ssInTag;
        FTokenKind = htValue;
        ++FPos;
        StepOverUntil(ccValueStop);
        break;
    default:
        FTokenKind = htName;
        ++FPos;
        StepOverUntil(ccNameStop);
    }
}

void ThltHTMLRTF::ScanServerBlock()
{
    ScanBlock(htServerBlock, "%");
}

void ThltHTMLRTF::ScanComment()
{
    ScanBlock(htComment, "--");
}

// One line of a comment or server block: up to the line end, or past the
// first ">" that follows the end mark.
void ThltHTMLRTF::ScanBlock(THtmlTokenKind kind, std::string_view endMark)
{
    FTokenKind = kind;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(FText);
    const unsigned char* p = Cursor();
    if (*p == 0 || *p == '\n' || *p == '\r') {
        ScanCurrentChar();
        return;
    }
    for (;;) {
        if (*p == '>' && static_cast<std::size_t>(p - text) >= endMark.size() &&
            std::string_view(reinterpret_cast<const char*>(p) - endMark.size(), endMark.size()) == endMark) {
            ++p;
            FState = ssText;
            break;
        }
        ++p;
        while (!(CharClasses[*p] & ccBlockStop))
            ++p;
        if (*p != '>')
            break;
    }
    MoveTo(p);
}

void ThltHTMLRTF::ScanText()
{
    const unsigned char* p = Cursor();
    if (*p < ' ' || *p == '<') {
        ScanCurrentChar();
        return;
    }
    FTokenKind = htText;
    for (;;) {
        while (!(CharClasses[*p] & ccTextStop))
            ++p;
        if (*p != '&')
            break;
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

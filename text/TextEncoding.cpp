#include "text/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

using TLabel = std::optional<std::string_view>;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t DeclarationWindow = 1024;

constexpr std::string_view Utf8Labels[] = {"utf-8", "utf8"};
// Latin-1 and ASCII pages are read as Windows-1252, which holds both.
constexpr std::string_view Windows1252Labels[] = {
    "ansi_x3.4-1968", "ascii",     "cp1252",       "cp819",      "csisolatin1",     "ibm819", "iso-8859-1",
    "iso-ir-100",     "iso8859-1", "iso88591",     "iso_8859-1", "iso_8859-1:1987", "l1",     "latin-1",
    "latin1",         "us-ascii",  "windows-1252", "x-cp1252"};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() &&
         std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) { return Lower(a) == b; });
}

bool StartsWithIgnoringCase(std::string_view text, std::size_t at, std::string_view lower) {
  return EqualsIgnoringCase(text.substr(at, lower.size()), lower);
}

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && IsSpace(text[at])) ++at;
  return at;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t begin = SkipSpaces(text, 0);
  std::size_t end = text.size();
  while (end > begin && IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A value in quotes runs to the closing quote, or to the end when there is none; else to a
// space or to one of the stops.
std::string_view ValueAt(std::string_view text, std::size_t& at, std::string_view stops) {
  const std::size_t begin = at;
  if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
    const std::size_t close = text.find(text[at], at + 1);
    at = close == std::string_view::npos ? text.size() : close + 1;
    return text.substr(begin + 1, std::min(close, text.size()) - begin - 1);
  }
  while (at < text.size() && !IsSpace(text[at]) && stops.find(text[at]) == std::string_view::npos) ++at;
  return text.substr(begin, at - begin);
}

// The attributes of a <meta> tag that can declare a charset; each counts the first time it
// appears, as in HTML.
struct TMetaTag {
  TLabel Charset;
  TLabel HttpEquiv;
  TLabel Content;
};

// Reads attributes from just after "<meta" to the tag's closing '>', even when that lies past the
// first 1024 bytes: a tag that begins within them counts whole. Leaves `at` on that '>', or at the
// end when there is none, so that no byte is read twice.
TMetaTag ReadMetaTag(std::string_view bytes, std::size_t& at) {
  TMetaTag tag;
  while (true) {
    while (at < bytes.size() && (IsSpace(bytes[at]) || bytes[at] == '/')) ++at;
    if (at >= bytes.size() || bytes[at] == '>') return tag;
    const std::size_t nameBegin = at++;  // a name has at least one character, even '='
    while (at < bytes.size() && !IsSpace(bytes[at]) && bytes[at] != '/' && bytes[at] != '>' &&
           bytes[at] != '=')
      ++at;
    const std::string_view name = bytes.substr(nameBegin, at - nameBegin);
    std::string_view value;
    const std::size_t afterName = SkipSpaces(bytes, at);
    if (afterName < bytes.size() && bytes[afterName] == '=') {
      at = SkipSpaces(bytes, afterName + 1);
      value = ValueAt(bytes, at, ">");
    }
    TLabel* attribute = EqualsIgnoringCase(name, "charset")      ? &tag.Charset
                        : EqualsIgnoringCase(name, "http-equiv") ? &tag.HttpEquiv
                        : EqualsIgnoringCase(name, "content")    ? &tag.Content
                                                                 : nullptr;
    if (attribute != nullptr && !*attribute) *attribute = value;
  }
}

// The charset in a Content-Type such as "text/html; charset=utf-8", quoted or not.
TLabel CharsetOfContent(std::string_view content) {
  for (std::size_t at = 0; at < content.size(); ++at) {
    if (!StartsWithIgnoringCase(content, at, "charset")) continue;
    std::size_t value = SkipSpaces(content, at + 7);
    if (value >= content.size() || content[value] != '=') continue;
    value = SkipSpaces(content, value + 1);
    return ValueAt(content, value, ";");
  }
  return std::nullopt;
}

TLabel DeclaredCharset(const TMetaTag& tag) {
  if (tag.Charset) return tag.Charset;
  if (tag.HttpEquiv && tag.Content && EqualsIgnoringCase(Trimmed(*tag.HttpEquiv), "content-type"))
    return CharsetOfContent(*tag.Content);
  return std::nullopt;
}

template <std::size_t Size>
bool IsOneOf(std::string_view label, const std::string_view (&labels)[Size]) {
  return std::any_of(labels, labels + Size,
                     [&](std::string_view known) { return EqualsIgnoringCase(label, known); });
}

std::optional<TTextEncoding> EncodingOfLabel(std::string_view label) {
  label = Trimmed(label);
  if (IsOneOf(label, Utf8Labels)) return TTextEncoding::Utf8;
  if (IsOneOf(label, Windows1252Labels)) return TTextEncoding::Windows1252;
  return std::nullopt;
}

bool BeginsMetaTag(std::string_view bytes, std::size_t at) {
  const std::size_t after = at + 5;
  return StartsWithIgnoringCase(bytes, at, "<meta") && after < bytes.size() &&
         (IsSpace(bytes[after]) || bytes[after] == '/' || bytes[after] == '>');
}

// The encoding the first declaration names, or none when that declaration names another one or
// there is none. A comment is passed over whole, so a declaration inside it never counts.
std::optional<TTextEncoding> DeclaredEncoding(std::string_view bytes) {
  const std::size_t window = std::min(bytes.size(), DeclarationWindow);
  for (std::size_t at = bytes.find('<'); at < window; at = bytes.find('<', at + 1)) {
    if (bytes.compare(at, 4, "<!--") == 0) {
      const std::size_t close = bytes.find("-->", at + 4);
      if (close == std::string_view::npos) return std::nullopt;
      at = close + 2;
    } else if (BeginsMetaTag(bytes, at)) {
      at += 5;
      const TLabel charset = DeclaredCharset(ReadMetaTag(bytes, at));
      if (charset) return EncodingOfLabel(*charset);
    }
  }
  return std::nullopt;
}

// What may follow a lead byte: its character's length and the range of the second byte, which
// rules out overlong forms, surrogates and what lies above U+10FFFF.
struct TLead {
  std::size_t Length;
  unsigned char Low, High;
};

constexpr TLead LeadOf(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

TEncodingDecision DecideEncoding(std::string_view bytes) {
  if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
    // Not UTF-8 after all: the mark's three bytes are then text like the rest.
    if (IsValidUtf8(bytes.substr(ByteOrderMark.size()))) return {TTextEncoding::Utf8, true};
    return {TTextEncoding::Windows1252, false};
  }
  // A page that declares UTF-8 but is not is read as Windows-1252, which loses no byte.
  if (DeclaredEncoding(bytes) == TTextEncoding::Windows1252 || !IsValidUtf8(bytes))
    return {TTextEncoding::Windows1252, false};
  return {TTextEncoding::Utf8, false};
}

bool IsValidUtf8(std::string_view bytes) noexcept {
  for (std::size_t at = EndOfAscii(bytes, 0); at < bytes.size(); at = EndOfAscii(bytes, at)) {
    const std::size_t length = Utf8CharacterLength(bytes, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

const char* EncodingName(TTextEncoding encoding) noexcept {
  return encoding == TTextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

const char* CharsetName(TTextEncoding encoding) noexcept {
  return encoding == TTextEncoding::Utf8 ? "utf-8" : "windows-1252";
}

std::size_t Utf8CharacterLength(std::string_view bytes, std::size_t at) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  if (byte(0) < 0x80) return 1;
  const TLead lead = LeadOf(byte(0));
  if (lead.Length == 0 || bytes.size() - at < lead.Length) return 0;
  if (byte(1) < lead.Low || byte(1) > lead.High) return 0;
  for (std::size_t i = 2; i < lead.Length; ++i)
    if (!IsContinuation(byte(i))) return 0;
  return lead.Length;
}

// Eight bytes at a time while none has its high bit set, then byte by byte to the one that has.
std::size_t EndOfAscii(std::string_view bytes, std::size_t from) noexcept {
  constexpr std::uint64_t HighBits = 0x8080808080808080u;
  std::size_t at = from;
  for (std::uint64_t word = 0; at + sizeof word <= bytes.size(); at += sizeof word) {
    std::memcpy(&word, bytes.data() + at, sizeof word);
    if ((word & HighBits) != 0) break;
  }
  while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) ++at;
  return at;
}

std::size_t EncodeUtf8(char32_t character, char* out) noexcept {
  static constexpr unsigned char LeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
  const int continuations = character < 0x80 ? 0 : character < 0x800 ? 1 : character < 0x10000 ? 2 : 3;
  out[0] = static_cast<char>(LeadMarks[continuations] | character >> (6 * continuations));
  for (int i = 1; i <= continuations; ++i)
    out[i] = static_cast<char>(0x80 | (character >> (6 * (continuations - i)) & 0x3F));
  return std::size_t(continuations) + 1;
}

#include "text/TextSearch.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/CodePage.h"

namespace {

using TPosition = std::optional<std::size_t>;

struct TRange {
  std::size_t Begin, End;
};

// ASCII letters fold in a loop the compiler runs many bytes at a time. Tells whether it met a
// byte above 127.
bool FoldAsciiLetters(std::string& text) {
  bool high = false;
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    c = static_cast<char>(byte - (static_cast<unsigned char>(byte - 'a') < 26 ? 0x20 : 0));
    high |= byte >= 0x80;
  }
  return high;
}

// The few bytes above 127 go through the code page's table.
std::string FoldedWindows1252(std::string_view text) {
  std::string folded(text);
  if (FoldAsciiLetters(folded))
    for (char& c : folded)
      if (static_cast<unsigned char>(c) >= 0x80)
        c = static_cast<char>(TCodePage::UpperCase(static_cast<unsigned char>(c)));
  return folded;
}

// The simple upper case of a character beyond ASCII, from the C library's UTF-8 locale, which
// every Debian system has; it is made once and kept for the program's life. Without it such
// characters stay as they are and only ASCII letters fold, rather than the search failing.
char32_t UpperCase(char32_t character) {
  static const locale_t Utf8Locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (Utf8Locale == locale_t{}) return character;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(character), Utf8Locale));
}

// A valid UTF-8 character of two to four bytes.
char32_t DecodeUtf8(std::string_view character) {
  static constexpr unsigned char LeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = static_cast<unsigned char>(character[0]) & LeadBits[character.size()];
  for (std::size_t i = 1; i < character.size(); ++i)
    code = code << 6 | (static_cast<unsigned char>(character[i]) & 0x3F);
  return code;
}

void AppendUtf8(std::string& out, char32_t code) {
  char bytes[4];
  out.append(bytes, EncodeUtf8(code, bytes));
}

// Whether a character begins at `at`, the end counting as one: a continuation byte begins a
// character only when none of the three bytes before it begins a valid one that covers it.
bool BeginsCharacter(std::string_view text, std::size_t at) {
  if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return true;
  for (std::size_t back = 1; back <= 3 && back <= at; ++back)
    if (Utf8CharacterLength(text, at - back) > back) return false;
  return true;
}

// A text or a pattern folded as the options say, reversed for a search up, and the way back to
// the original's positions. In UTF-8 a character's upper case may be longer or shorter than the
// character (ı to I, ⱥ to Ⱥ); only those characters are noted, so most texts map one to one.
class TFolding {
public:
  TFolding(std::string_view original, const TSearchOptions& options, bool reversed)
      : FOriginal(original), FUtf8(options.Encoding == TTextEncoding::Utf8), FText(original) {
    if (options.MatchCase && !reversed) return;
    FOwn = options.MatchCase ? std::string(original)
           : FUtf8           ? FoldedUtf8(original)
                             : FoldedWindows1252(original);
    if (reversed) std::reverse(FOwn.begin(), FOwn.end());
    FText = FOwn;
  }
  TFolding(const TFolding&) = delete;
  TFolding& operator=(const TFolding&) = delete;

  std::string_view Text() const { return FText; }

  // Where the folded bytes from `at` came from, when they begin and end between characters there.
  std::optional<TRange> OriginalRange(std::size_t at, std::size_t length) const {
    const TPosition begin = OriginalPosition(at), end = OriginalPosition(at + length);
    if (!begin || !end) return std::nullopt;
    if (FUtf8 && !(BeginsCharacter(FOriginal, *begin) && BeginsCharacter(FOriginal, *end)))
      return std::nullopt;
    return TRange{*begin, *end};
  }

  // The folded position of a place between the original's characters.
  std::size_t FoldedPosition(std::size_t original) const {
    const auto after =
        std::upper_bound(FChanges.begin(), FChanges.end(), original,
                         [](std::size_t at, const TChange& change) { return at < change.Original; });
    if (after == FChanges.begin()) return original;
    const TChange& change = *std::prev(after);
    return original < change.OriginalEnd ? change.Folded : original - change.OriginalEnd + change.FoldedEnd;
  }

private:
  // A character whose upper case has another length.
  struct TChange {
    std::size_t Original, OriginalEnd, Folded, FoldedEnd;
  };

  // None inside the upper case of a character that changed length.
  TPosition OriginalPosition(std::size_t folded) const {
    const auto after =
        std::upper_bound(FChanges.begin(), FChanges.end(), folded,
                         [](std::size_t at, const TChange& change) { return at < change.Folded; });
    if (after == FChanges.begin()) return folded;
    const TChange& change = *std::prev(after);
    if (folded < change.FoldedEnd) return folded == change.Folded ? TPosition(change.Original) : std::nullopt;
    return folded - change.FoldedEnd + change.OriginalEnd;
  }

  // Runs of ASCII are copied whole and their letters folded in one pass at the end; every other
  // character goes through its upper case, and a byte that is not UTF-8 stays as it is.
  std::string FoldedUtf8(std::string_view original) {
    std::string folded;
    folded.reserve(original.size());
    for (std::size_t at = 0; at < original.size();) {
      const std::size_t ascii = EndOfAscii(original, at);
      folded.append(original.substr(at, ascii - at));
      at = ascii;
      if (at == original.size()) break;
      const std::size_t length = Utf8CharacterLength(original, at);
      if (length == 0) {
        folded += original[at++];
        continue;
      }
      const std::size_t foldedAt = folded.size();
      AppendUtf8(folded, UpperCase(DecodeUtf8(original.substr(at, length))));
      if (folded.size() - foldedAt != length) FChanges.push_back({at, at + length, foldedAt, folded.size()});
      at += length;
    }
    FoldAsciiLetters(folded);
    return folded;
  }

  std::string_view FOriginal;
  bool FUtf8;
  std::vector<TChange> FChanges;
  std::string FOwn;
  std::string_view FText;
};

// Finds a pattern in a text again and again from different places. The C library's memmem is
// linear in the text whatever the pattern, and compares many bytes at a time.
class TFinder {
public:
  TFinder(std::string_view text, std::string_view pattern) : FText(text), FPattern(pattern) {}

  // The first occurrence at or after from.
  TPosition From(std::size_t from) const {
    if (from > FText.size()) return std::nullopt;
    const void* found = ::memmem(FText.data() + from, FText.size() - from, FPattern.data(), FPattern.size());
    if (found == nullptr) return std::nullopt;
    return std::size_t(static_cast<const char*>(found) - FText.data());
  }

private:
  std::string_view FText;
  std::string_view FPattern;
};

class TWords {
public:
  explicit TWords(std::string_view text) : FText(text) {}

  // A word begins after a delimiter; the text's first byte begins none that a search can find.
  bool BeginsWord(std::size_t at) const {
    return at > 0 && at < FText.size() && IsWordDelimiter(Byte(at - 1)) && !IsWordDelimiter(Byte(at));
  }
  // The end of the text counts as a delimiter.
  bool EndsWord(std::size_t at) const { return at >= FText.size() || IsWordDelimiter(Byte(at)); }
  TPosition NextWord(std::size_t after) const {
    for (std::size_t at = after + 1; at < FText.size(); ++at)
      if (BeginsWord(at)) return at;
    return std::nullopt;
  }
  TPosition PreviousWord(std::size_t before) const {
    for (std::size_t at = before; at-- > 1;)
      if (BeginsWord(at)) return at;
    return std::nullopt;
  }

private:
  unsigned char Byte(std::size_t at) const { return static_cast<unsigned char>(FText[at]); }
  std::string_view FText;
};

// Down from start: the first match at or after it; with whole word, the first after it. In UTF-8
// the text is folded from the first character that begins at or after start.
std::optional<TRange> SearchDown(std::string_view text, std::size_t start, std::string_view pattern,
                                 const TSearchOptions& options) {
  std::size_t begin = start;
  if (options.Encoding == TTextEncoding::Utf8)
    while (!BeginsCharacter(text, begin)) ++begin;
  const TFolding rest(text.substr(begin), options, false);
  const TFolding folded(pattern, options, false);
  const TFinder finder(rest.Text(), folded.Text());
  const TWords words(text);
  for (TPosition from = 0; from;) {
    const TPosition found = finder.From(*from);
    if (!found) return std::nullopt;
    const std::optional<TRange> match = rest.OriginalRange(*found, folded.Text().size());
    if (!match) {
      from = *found + 1;
      continue;
    }
    const TRange inText{begin + match->Begin, begin + match->End};
    const std::size_t at = inText.Begin;
    if (!options.WholeWord) return inText;
    if (at > start && words.BeginsWord(at) && words.EndsWord(inText.End)) return inText;
    const TPosition next = words.NextWord(at);
    from = next ? TPosition(rest.FoldedPosition(*next - begin)) : std::nullopt;
  }
  return std::nullopt;
}

// Up from end: the last match that ends at or before it, found as the first of the reversed
// pattern in the reversed text. In UTF-8 the text is folded up to the last character that ends
// at or before end.
std::optional<TRange> SearchUp(std::string_view text, std::size_t end, std::string_view pattern,
                               const TSearchOptions& options) {
  if (options.Encoding == TTextEncoding::Utf8)
    while (!BeginsCharacter(text, end)) --end;
  const TFolding head(text.substr(0, end), options, true);
  const TFolding folded(pattern, options, true);
  const std::size_t length = folded.Text().size();
  if (head.Text().size() < length) return std::nullopt;
  const std::size_t last = head.Text().size() - length;  // the last place a match fits
  const TFinder finder(head.Text(), folded.Text());
  const TWords words(text);
  for (TPosition limit = last; limit;) {
    const TPosition found = finder.From(last - *limit);
    if (!found) return std::nullopt;
    const std::size_t at = last - *found;
    const std::optional<TRange> match = head.OriginalRange(at, length);
    if (!match) {
      limit = at > 0 ? TPosition(at - 1) : std::nullopt;
      continue;
    }
    if (!options.WholeWord || (words.BeginsWord(match->Begin) && words.EndsWord(match->End))) return match;
    const TPosition previous = words.PreviousWord(match->Begin);
    limit = previous ? TPosition(std::min(head.FoldedPosition(*previous), last)) : std::nullopt;
  }
  return std::nullopt;
}

// The dialog's budget of positions in 8-bit text, where a match is as long as the pattern: down
// from the selection's end with room for the whole pattern, up from where a match would end at
// the selection's start. A UTF-8 match may be longer or shorter than the pattern, so there only
// the selection's ends count.
bool WithinBudget(std::size_t textSize, std::size_t selStart, std::size_t selLength, std::size_t findSize,
                  bool down) {
  const long long n = static_cast<long long>(textSize);
  const long long m = static_cast<long long>(findSize);
  const long long start =
      down ? static_cast<long long>(selStart + selLength) : static_cast<long long>(selStart) - m;
  const long long count = down ? n - start - m + 1 : start + 1;
  return count > 0 && start >= 0 && start <= n;
}

}  // namespace

bool IsWordDelimiter(unsigned char byte) noexcept {
  return !((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'));
}

std::optional<TSearchMatch> SearchMatch(std::string_view text, std::size_t selStart, std::size_t selLength,
                                        std::string_view findText, const TSearchOptions& options) {
  if (findText.empty() || text.empty()) return std::nullopt;
  if (options.Encoding == TTextEncoding::Windows1252 &&
      !WithinBudget(text.size(), selStart, selLength, findText.size(), options.Down))
    return std::nullopt;
  const std::size_t start = selStart + selLength;
  const std::optional<TRange> found = !options.Down
                                          ? SearchUp(text, std::min(selStart, text.size()), findText, options)
                                      : start < text.size() ? SearchDown(text, start, findText, options)
                                                            : std::nullopt;
  if (!found) return std::nullopt;
  return TSearchMatch{found->Begin, found->End - found->Begin};
}

TPosition SearchText(std::string_view text, std::size_t selStart, std::size_t selLength,
                     std::string_view findText, const TSearchOptions& options) {
  const std::optional<TSearchMatch> match = SearchMatch(text, selStart, selLength, findText, options);
  return match ? TPosition(match->Start) : std::nullopt;
}

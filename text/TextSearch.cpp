#include "text/TextSearch.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "text/CodePage.h"

namespace {

using TPosition = std::optional<std::size_t>;

// ASCII letters fold in a loop the compiler runs many bytes at a time; the few bytes above 127
// then go through the code page's table.
std::string Folded(std::string_view text, bool matchCase) {
  std::string folded(text);
  if (matchCase) return folded;
  bool high = false;
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    c = static_cast<char>(byte - (static_cast<unsigned char>(byte - 'a') < 26 ? 0x20 : 0));
    high |= byte >= 0x80;
  }
  if (high)
    for (char& c : folded)
      if (static_cast<unsigned char>(c) >= 0x80)
        c = static_cast<char>(TCodePage::UpperCase(static_cast<unsigned char>(c)));
  return folded;
}

// Finds a pattern in a text again and again from different places. The C library's memmem is
// linear in the text whatever the pattern, and compares many bytes at a time.
class TFinder {
public:
  TFinder(std::string_view text, std::string_view pattern) : FText(text), FPattern(pattern) {}
  // Over a text and pattern of its own, folded as the options say.
  TFinder(std::string text, std::string pattern)
      : FOwnText(std::move(text)), FOwnPattern(std::move(pattern)), FText(FOwnText), FPattern(FOwnPattern) {}
  TFinder(const TFinder&) = delete;
  TFinder& operator=(const TFinder&) = delete;

  // The first occurrence at or after from.
  TPosition From(std::size_t from) const {
    if (from > FText.size()) return std::nullopt;
    const void* found = ::memmem(FText.data() + from, FText.size() - from, FPattern.data(), FPattern.size());
    if (found == nullptr) return std::nullopt;
    return std::size_t(static_cast<const char*>(found) - FText.data());
  }

private:
  std::string FOwnText;
  std::string FOwnPattern;
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

// Down from start: the first match at or after it; with whole word, the first after it.
TPosition SearchDown(std::string_view text, std::size_t start, std::string_view pattern,
                     const TSearchOptions& options) {
  const std::string_view rest = text.substr(start);
  const TFinder finder =
      options.MatchCase ? TFinder(rest, pattern) : TFinder(Folded(rest, false), Folded(pattern, false));
  if (!options.WholeWord) {
    const TPosition found = finder.From(0);
    return found ? TPosition(start + *found) : std::nullopt;
  }
  const TWords words(text);
  for (TPosition from = start + 1; from;) {
    const TPosition found = finder.From(*from - start);
    if (!found) return std::nullopt;
    const std::size_t at = start + *found;
    if (words.BeginsWord(at) && words.EndsWord(at + pattern.size())) return at;
    from = words.NextWord(at);
  }
  return std::nullopt;
}

// Up from start: the last match at or before it, found as the first of the reversed pattern in
// the reversed text that ends where a match could end.
TPosition SearchUp(std::string_view text, std::size_t start, std::string_view pattern,
                   const TSearchOptions& options) {
  const std::size_t length = std::min(start + pattern.size(), text.size());
  if (length < pattern.size()) return std::nullopt;
  const std::size_t last = length - pattern.size();  // the last place a match fits
  std::string reversedText = Folded(text.substr(0, length), options.MatchCase);
  std::string reversedPattern = Folded(pattern, options.MatchCase);
  std::reverse(reversedText.begin(), reversedText.end());
  std::reverse(reversedPattern.begin(), reversedPattern.end());
  const TFinder finder(std::move(reversedText), std::move(reversedPattern));
  const TWords words(text);
  for (TPosition limit = std::min(start, last); limit;) {
    const TPosition found = finder.From(last - *limit);
    if (!found) return std::nullopt;
    const std::size_t at = last - *found;
    if (!options.WholeWord || (words.BeginsWord(at) && words.EndsWord(at + pattern.size()))) return at;
    limit = words.PreviousWord(at);
  }
  return std::nullopt;
}

}  // namespace

bool IsWordDelimiter(unsigned char byte) noexcept {
  return !((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'));
}

// The start and the budget of positions as the dialog counts them: down from the selection's
// end, with room for the whole pattern; up from where a match would end at the selection's start.
TPosition SearchText(std::string_view text, std::size_t selStart, std::size_t selLength,
                     std::string_view findText, const TSearchOptions& options) {
  const long long n = static_cast<long long>(text.size());
  const long long m = static_cast<long long>(findText.size());
  if (m == 0 || n == 0) return std::nullopt;
  const long long start =
      options.Down ? static_cast<long long>(selStart + selLength) : static_cast<long long>(selStart) - m;
  const long long count = options.Down ? n - start - m + 1 : start + 1;
  if (count <= 0 || start < 0 || start > n) return std::nullopt;
  return options.Down ? SearchDown(text, std::size_t(start), findText, options)
                      : SearchUp(text, std::size_t(start), findText, options);
}

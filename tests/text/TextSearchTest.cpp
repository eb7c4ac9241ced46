#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/CodePage.h"
#include "text/TextSearch.h"

namespace {

// The search exactly as the find dialog's description gives it, one position at a time.
long long TranscribedSearch(const std::string& t, long long s, long long l, const std::string& p,
                            const TSearchOptions& o) {
  const long long n = static_cast<long long>(t.size()), m = static_cast<long long>(p.size());
  if (m == 0 || n == 0) return -1;
  const auto at = [&](long long i) { return i < n ? static_cast<unsigned char>(t[std::size_t(i)]) : 0; };
  const auto fold = [&](unsigned char c) { return o.MatchCase ? c : TCodePage::UpperCase(c); };
  long long start, count;
  if (o.Down) {
    start = s + l;
    count = n - start - m + 1;
    if (count < 0) return -1;
  } else {
    start = s - m;
    count = start + 1;
  }
  if (start < 0 || start > n) return -1;
  long long pos = start;
  const long long step = o.Down ? 1 : -1;
  while (count > 0) {
    if (o.WholeWord) {
      if (o.Down) {
        while (count > 0 && !IsWordDelimiter(at(pos))) ++pos, --count;
        while (count > 0 && IsWordDelimiter(at(pos))) ++pos, --count;
        if (count <= 0) return -1;
      } else {
        while (count > 0 && IsWordDelimiter(at(pos))) --pos, --count;
        while (count > 0 && !IsWordDelimiter(at(pos))) --pos, --count;
        const bool moved = count > 0;
        ++pos, ++count;
        if (!moved) return -1;
      }
    }
    long long i = 0;
    while (i < m && fold(at(pos + i)) == fold(static_cast<unsigned char>(p[std::size_t(i)]))) ++i;
    if (i == m && (!o.WholeWord || IsWordDelimiter(at(pos + m)))) return pos;
    pos += step;
    --count;
  }
  return -1;
}

long long Search(const std::string& text, long long s, long long l, const std::string& p,
                 const TSearchOptions& o) {
  const std::optional<std::size_t> found = SearchText(text, std::size_t(s), std::size_t(l), p, o);
  return found ? static_cast<long long>(*found) : -1;
}

constexpr TSearchOptions Down{true, false, false}, Up{false, false, false};
constexpr TSearchOptions DownCase{true, true, false}, DownWord{true, false, true}, UpWord{false, false, true};

TEST(TextSearch, TheDialogsCases) {
  struct TCase {
    const char* Text;
    long long SelStart, SelLength;
    const char* Find;
    TSearchOptions Options;
    long long Expected;
  } cases[] = {
      {"foo foo", 0, 0, "foo", Down, 0},  // the first, then the second after selecting it
      {"foo foo", 0, 3, "foo", Down, 4},
      {"foo foo", 4, 3, "foo", Down, -1},  // no wrap-around
      {"aaaa", 0, 0, "aa", Down, 0},       // overlapping: 0, then 2, then nothing
      {"aaaa", 0, 2, "aa", Down, 2},
      {"aaaa", 2, 2, "aa", Down, -1},
      {"foo foo", 4, 3, "foo", Up, 0},  // up: the match must end at or before the selection's start
      {"foo foo", 2, 0, "foo", Up, -1},
      {"xx FOO", 0, 0, "foo", Down, 3},  // case folds unless it must match
      {"xx FOO", 0, 0, "foo", DownCase, -1},
      {"caf\xC9", 0, 0, "caf\xE9", Down, 0},  // é folds to É
      {"\xDF\xB5", 0, 0, "\xDF\xB5", Down, 0},
      {"SS\xCC", 0, 0, "\xDF\xEC", Down, -1},   // ß and µ stay
      {"\x9F\x8A", 0, 0, "\xFF\x9A", Down, 0},  // ÿ to Ÿ and š to Š
      {"my_var", 0, 0, "var", DownWord, 3},     // the underscore is a delimiter
      {"vars", 0, 0, "var", DownWord, -1},
      {"x2", 0, 0, "2", DownWord, -1},
      {"var x", 0, 0, "var", DownWord, -1},  // a word at the start position is passed over
      {" var", 0, 0, "var", DownWord, 1},
      {"var x", 5, 0, "var", UpWord, -1},  // up never finds a word at position 0
      {"a var", 5, 0, "var", UpWord, 2},
      {"ab\r\ncd", 0, 0, "cd", Down, 4},  // CR LF counts two
      {"", 0, 0, "x", Down, -1},
      {"abc", 0, 0, "", Down, -1},
      {"abc", 3, 0, "c", Down, -1},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Search(c.Text, c.SelStart, c.SelLength, c.Find, c.Options), c.Expected)
        << c.Text << " / " << c.Find << " at " << c.SelStart << "+" << c.SelLength;
    EXPECT_EQ(TranscribedSearch(c.Text, c.SelStart, c.SelLength, c.Find, c.Options), c.Expected) << c.Text;
  }
}

TEST(TextSearch, GivesTheTranscribedLoopsPositionForRandomTextsPatternsAndOptions) {
  std::mt19937 random(4711);
  const std::string alphabet = "aAbB _1\xE9\xC9\r\n.";
  const auto pick = [&](std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = pick(random() % 40);
    std::string pattern = random() % 3 == 0 && !text.empty()
                              ? text.substr(random() % text.size(), 1 + random() % 4)
                              : pick(random() % 4);
    const long long s = static_cast<long long>(random() % (text.size() + 2));
    const long long l = static_cast<long long>(random() % 3);
    for (int bits = 0; bits < 8; ++bits) {
      const TSearchOptions o{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
      ASSERT_EQ(Search(text, s, l, pattern, o), TranscribedSearch(text, s, l, pattern, o))
          << "text '" << text << "' find '" << pattern << "' at " << s << "+" << l << " options " << bits;
    }
  }
}

}  // namespace

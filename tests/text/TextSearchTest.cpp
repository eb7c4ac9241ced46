#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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

constexpr TTextEncoding Utf8 = TTextEncoding::Utf8;
constexpr TSearchOptions Utf8Down{true, false, false, Utf8}, Utf8Up{false, false, false, Utf8};
constexpr TSearchOptions Utf8DownCase{true, true, false, Utf8}, Utf8UpCase{false, true, false, Utf8};
constexpr TSearchOptions Utf8DownWord{true, false, true, Utf8}, Utf8UpWord{false, false, true, Utf8};

TEST(TextSearch, Utf8FoldsEachCharacterAndGivesTheOriginalBytePosition) {
  const std::string cafe = "caf\xC3\xA9 CAF\xC3\x89";                              // café CAFÉ
  const std::string beetle = "\xD0\xB6\xD1\x83\xD0\xBA \xD0\x96\xD0\xA3\xD0\x9A";  // жук ЖУК
  const std::string dotless = "\xC4\xB1x \xC4\xB1x";                               // ıx ıx
  struct TCase {
    std::string Text;
    long long SelStart, SelLength;
    std::string Find;
    TSearchOptions Options;
    long long Expected;
  } cases[] = {
      {cafe, 0, 0, "CAF\xC3\x89", Utf8Down, 0},
      {cafe, 0, 0, "CAF\xC3\x89", Utf8DownCase, 6},
      {cafe, 0, 5, "cAf\xC3\xA9", Utf8Down, 6},
      {cafe, 11, 0, "caf\xC3\xA9", Utf8UpCase, 0},
      {beetle, 0, 0, "\xD0\x96\xD0\xA3\xD0\x9A", Utf8Down, 0},
      {beetle, 0, 0, "\xD0\x96\xD0\xA3\xD0\x9A", Utf8DownCase, 7},
      {beetle, 13, 0, "\xD0\xB6\xD1\x83\xD0\xBA", Utf8Up, 7},
      {beetle, 13, 0, "\xD0\xB6\xD1\x83\xD0\xBA", Utf8UpCase, 0},
      {"x \xC5\xB8", 0, 0, "\xC3\xBF", Utf8Down, 2},  // ÿ finds Ÿ
      {"STRASSE", 0, 0,
       "stra\xC3\x9F"
       "e",
       Utf8Down, -1},                                                // ß stays
      {"\xE1\xBA\x9E", 0, 0, "\xC3\x9F", Utf8Down, -1},              // and so does ẞ
      {"\xF0\x90\x90\xA8!", 0, 0, "\xF0\x90\x90\x80", Utf8Down, 0},  // 𐐨 finds 𐐀
      // Characters whose upper case is shorter or longer before the match: ı to I, ⱥ to Ⱥ, ȿ to Ȿ.
      {"\xC4\xB1\xC4\xB1 caf\xC3\xA9", 0, 0, "CAF\xC3\x89", Utf8Down, 5},
      {"\xE2\xB1\xA5\xE2\xB1\xA5x", 0, 0, "X", Utf8Down, 6},
      {"\xC8\xBF\xC8\xBFx", 0, 0, "X", Utf8Down, 4},
      {"\xC8\xBF\xC8\xBFx", 5, 0, "X", Utf8Up, 4},
      {"a\xC4\xB1"
       "b",
       0, 0, "AIB", Utf8Down, 0},  // and within it
      {"a\xC4\xB1"
       "b",
       0, 0, "aib", Utf8DownCase, -1},
      {"xa\xC5\xBF"
       "b",
       0, 0, "asb", Utf8Down, 1},
      {"ai", 0, 0, "a\xC4\xB1", Utf8Down, 0},
      {dotless, 7, 0, "IX", Utf8Up, 4},  // up: the last match that ends at or before the selection
      {dotless, 4, 0, "IX", Utf8Up, 0},
      {dotless, 3, 0, "iX", Utf8Up, 0},
      {dotless, 2, 0, "IX", Utf8Up, -1},
      {"Ix", 2, 0, "\xC4\xB1x", Utf8Up, 0},  // a match shorter than the pattern
      {dotless, 0, 3, "ix", Utf8Down, 4},
      // A match begins and ends between characters; a byte that is not UTF-8 is one of its own.
      {"caf\xC3\xA9", 0, 0, "\xA9", Utf8Down, -1},
      {"caf\xC3\xA9", 0, 0, "\xA9", Utf8DownCase, -1},
      {"caf\xC3\xA9", 0, 0, "f\xC3", Utf8DownCase, -1},
      {"caf\xC3\xA9", 5, 0, "\xC3", Utf8Up, -1},
      {"caf\xC3\xA9", 4, 0, "\xC3", Utf8Up, -1},
      {"caf\xC3", 0, 0, "\xC3", Utf8Down, 3},
      {"a\x80"
       "b",
       0, 0,
       "\x80"
       "B",
       Utf8Down, 1},
      {"\xFF\xFE", 0, 0, "\xFE", Utf8Down, 1},
      {"\xC8\xBF\xBE", 0, 0, "\xBE", Utf8Down, 2},          // not the last byte of Ȿ, the fold of ȿ
      {"\xC3\xA9\xC3\xA9", 1, 0, "\xC3\xA9", Utf8Down, 2},  // a selection inside a character
      {"\xC3\xA9\xC3\xA9", 3, 0, "\xC3\xA9", Utf8Up, 0},
      // Whole word on the bytes: every byte of a character beyond ASCII is a delimiter.
      {" caf\xC3\xA9", 0, 0, "caf", Utf8DownWord, 1},
      {"\xC3\xA9x", 0, 0, "X", Utf8DownWord, 2},
      {"\xC4\xB1x", 0, 0, "x", Utf8DownWord, 2},
      {" x\xC3\xA9 y", 0, 0, "X\xC3\x89", Utf8DownWord, 1},
      {" \xC3\xA9 ", 0, 0, "\xC3\xA9", Utf8DownWord, -1},
      {"a caf\xC3\xA9 x", 9, 0, "CAF", Utf8UpWord, 2},
      {"xcaf\xC3\xA9 caf", 0, 0, "caf", Utf8DownWord, 7},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Search(c.Text, c.SelStart, c.SelLength, c.Find, c.Options), c.Expected)
        << c.Text << " / " << c.Find << " at " << c.SelStart << "+" << c.SelLength;

  // Many characters that change length before the match, each "ıaȿ " six bytes.
  std::string many;
  for (int i = 0; i < 500; ++i)
    many +=
        "\xC4\xB1"
        "a\xC8\xBF ";
  many += "target";
  EXPECT_EQ(Search(many, 0, 0, "TARGET", Utf8Down), 3000);
  EXPECT_EQ(Search(many, 2, 0, "A", Utf8DownWord), 8);
  EXPECT_EQ(Search(many, many.size(), 0, "A", Utf8UpWord), 2996);
  EXPECT_EQ(Search(many, 2996, 0, "\xE2\xB1\xBE", Utf8Up), 2991);

  // The match covers the characters it folds from, not the pattern's length: the selection the
  // dialog sets takes all of "ıx" and "ȿ", none of "x" alone.
  const auto covered = [](const std::string& text, std::size_t selStart, const std::string& find,
                          TSearchOptions options) {
    const std::optional<TSearchMatch> match = SearchMatch(text, selStart, 0, find, options);
    return match ? text.substr(match->Start, match->Length) : std::string("none");
  };
  EXPECT_EQ(covered(dotless, 0, "IX", Utf8Down), "\xC4\xB1x");
  EXPECT_EQ(covered(dotless, 7, "IX", Utf8Up), "\xC4\xB1x");
  EXPECT_EQ(covered("a\xC8\xBF", 0, "\xE2\xB1\xBE", Utf8Down), "\xC8\xBF");
  EXPECT_EQ(covered("Ix", 0, "\xC4\xB1X", Utf8Down), "Ix");
  EXPECT_EQ(covered("caf\xE9", 0, "CAF\xC9", TSearchOptions{}), "caf\xE9");
}

// A character of the random texts with its upper case, written out so that the test does not ask
// the C library.
struct TCharacter {
  const char* Bytes;
  const char* Upper;
};

const TCharacter Alphabet[] = {
    {"a", "A"},
    {"A", "A"},
    {"i", "I"},
    {"I", "I"},
    {"s", "S"},
    {"S", "S"},
    {" ", " "},
    {"_", "_"},
    {"1", "1"},
    {"\xC3\xA9", "\xC3\x89"},                  // é
    {"\xC3\x89", "\xC3\x89"},                  // É
    {"\xC4\xB1", "I"},                         // ı, shorter in upper case
    {"\xC5\xBF", "S"},                         // ſ, shorter in upper case
    {"\xD0\xB6", "\xD0\x96"},                  // ж
    {"\xD0\x96", "\xD0\x96"},                  // Ж
    {"\xC3\x9F", "\xC3\x9F"},                  // ß
    {"\xE1\xBA\x9E", "\xE1\xBA\x9E"},          // ẞ
    {"\xE2\xB1\xA5", "\xC8\xBA"},              // ⱥ, shorter in upper case
    {"\xC8\xBA", "\xC8\xBA"},                  // Ⱥ
    {"\xC8\xBF", "\xE2\xB1\xBE"},              // ȿ, longer in upper case
    {"\xE2\xB1\xBE", "\xE2\xB1\xBE"},          // Ȿ
    {"\xE2\x82\xAC", "\xE2\x82\xAC"},          // €
    {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80"},  // 𐐨
    {"\xF0\x90\x90\x80", "\xF0\x90\x90\x80"},  // 𐐀
    {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},  // 😀
    {"\xFF", "\xFF"},                          // bytes that are not UTF-8, and here never within
    {"\x80", "\x80"},                          // a character
    {"\xBE", "\xBE"},
};

using TCharacters = std::vector<const TCharacter*>;

std::string Joined(const TCharacters& characters) {
  std::string bytes;
  for (const TCharacter* c : characters) bytes += c->Bytes;
  return bytes;
}

// The dialog's loop with characters in place of bytes: a match begins between characters, and the
// characters of the text and the pattern agree one by one, through their upper case unless case
// must match. Down it is the first at or after the selection's end (with whole word, after it),
// up the last that ends at or before the selection's start.
long long TranscribedUtf8Search(const TCharacters& text, long long s, long long l, const TCharacters& pattern,
                                const TSearchOptions& o) {
  const std::string t = Joined(text);
  const long long n = static_cast<long long>(t.size());
  if (pattern.empty() || n == 0) return -1;
  const auto delimiter = [&](long long i) {
    return i >= n || IsWordDelimiter(static_cast<unsigned char>(t[i]));
  };
  const auto beginsWord = [&](long long i) { return i > 0 && delimiter(i - 1) && !delimiter(i); };
  const auto fold = [&](const TCharacter* c) { return std::string(o.MatchCase ? c->Bytes : c->Upper); };
  long long found = -1;
  for (std::size_t k = 0, p = 0; k < text.size(); p += std::strlen(text[k++]->Bytes)) {
    long long end = static_cast<long long>(p);
    std::size_t i = 0;
    for (; i < pattern.size() && k + i < text.size() && fold(text[k + i]) == fold(pattern[i]); ++i)
      end += static_cast<long long>(std::strlen(text[k + i]->Bytes));
    const long long at = static_cast<long long>(p);
    if (i < pattern.size() || (o.WholeWord && !(beginsWord(at) && delimiter(end)))) continue;
    if (o.Down && (at > s + l || (at == s + l && !o.WholeWord))) return at;
    if (!o.Down && end <= s) found = at;
  }
  return found;
}

TEST(TextSearch, Utf8GivesTheTranscribedLoopsPositionForRandomTextsPatternsAndOptions) {
  std::mt19937 random(1913);
  const std::size_t letters = std::size(Alphabet);
  const auto pick = [&](std::size_t length) {
    TCharacters characters;
    for (std::size_t i = 0; i < length; ++i) characters.push_back(&Alphabet[random() % letters]);
    return characters;
  };
  // Often another character of the same upper case, so that folding has matches to find.
  const auto sibling = [&](const TCharacter* c) {
    for (std::size_t tries = 0; tries < 8; ++tries) {
      const TCharacter* other = &Alphabet[random() % letters];
      if (std::string(other->Upper) == c->Upper) return other;
    }
    return c;
  };
  for (int round = 0; round < 20000; ++round) {
    const TCharacters text = pick(random() % 30);
    TCharacters pattern = pick(random() % 4);
    if (random() % 2 == 0 && !text.empty()) {
      const std::size_t from = random() % text.size();
      const std::size_t length = std::min<std::size_t>(1 + random() % 3, text.size() - from);
      pattern.assign(text.begin() + from, text.begin() + from + length);
      for (const TCharacter*& c : pattern) c = sibling(c);
    }
    const std::string t = Joined(text), p = Joined(pattern);
    const long long s = static_cast<long long>(random() % (t.size() + 2));  // inside a character too
    const long long l = static_cast<long long>(random() % 3);
    const bool ascii = std::all_of(t.begin(), t.end(), [](char c) { return c > 0; }) &&
                       std::all_of(p.begin(), p.end(), [](char c) { return c > 0; });
    for (int bits = 0; bits < 8; ++bits) {
      const TSearchOptions o{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, Utf8};
      const long long expected = TranscribedUtf8Search(text, s, l, pattern, o);
      ASSERT_EQ(Search(t, s, l, p, o), expected)
          << "text '" << t << "' find '" << p << "' at " << s << "+" << l << " options " << bits;
      // On ASCII the loop with characters is the loop with bytes.
      if (ascii) {
        ASSERT_EQ(expected, TranscribedSearch(t, s, l, p, o)) << "text '" << t << "' find '" << p << "'";
      }
    }
  }
}

}  // namespace

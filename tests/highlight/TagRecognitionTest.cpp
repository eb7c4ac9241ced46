// Tag-name recognition: character values, hashes and the slot recognisers.

#include <gtest/gtest.h>

#include <cctype>

#include "highlight/hltHTML.h"
#include "highlight/hltHTMLTables.h"
#include "tests/highlight/ExpectBodies.h"
#include "tests/highlight/HighlightedRtf.h"

namespace {

// The hash and word length that the highlighter measures for a word.
std::pair<std::int32_t, std::int32_t> Hash(const std::string& word) {
  ThltHTMLRTF highlighter;
  const std::int32_t hash = highlighter.TagHash(word.c_str());
  return {hash, highlighter.WordLength()};
}

THtmlTokenKind Kind(const std::string& word) {
  ThltHTMLRTF highlighter;
  return highlighter.TagKind(word.c_str());
}

}  // namespace

TEST(TagRecognitionTest, CharacterValues) {
  const unsigned char codes[] = {'A', 'a', 'Z', 'z', '/', '!', '0', '-', 0xC0, 0xE9};
  const std::int32_t values[] = {1, 1, 26, 26, 122, 123, 0, 0, 0, 0};  // ASCII letters only
  for (std::size_t i = 0; i < std::size(codes); ++i)
    EXPECT_EQ(TagCharValue[codes[i]], values[i]) << int(codes[i]);
}

TEST(TagRecognitionTest, HashesAndWordLengths) {
  EXPECT_EQ(Hash("b>"), std::make_pair(2, 1));
  EXPECT_EQ(Hash("/b").first, 124);
  EXPECT_EQ(Hash("H1").first, 9);
  EXPECT_EQ(Hash("!DOCTYPE html"), std::make_pair(211, 8));
  EXPECT_EQ(Hash("/BLOCKQUOTE").first, 243);
  EXPECT_EQ(Hash("zzzzzzzzzz").first, 260);
  EXPECT_EQ(Hash("B2B"), std::make_pair(4, 2));  // letters after a digit end the word
  EXPECT_EQ(Hash("-x"), std::make_pair(0, 0));
}

TEST(TagRecognitionTest, EveryListedNameIsFoundInEitherCase) {
  int names = 0;
  for (const ThltTagSlot& slot : TagSlots) {
    for (const std::string_view name : slot.Names) {
      if (name.empty()) continue;
      ++names;
      std::string lower(name);
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      EXPECT_EQ(Kind(std::string(name)), htListedTag) << name;
      EXPECT_EQ(Kind(lower + " x"), htListedTag) << name;
      EXPECT_EQ(Hash(std::string(name)).first, slot.Hash) << name;
    }
  }
  EXPECT_EQ(names, 198);
}

TEST(TagRecognitionTest, TagsInText) {
  ExpectBodies({
      {"<H1><h1></H1><h7>",
       "\\cf7 <\\cf4 H1\\cf7 >\\cf7 <\\cf4 h1\\cf7 >\\cf7 <\\cf4 /H1\\cf7 >\\cf7 <\\cf9 h7\\cf7 >"},
      {"<area></area></br>", "\\cf7 <\\cf4 area\\cf7 >\\cf7 <\\cf9 /area\\cf7 >\\cf7 <\\cf9 /br\\cf7 >"},
      {"<!doctype html>", "\\cf7 <\\cf4 !doctype\\cf5  \\cf3 html\\cf7 >"},
      {"<h1x>", "\\cf7 <\\cf4 h1\\cf3 x\\cf7 >"},
      {"<B2B>", "\\cf7 <\\cf9 B2\\cf3 B\\cf7 >"},
      {"<my-tag>", "\\cf7 <\\cf9 my\\cf3 -tag\\cf7 >"},
      {"<zzzzzzzzzz>", "\\cf7 <\\cf3 zzzzzzzzzz\\cf7 >"},
      {"<>", "\\cf7 <\\cf7 >"},  // ">" has its own handler: no empty name
      {"<-x>", "\\cf7 <\\cf9 \\cf3 -x\\cf7 >"},
      {"</plaintext><tbodz>", "\\cf7 <\\cf9 /plaintext\\cf7 >\\cf7 <\\cf9 tbodz\\cf7 >"},
  });
}

TEST(TagRecognitionTest, HugeWordsDoNotOverflowTheHash) {
  // 123 times this many "!" is beyond the range of a 32-bit sum.
  const std::string word(18'000'000, '!');
  EXPECT_EQ(Hash(word).second, 18'000'000);
  EXPECT_GE(Hash(word).first, TagSlotCount);
  EXPECT_EQ(Kind(word), htName);
}

// Tag-name recognition: character values, hashes and the slot recognisers.

#include "RtfDocument.h"
#include "hltHTML.h"
#include "hltHTMLTables.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

std::int32_t Value(unsigned char code)
{
    return TagCharValue[code];
}

struct THashed {
    std::int32_t Hash;
    std::int32_t Length;
};

THashed Hash(const std::string& word)
{
    ThltHTMLRTF highlighter;
    const std::int32_t hash = highlighter.TagHash(word.c_str());
    return {hash, highlighter.WordLength()};
}

THtmlTokenKind Kind(const std::string& word)
{
    ThltHTMLRTF highlighter;
    return highlighter.TagKind(word.c_str());
}

std::string Lower(std::string_view name)
{
    std::string lower(name);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

} // namespace

TEST(TagRecognitionTest, CharacterValues)
{
    EXPECT_EQ(Value('A'), 1);
    EXPECT_EQ(Value('a'), 1);
    EXPECT_EQ(Value('Z'), 26);
    EXPECT_EQ(Value('z'), 26);
    EXPECT_EQ(Value('/'), 122);
    EXPECT_EQ(Value('!'), 123);
    EXPECT_EQ(Value('0'), 0);
    EXPECT_EQ(Value('-'), 0);
    EXPECT_EQ(Value(0xC0), 0); // only ASCII letters are upper-cased
    EXPECT_EQ(Value(0xE9), 0);
}

TEST(TagRecognitionTest, HashesAndWordLengths)
{
    EXPECT_EQ(Hash("b>").Hash, 2);
    EXPECT_EQ(Hash("/b").Hash, 124);
    EXPECT_EQ(Hash("H1").Hash, 9);
    EXPECT_EQ(Hash("!DOCTYPE html").Hash, 211);
    EXPECT_EQ(Hash("/BLOCKQUOTE").Hash, 243);
    EXPECT_EQ(Hash("zzzzzzzzzz").Hash, 260);
    const THashed b2b = Hash("B2B");
    EXPECT_EQ(b2b.Hash, 4);
    EXPECT_EQ(b2b.Length, 2);
    const THashed empty = Hash("-x");
    EXPECT_EQ(empty.Hash, 0);
    EXPECT_EQ(empty.Length, 0);
    EXPECT_EQ(Hash("h12x").Length, 3);
}

TEST(TagRecognitionTest, EveryListedNameIsFoundInEitherCase)
{
    int names = 0;
    for (const ThltTagSlot& slot : TagSlots) {
        for (const std::string_view name : slot.Names) {
            if (name.empty())
                continue;
            ++names;
            EXPECT_EQ(Kind(std::string(name)), htListedTag) << name;
            EXPECT_EQ(Kind(Lower(name) + " x"), htListedTag) << name;
            EXPECT_EQ(Hash(std::string(name)).Hash, slot.Hash) << name;
        }
    }
    EXPECT_EQ(names, 198);
}

TEST(TagRecognitionTest, UnlistedAndTooLongNames)
{
    EXPECT_EQ(Kind("h7"), htUnlistedTag);      // hash 15, an empty slot
    EXPECT_EQ(Kind("/area"), htUnlistedTag);   // hash 147, an empty slot
    EXPECT_EQ(Kind("/plaintext"), htUnlistedTag); // slot 243 holds only "/BLOCKQUOTE"
    EXPECT_EQ(Kind("/br"), htUnlistedTag);
    EXPECT_EQ(Kind("!doctypf"), htUnlistedTag);
    EXPECT_EQ(Kind("zzzzzzzzzz"), htName);
    EXPECT_EQ(Kind("tbody"), htListedTag);
    EXPECT_EQ(Kind("tbodz"), htUnlistedTag);
}

TEST(TagRecognitionTest, TagsInText)
{
    EXPECT_EQ(Body("<H1><h1></H1><h7>"),
              "\\cf7 <\\cf4 H1\\cf7 >\\cf7 <\\cf4 h1\\cf7 >\\cf7 <\\cf4 /H1\\cf7 >\\cf7 <\\cf9 h7\\cf7 >");
    EXPECT_EQ(Body("<area></area>"), "\\cf7 <\\cf4 area\\cf7 >\\cf7 <\\cf9 /area\\cf7 >");
    EXPECT_EQ(Body("<!doctype html>"), "\\cf7 <\\cf4 !doctype\\cf5  \\cf3 html\\cf7 >");
    EXPECT_EQ(Body("<h1x>"), "\\cf7 <\\cf4 h1\\cf3 x\\cf7 >");
    EXPECT_EQ(Body("<B2B>"), "\\cf7 <\\cf9 B2\\cf3 B\\cf7 >");
    EXPECT_EQ(Body("<my-tag>"), "\\cf7 <\\cf9 my\\cf3 -tag\\cf7 >");
    EXPECT_EQ(Body("<zzzzzzzzzz>"), "\\cf7 <\\cf3 zzzzzzzzzz\\cf7 >");
    EXPECT_EQ(Body("<>"), "\\cf7 <\\cf7 >"); // ">" has its own handler: no empty name
    EXPECT_EQ(Body("<-x>"), "\\cf7 <\\cf9 \\cf3 -x\\cf7 >");
    EXPECT_EQ(Body("</plaintext>"), "\\cf7 <\\cf9 /plaintext\\cf7 >");
}

TEST(TagRecognitionTest, HugeWordsDoNotOverflowTheHash)
{
    // 123 times this many "!" is beyond the range of a 32-bit sum.
    const std::string word(18'000'000, '!');
    const THashed hashed = Hash(word);
    EXPECT_GE(hashed.Hash, TagSlotCount);
    EXPECT_EQ(hashed.Length, 18'000'000);
    EXPECT_EQ(Kind(word), htName);
}

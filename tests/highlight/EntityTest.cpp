// Entity recognition: the table look-up and entities in text.

#include <gtest/gtest.h>

#include "highlight/hltHTML.h"
#include "highlight/hltHTMLTables.h"
#include "tests/highlight/ExpectBodies.h"
#include "tests/highlight/HighlightedRtf.h"

TEST(EntityTest, LookUpFindsTheFirstMatchIgnoringCase) {
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&amp;"), 0);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&AMP;x"), 0);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&Agrave;"), 8);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&agrave;"), 8);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&divide;"), 98);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&ldots;"), 107);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&#215;"), 150);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&amp"), -1);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&#133;"), -1);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&hellip;"), -1);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("amp;"), -1);
  EXPECT_EQ(ThltHTMLRTF::FindEntity("&"), -1);
}

TEST(EntityTest, ThirtyEntriesAreShadowedByAnEarlierOne) {
  int shadowed = 0;
  for (int i = 0; i < EntityCount; ++i) {
    const int found = ThltHTMLRTF::FindEntity(std::string(EntityNames[i]).c_str());
    ASSERT_GE(found, 0) << EntityNames[i];
    EXPECT_LE(found, i);
    EXPECT_EQ(EntityNames[found].size(), EntityNames[i].size());
    shadowed += found < i ? 1 : 0;
  }
  EXPECT_EQ(shadowed, 30);
}

TEST(EntityTest, EntitiesInText) {
  ExpectBodies({
      {"<p>&divide;", "\\cf7 <\\cf4 p\\cf7 >\\cf8 \\cf11 &divide\\cf8 ;"},
      {"<p>&AMP;&Amp;", "\\cf7 <\\cf4 p\\cf7 >\\cf8 \\cf11 &AMP;\\cf8 \\cf11 &Amp;"},
      {"<p>&amp &lt", "\\cf7 <\\cf4 p\\cf7 >\\cf8 &amp &lt"},
      {"<p>&LT;", "\\cf7 <\\cf4 p\\cf7 >\\cf8 \\cf11 &LT;"},
      {"<p>&#97;&#133;&hellip;", "\\cf7 <\\cf4 p\\cf7 >\\cf8 &#97;&#133;&hellip;"},
      {"<p>x&ldots;y", "\\cf7 <\\cf4 p\\cf7 >\\cf8 x\\cf11 &ldots;\\cf8 y"},
      {"<p>&nbsp;&nbsp;", "\\cf7 <\\cf4 p\\cf7 >\\cf8 \\cf11 &nbsp;\\cf8 \\cf11 &nbsp;"},
  });
}

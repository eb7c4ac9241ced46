// The HTML scanner: token kinds, scan states and run colours.

#include <gtest/gtest.h>

#include "highlight/hltHTML.h"
#include "tests/highlight/ExpectBodies.h"
#include "tests/highlight/HighlightedRtf.h"

TEST(ScannerTest, WorkedExamples) {
  ExpectBodies({
      {"<font size=2>", "\\cf7 <\\cf4 font\\cf5  \\cf3 size\\cf7 =\\cf10 2\\cf7 >"},
      {"<p>a&lt;b", "\\cf7 <\\cf4 p\\cf7 >\\cf8 a\\cf11 &lt;\\cf8 b"},
      {"<!-- a -->", "\\cf2 <!--\\cf2  a -->"},
      {"<% x %>", "\\cf1 <%\\cf1  x %>"},
      {"<foo>", "\\cf7 <\\cf9 foo\\cf7 >"},
      {"&amp;x", "\\cf11 \\cf8 \\cf11 &amp;\\cf8 x"},
  });
}

TEST(ScannerTest, WordsBeforeTheFirstTagAreNames) {
  ExpectBodies({
      {"hello<b>", "\\cf3 hello<b\\cf7 >"},
      {"a b\"c\"=d", "\\cf3 a\\cf5  \\cf3 b\\cf6 \"c\"\\cf7 =\\cf10 d"},
  });
}

TEST(ScannerTest, CommentsAndServerBlocks) {
  ExpectBodies({
      {"<!-->x", "\\cf2 <!--\\cf2 >\\cf8 x"},
      {"<%>x", "\\cf1 <%\\cf1 >\\cf8 x"},
      // One token per line, the line ends as blanks between; "->" or "%" alone
      // do not end them.
      {"<!-- a\r\n-> b -->c", "\\cf2 <!--\\cf2  a\\par\\cf5 \r\n\\cf2 -> b -->\\cf8 c"},
      {"<% a >\n% > b %>c", "\\cf1 <%\\cf1  a >\\cf5 \n\\cf1 % > b %>\\cf8 c"},
      {"<%\r\n\r\n//x", "\\cf1 <%\\par\\cf5 \r\n\\par\\cf5 \r\n\\cf2 //x"},
      {"<!--<b>", "\\cf2 <!--\\cf2 <b>"},
  });
}

TEST(ScannerTest, TagStatesAndValues) {
  ExpectBodies({
      {"<?xml", "\\cf7 <\\cf9 \\cf3 ?xml"},
      {"<a href=//host/x>", "\\cf7 <\\cf4 a\\cf5  \\cf3 href\\cf7 =\\cf2 //host/x\\cf7 >"},
      {"<a href=\"//host\">", "\\cf7 <\\cf4 a\\cf5  \\cf3 href\\cf7 =\\cf6 \"//host\"\\cf7 >"},
      {"<a b=c\"d>", "\\cf7 <\\cf4 a\\cf5  \\cf3 b\\cf7 =\\cf10 c\"d\\cf7 >"},
      {"<a \"s\" x=>", "\\cf7 <\\cf4 a\\cf5  \\cf6 \"s\"\\cf5  \\cf3 x\\cf7 =\\cf7 >"},
      {"<a t=\"x\r\ny\">", "\\cf7 <\\cf4 a\\cf5  \\cf3 t\\cf7 =\\cf6 \"x\\par\\cf5 \r\n\\cf3 y\\cf6 \">"},
      {"<a &x>", "\\cf7 <\\cf4 a\\cf5  \\cf5 \\cf8 &x>"},
      // "&" after "=" is scanned by its handler: an empty run that keeps the
      // colour of the "=", then text.
      {"<a b=&amp;>", "\\cf7 <\\cf4 a\\cf5  \\cf3 b\\cf7 =\\cf7 \\cf8 \\cf11 &amp;\\cf8 >"},
  });
}

TEST(ScannerTest, TextBetweenTags) {
  ExpectBodies({
      {"<p>a \"b\" = c > d", "\\cf7 <\\cf4 p\\cf7 >\\cf8 a \"b\" = c > d"},
      {"<p>// note\r\n  // more", "\\cf7 <\\cf4 p\\cf7 >\\cf2 // note\\par\\cf5 \r\n\\cf2   // more"},
      {"<p>a\tb", "\\cf7 <\\cf4 p\\cf7 >\\cf8 a\\cf5 \t\\cf8 b"},
      {"<p>&&amp", "\\cf7 <\\cf4 p\\cf7 >\\cf8 &&amp"},
  });
}

TEST(ScannerTest, BlankTokens) {
  ExpectBodies({
      {"\t\tx", "\\cf5 \t\\cf5 \t\\cf3 x"},
      {"\t  \x01\x1Fx", "\\cf5 \t  \x01\x1F\\cf3 x"},
      {" \t", "\\cf5  \\cf5 \t"},
      {"\r\r\n\n", "\\cf5 \r\\par\\cf5 \r\n\\cf5 \n"},
  });
}

TEST(ScannerTest, EscapesAtEveryPlaceOfShortAndLongTokens) {
  // Tokens are checked and copied in blocks of sixteen bytes where the
  // source allows; the special character may sit anywhere, and the token
  // may end right at the end of the text.
  for (std::size_t size = 1; size <= 40; ++size) {
    for (std::size_t at = 0; at < size; ++at) {
      for (const char special : {'\\', '{', '}'}) {
        std::string word(size, 'w');
        word[at] = special;
        std::string escaped = word;
        escaped.insert(at, 1, '\\');
        const std::string run = "\\cf7 <\\cf4 p\\cf7 >\\cf8 " + escaped;
        ASSERT_EQ(Body("<p>" + word), run) << size << " " << at;
        ASSERT_EQ(Body("<p>" + word + "<b>" + std::string(40, 'x')),
                  run + "\\cf7 <\\cf4 b\\cf7 >\\cf8 " + std::string(40, 'x'))
            << size << " " << at;
      }
    }
  }
  EXPECT_EQ(Body("\\par{x}"), "\\cf3 \\\\par\\{x\\}");
}

TEST(ScannerTest, LongRunsStopAtTheirFirstStop) {
  // Text, comments and strings are searched sixteen bytes at a time.
  for (std::size_t size = 1; size <= 40; ++size) {
    const std::string run(size, 'r');
    EXPECT_EQ(Body("<p>" + run + "&amp;"), "\\cf7 <\\cf4 p\\cf7 >\\cf8 " + run + "\\cf11 &amp;");
    EXPECT_EQ(Body("<p>" + run + "\x1F"), "\\cf7 <\\cf4 p\\cf7 >\\cf8 " + run + "\\cf5 \x1F");
    EXPECT_EQ(Body("<!--" + run + "-->x"), "\\cf2 <!--\\cf2 " + run + "-->\\cf8 x");
    EXPECT_EQ(Body("<%" + run + "\n"), "\\cf1 <%\\cf1 " + run + "\\cf5 \n");
    EXPECT_EQ(Body("\"" + run + "\"x"), "\\cf6 \"" + run + "\"\\cf3 x");
    EXPECT_EQ(Body(run + "=v"), "\\cf3 " + run + "\\cf7 =\\cf10 v");
    EXPECT_EQ(Body("<a b=" + run + ">"), "\\cf7 <\\cf4 a\\cf5  \\cf3 b\\cf7 =\\cf10 " + run + "\\cf7 >");
  }
}

TEST(ScannerTest, TheTextEndsAtItsFirstNul) {
  const std::string html("<b>x\0<i>", 8);
  EXPECT_EQ(Body(html), "\\cf7 <\\cf4 b\\cf7 >\\cf8 x");
}

TEST(ScannerTest, WriteWithoutSourceGivesAnEmptyRun) {
  // Before SetSource the scanner views an empty text instead of nothing.
  ThltHTMLRTF highlighter;
  EXPECT_EQ(highlighter.GetRTF(), DocumentStart + "\\cf11 \\par }");
}

TEST(ScannerTest, SecondTextStaysInsideItsOwnBounds) {
  // The scan state carries over to a second text: a pending entity and an
  // open server block must not reach outside it.
  const std::string first = "<p>a&amp;";
  ThltHTMLRTF highlighter;
  highlighter.SetSource(first);
  while (highlighter.TokenText() != "a") highlighter.NextToken();
  const std::string second = "&";
  highlighter.SetSource(second);
  EXPECT_EQ(highlighter.TokenText(), "");
  highlighter.NextToken();
  EXPECT_EQ(highlighter.TokenText(), "&");

  ThltHTMLRTF block;
  const std::string open = "<%";
  block.SetSource(open);
  block.GetRTF();
  const std::string closing = ">x";
  block.SetSource(closing);
  EXPECT_EQ(block.TokenText(), ">x");
}

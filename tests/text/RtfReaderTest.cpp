#include <gtest/gtest.h>

#include <algorithm>

#include "tests/text/HighlighterRtf.h"
#include "text/RtfReader.h"
#include "text/RtfWriter.h"

namespace {

TRtfDocument Read(const std::string& rtf) {
  TRtfDocument document;
  EXPECT_TRUE(TRtfReader(rtf).Read(document)) << rtf;
  return document;
}

bool Reads(const std::string& rtf) {
  TRtfDocument document;
  return TRtfReader(rtf).Read(document);
}

// The format of the run holding the text position.
TRtfFormat FormatAt(const TRtfDocument& document, std::size_t position) {
  for (const TRtfRun& run : document.Runs)
    if (position >= run.Start && position < run.Start + run.Length)
      return document.Formats[std::size_t(run.Format)];
  ADD_FAILURE() << "no run at " << position;
  return {};
}

}  // namespace

TEST(RtfReader, HighlighterDocumentsGiveTheirTextBack) {
  EXPECT_EQ(Read(HighlighterRtf("\\cf7 <\\cf4 b\\cf7 >\\cf8 x\\cf7 <\\cf4 /b\\cf7 >")).Text, "<b>x</b>");
  EXPECT_EQ(Read(HighlighterRtf("\\cf7 <\\cf4 p\\cf7 >\\par\\cf5 \r\n\\cf7 <\\cf4 /p\\cf7 >")).Text,
            "<p>\r\n</p>");
  EXPECT_EQ(Read(HighlighterRtf("\\cf8 a\\par\\cf5 \r\n")).Text, "a\r\n");
  EXPECT_EQ(Read(HighlighterRtf("\\cf8 a\\par\\cf5 \r\n\\par\\cf5 \r\n")).Text, "a\r\n\r\n");
  EXPECT_EQ(Read(HighlighterRtf("")).Text, "");
  // One blank after a control word is its delimiter; a second one is text.
  EXPECT_EQ(Read(HighlighterRtf("\\cf8  x")).Text, " x");
}

TEST(RtfReader, RunsCarryTheColourTableAndFont) {
  const TRtfDocument document = Read(HighlighterRtf("\\cf7 <\\cf4 b\\cf7 >\\cf9 x"));
  ASSERT_EQ(document.Colours.size(), 12u);
  EXPECT_EQ(FormatAt(document, 0).Colour, 0x0000FF);
  EXPECT_EQ(FormatAt(document, 2).Colour, 0x0000FF);
  EXPECT_EQ(FormatAt(document, 3).Colour, 0xFF0000);
  EXPECT_EQ(document.Runs.size(), 2u);  // entries 4 and 7 are the same blue: one format
  ASSERT_EQ(document.Fonts.size(), 1u);
  EXPECT_EQ(document.Fonts[0].Name, "Courier New");
  EXPECT_EQ(document.Fonts[0].Family, TRtfFamily::Modern);
  const TRtfFormat& base = document.Formats[std::size_t(document.BaseFormat)];
  EXPECT_EQ(base.HalfPoints, 20);
  EXPECT_EQ(base.Font, 0);
}

TEST(RtfReader, EscapesAndBytesAboveAscii) {
  EXPECT_EQ(Read("{\\rtf1 a\\\\b\\{c\\}d}").Text, "a\\b{c}d");
  EXPECT_EQ(Read("{\\rtf1 caf\xE9 \\'e9\\'80\\~x}").Text, "caf\xE9 \xE9\x80\xA0x");
  EXPECT_EQ(Read("{\\rtf1 a\\tab b\\line c}").Text, "a\tb\r\nc");
  // \u with its fallback skipped; what the code page cannot hold becomes a reference.
  EXPECT_EQ(Read("{\\rtf1 \\u8364?\\u20013?\\uc2\\u-10179?"
                 "?\\u-8704?"
                 "?!}")
                .Text,
            "\x80&#20013;&#128512;!");
  EXPECT_EQ(Read("{\\rtf1 {\\uc0 \\u233}x}").Text, "\xE9x");
  EXPECT_EQ(Read("{\\rtf1 \\u233\\'e9z}").Text, "\xE9z");
}

TEST(RtfReader, HelpFileFormattingAndSkippedDestinations) {
  const TRtfDocument document = Read(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss{\\*\\panose 0}Arial;}}"
      "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}"
      "{\\*\\generator G;}\\pard\\f1\\fs28 Title\\par\n"
      "\\f0\\fs24 a {\\b bold} {\\i\\cf1 red} \\ul u\\ulnone  n{\\pict\\bin3 }}}} x}");
  EXPECT_EQ(document.Text, "Title\r\na bold red u n x");
  EXPECT_EQ(document.Fonts[1].Name, "Arial");
  EXPECT_EQ(FormatAt(document, 0).Font, 1);
  EXPECT_EQ(FormatAt(document, 0).HalfPoints, 28);
  EXPECT_TRUE(FormatAt(document, 9).Bold);
  EXPECT_FALSE(FormatAt(document, 13).Bold);
  EXPECT_TRUE(FormatAt(document, 15).Italic);
  EXPECT_EQ(FormatAt(document, 15).Colour, 0xFF0000);
  EXPECT_EQ(FormatAt(document, 13).Colour, TRtfFormat::DefaultColour);
  EXPECT_TRUE(FormatAt(document, 18).Underline);
  EXPECT_FALSE(FormatAt(document, 19).Underline);
}

TEST(RtfReader, RefusesWhatIsNotWholeRtf) {
  EXPECT_FALSE(Reads("<p>plain</p>"));
  EXPECT_FALSE(Reads(" {\\rtf1 x}"));
  EXPECT_FALSE(Reads("{\\rtf1 unclosed"));
  EXPECT_FALSE(Reads("{\\rtf1 {x}"));
  EXPECT_FALSE(Reads(std::string("{\\rtf1 a\0b}", 11)));
  EXPECT_FALSE(Reads("{\\rtf1 \\'zz}"));
  EXPECT_FALSE(Reads("{\\rtf1 \\'00}"));
  EXPECT_FALSE(Reads("{\\rtf1 x\\"));
  // What follows the document's closing brace is not part of it.
  EXPECT_EQ(Read("{\\rtf1 x}\r\n").Text, "x");
}

TEST(RtfReader, WriterOutputReadsBackToTheSameDocument) {
  TRtfDocument original;
  original.Text = "a{\\}\t\xE9\r\n\r\nb";
  original.Fonts = {{"Courier New", TRtfFamily::Modern}, {"Arial", TRtfFamily::Swiss}};
  TRtfFormat plain;
  plain.Font = 0;
  plain.HalfPoints = 20;
  TRtfFormat red = plain;
  red.Colour = 0xFF0000;
  red.Bold = true;
  TRtfFormat arial = plain;
  arial.Font = 1;
  arial.Italic = arial.Underline = true;
  original.Formats = {plain, red, arial};
  original.Runs = {{0, 2, 0}, {2, 6, 1}, {8, 3, 2}};
  for (const std::string& text : {original.Text, original.Text + "\r\n"}) {
    TRtfDocument document = original;
    document.Text = text;
    document.Runs.back().Length = text.size() - 8;
    const TRtfDocument read = Read(TRtfWriter::Write(document));
    EXPECT_EQ(read.Text, text);
    EXPECT_EQ(read.Fonts, document.Fonts);
    // A line break's own format does not show, so only the other characters are compared.
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' || text[i] == '\n') continue;
      EXPECT_EQ(FormatAt(read, i), FormatAt(document, i)) << i;
    }
  }
}

// Many colours each used in a group of its own, and a font table that gives a number twice: each
// run has the colour and font its group names, every distinct format is listed once however
// often it comes back, and a number given twice names its first entry.
TEST(RtfReader, ManyColoursAndGroupsEachGiveTheirOwnFormatOnce) {
  constexpr int Colours = 3000;
  std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss A;}{\\f1\\froman B;}{\\f1\\fmodern C;}}{\\colortbl;";
  for (int i = 0; i < Colours; ++i)
    rtf += "\\red" + std::to_string(i % 256) + "\\green" + std::to_string(i / 256) + "\\blue7;";
  rtf += "}";
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < Colours; ++i)
      rtf += "{\\f" + std::to_string(i % 2) + "\\cf" + std::to_string(i + 1) + " x}";
  rtf += "}";
  const TRtfDocument document = Read(rtf);
  ASSERT_EQ(document.Runs.size(), std::size_t(2 * Colours));
  EXPECT_EQ(document.Formats.size(), std::size_t(Colours));
  for (std::size_t r = 0; r < document.Runs.size(); ++r) {
    const int i = int(r) % Colours;
    const TRtfFormat& format = document.Formats[std::size_t(document.Runs[r].Format)];
    ASSERT_EQ(format.Colour, (i % 256) << 16 | (i / 256) << 8 | 7) << r;
    ASSERT_EQ(format.Font, i % 2) << r;
  }
  EXPECT_EQ(document.Fonts[1].Name, "B");
}

// The RTF document writer: fixed pieces, font and colour tables, runs, stream.

#include <gtest/gtest.h>

#include "highlight/hltHTML.h"
#include "tests/highlight/ExpectBodies.h"
#include "tests/highlight/HighlightedRtf.h"

namespace {

class TFakeFontMetrics final : public ThltFontMetricsProvider {
public:
  ThltFontMetrics Reply{0, 0x31};
  ThltFontMetrics Metrics(const std::string&) const override { return Reply; }
};

// The font table of a plain writer, with the given metrics for every font.
std::string FontTable(ThltFontMetrics metrics, const std::vector<ThltFont>& fonts = {{"Courier New"}}) {
  TFakeFontMetrics fake;
  fake.Reply = metrics;
  SetFontMetricsProvider(&fake);
  ThltRTFSyntax writer;
  writer.SetFontTable(fonts.data(), fonts.size());
  SetFontMetricsProvider(nullptr);
  const std::string rtf = writer.GetRTF();
  const std::size_t start = rtf.find("{\\fonttbl") + 9;
  return rtf.substr(start, rtf.find("}}\r\n") + 1 - start);
}

}  // namespace

TEST(WriterTest, WorkedExamplesGiveTheExactDocument) {
  EXPECT_EQ(HighlightedRtf("<b>x</b>"),
            DocumentStart + "\\cf7 <\\cf4 b\\cf7 >\\cf8 x\\cf7 <\\cf4 /b\\cf7 >\\par }");
  EXPECT_EQ(HighlightedRtf("<p>\r\n</p>"),
            DocumentStart + "\\cf7 <\\cf4 p\\cf7 >\\par\\cf5 \r\n\\cf7 <\\cf4 /p\\cf7 >\\par }");
}

TEST(WriterTest, BaseWriterAloneHasNoColourTableAndNoRuns) {
  EXPECT_EQ(
      ThltRTFSyntax().GetRTF(),
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
      "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
}

TEST(WriterTest, LineEndsAndBytesAbove127) {
  EXPECT_EQ(HighlightedRtf(""), DocumentStart + "\\par }");
  ExpectBodies({
      {"<br>\r\n", "\\cf7 <\\cf4 br\\cf7 >\\par\\cf5 \r\n"},
      // A lone LF or CR is a blank token, but not a line break of the document.
      {"<p>\n<p>\r", "\\cf7 <\\cf4 p\\cf7 >\\cf5 \n\\cf7 <\\cf4 p\\cf7 >\\cf5 \r"},
      {"<p>caf\xE9 \x80\xFF", "\\cf7 <\\cf4 p\\cf7 >\\cf8 caf\xE9 \x80\xFF"},
  });
}

TEST(WriterTest, RunIndexIsWrittenInDecimal) {
  ThltRTFSyntax writer;
  ThltRunBuffer run;
  writer.FormatToken(5, " x", run);
  writer.FormatToken(123, "{y}", run);
  writer.FormatToken(-1, "", run);
  EXPECT_EQ(run.View(), "\\cf5  x\\cf123 {y}\\cf-1 ");
}

TEST(WriterTest, ColourEntriesAndTable) {
  ThltRTFSyntax writer;
  EXPECT_EQ(writer.ColorEntry(hltRGB(0, 0, 255)), "\\red0\\green0\\blue255;");
  EXPECT_EQ(writer.ColorEntry(0x000080), "\\red128\\green0\\blue0;");
  EXPECT_EQ(writer.ColorEntry(clBtnFace), "\\red240\\green240\\blue240;");
  EXPECT_EQ(writer.ColorEntry(clWindow) + writer.ColorEntry(clWindowText),
            "\\red255\\green255\\blue255;\\red0\\green0\\blue0;");
  struct TPurple final : ThltColorResolver {
    ThltColor Resolve(ThltColor) const override { return hltRGB(128, 0, 128); }
  } purple;
  SetColorResolver(&purple);
  EXPECT_EQ(writer.ColorEntry(clMenuText) + writer.ColorEntry(clNavy),
            "\\red128\\green0\\blue128;\\red0\\green0\\blue128;");
  SetColorResolver(nullptr);

  writer.SetColorTable(nullptr, 0);
  EXPECT_NE(writer.GetRTF().find("}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang1033"),
            std::string::npos);
  const ThltColor colors[] = {hltRGB(255, 0, 0), hltRGB(0, 128, 0)};
  writer.SetColorTable(colors, 2);
  EXPECT_NE(writer.GetRTF().find(
                "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"),
            std::string::npos);
}

TEST(WriterTest, FontTableWords) {
  const struct {
    ThltFontMetrics Metrics;
    const char* Words;
  } cases[] = {
      {{0, 0x31}, "fmodern\\fcharset0"},     {{1, 0x31}, "fmodern\\fcharset1"},
      {{2, 0x31}, "fmodern\\fcharset2"},     {{128, 0x31}, "fmodern\\fcharset128"},
      {{255, 0x31}, "fmodern\\fcharset255"}, {{77, 0x36}, "fmodern\\"},
      {{0, 0x00}, "fdontcare\\fcharset0"},   {{0, 0x1F}, "froman\\fcharset0"},
      {{0, 0x22}, "fswiss\\fcharset0"},      {{0, 0x40}, "fscript\\fcharset0"},
      {{0, 0x51}, "fdecorative\\fcharset0"}, {{0, 0x60}, "froman\\fcharset0"},
      {{0, 0xF3}, "froman\\fcharset0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FontTable(c.Metrics), std::string("{\\f0\\") + c.Words + " Courier New;}") << c.Words;
  EXPECT_EQ(FontTable({0, 0x22}, {{"Arial"}, {"Times New Roman"}}),
            "{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fswiss\\fcharset0 Times New Roman;}");
}

TEST(WriterTest, WriteAppendsAtTheStreamPosition) {
  const std::string html = "<i>a</i>";
  ThltHTMLRTF atEnd;
  atEnd.SetSource(html);
  ThltMemoryStream stream;
  stream.Write("keep");
  atEnd.WriteRTF(stream);
  EXPECT_EQ(stream.Bytes(), "keep" + HighlightedRtf(html));
  EXPECT_EQ(stream.Position(), stream.Size());

  ThltHTMLRTF inside;
  inside.SetSource(html);
  ThltMemoryStream overwritten;
  overwritten.Write("0123456789");
  overwritten.SetPosition(2);
  inside.WriteRTF(overwritten);
  EXPECT_EQ(overwritten.Bytes(), "01" + HighlightedRtf(html));
}

TEST(WriterTest, LargeDocumentGoesToAnyStreamWhole) {
  std::string html;
  std::string expected = DocumentStart;
  for (int i = 0; i < 20000; ++i) {
    html += "<a href=\"x\" v=1>t&amp;{\\}</a><!-- c -->\r\n";
    expected +=
        "\\cf7 <\\cf4 a\\cf5  \\cf3 href\\cf7 =\\cf6 \"x\"\\cf5  \\cf3 v\\cf7 =\\cf10 1\\cf7 >"
        "\\cf8 t\\cf11 &amp;\\cf8 \\{\\\\\\}\\cf7 <\\cf4 /a\\cf7 >\\cf2 <!--\\cf2  c -->\\par\\cf5 \r\n";
  }
  expected += "\\par }";
  EXPECT_EQ(HighlightedRtf(html), expected);

  // A stream that is not a memory stream gets the same bytes in blocks.
  struct TCollectingStream final : ThltStream {
    std::string Bytes;
    int Writes = 0;
    void Write(const char* data, std::size_t size) override {
      Bytes.append(data, size);
      ++Writes;
    }
  } collected;
  ThltHTMLRTF highlighter;
  highlighter.SetSource(html);
  highlighter.WriteRTF(collected);
  EXPECT_EQ(collected.Bytes, expected);
  EXPECT_GT(collected.Writes, 1);
}

TEST(MemoryStreamTest, WritesAtThePositionAndReadsBack) {
  ThltMemoryStream stream;
  stream.Write("abcdef");
  stream.SetPosition(2);
  stream.Write("XY");
  stream.SetPosition(5);
  stream.Write("123");
  EXPECT_EQ(stream.Bytes(), "abXYe123");
  stream.SetPosition(10);
  stream.Write("!");
  EXPECT_EQ(stream.Bytes(), std::string("abXYe123\0\0!", 11));
  stream.SetPosition(6);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(std::string(buffer, 5), std::string("23\0\0!", 5));
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream.TakeBytes().size(), 11u);
  EXPECT_EQ(stream.Size(), 0u);
}

// The RTF document writer: fixed pieces, font and colour tables, runs, stream.

#include "RtfDocument.h"
#include "hltHTML.h"

#include <gtest/gtest.h>

namespace {

const std::string BaseDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
    "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }";

class TFakeFontMetrics final : public ThltFontMetricsProvider {
public:
    ThltFontMetrics Reply{0, 0x31};
    ThltFontMetrics Metrics(const std::string&) const override { return Reply; }
};

// Installs a fake provider for the length of one test.
class FontTableTest : public ::testing::Test {
protected:
    void SetUp() override { SetFontMetricsProvider(&Fake); }
    void TearDown() override { SetFontMetricsProvider(nullptr); }

    std::string FontEntry(std::uint8_t charSet, std::uint8_t pitchAndFamily)
    {
        Fake.Reply = {charSet, pitchAndFamily};
        const std::string rtf = ThltRTFSyntax().GetRTF();
        const std::size_t start = rtf.find("{\\fonttbl") + 9;
        return rtf.substr(start, rtf.find("}}") + 1 - start);
    }

    TFakeFontMetrics Fake;
};

} // namespace

TEST(WriterTest, WorkedExamplesGiveTheExactDocument)
{
    EXPECT_EQ(HighlightedRtf("<b>x</b>"),
              DocumentStart + "\\cf7 <\\cf4 b\\cf7 >\\cf8 x\\cf7 <\\cf4 /b\\cf7 >\\par }");
    EXPECT_EQ(HighlightedRtf("<p>\r\n</p>"),
              DocumentStart + "\\cf7 <\\cf4 p\\cf7 >\\par\\cf5 \r\n\\cf7 <\\cf4 /p\\cf7 >\\par }");
}

TEST(WriterTest, BaseWriterAloneHasNoColourTableAndNoRuns)
{
    EXPECT_EQ(ThltRTFSyntax().GetRTF(), BaseDocument);
}

TEST(WriterTest, LineEnds)
{
    EXPECT_EQ(HighlightedRtf(""), DocumentStart + "\\par }");
    EXPECT_EQ(Body("<br>\r\n"), "\\cf7 <\\cf4 br\\cf7 >\\par\\cf5 \r\n");
    // A lone LF or CR is a blank token, but not a line break of the document.
    EXPECT_EQ(Body("<p>\n<p>\r"), "\\cf7 <\\cf4 p\\cf7 >\\cf5 \n\\cf7 <\\cf4 p\\cf7 >\\cf5 \r");
}

TEST(WriterTest, BytesAbove127AreWrittenUnchanged)
{
    EXPECT_EQ(Body("<p>caf\xE9 \x80\xFF"), "\\cf7 <\\cf4 p\\cf7 >\\cf8 caf\xE9 \x80\xFF");
}

TEST(WriterTest, RunIndexIsWrittenInDecimal)
{
    ThltRTFSyntax writer;
    ThltRunBuffer run;
    writer.FormatToken(5, " x", run);
    writer.FormatToken(123, "{y}", run);
    writer.FormatToken(-1, "", run);
    EXPECT_EQ(run.View(), "\\cf5  x\\cf123 {y}\\cf-1 ");
}

TEST(WriterTest, ColourEntries)
{
    struct TPurple final : ThltColorResolver {
        ThltColor Resolve(ThltColor) const override { return hltRGB(128, 0, 128); }
    } purple;
    ThltRTFSyntax writer;
    EXPECT_EQ(writer.ColorEntry(hltRGB(0, 0, 255)), "\\red0\\green0\\blue255;");
    EXPECT_EQ(writer.ColorEntry(0x000080), "\\red128\\green0\\blue0;");
    EXPECT_EQ(writer.ColorEntry(clNavy), "\\red0\\green0\\blue128;");
    EXPECT_EQ(writer.ColorEntry(clBtnFace), "\\red240\\green240\\blue240;");
    EXPECT_EQ(writer.ColorEntry(clWindow), "\\red255\\green255\\blue255;");
    EXPECT_EQ(writer.ColorEntry(clWindowText), "\\red0\\green0\\blue0;");
    SetColorResolver(&purple);
    EXPECT_EQ(writer.ColorEntry(clMenuText), "\\red128\\green0\\blue128;");
    EXPECT_EQ(writer.ColorEntry(hltRGB(1, 2, 3)), "\\red1\\green2\\blue3;");
    SetColorResolver(nullptr);
}

TEST(WriterTest, ColourTableStartsWithBlack)
{
    ThltRTFSyntax writer;
    writer.SetColorTable(nullptr, 0);
    EXPECT_NE(writer.GetRTF().find("}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\deflang1033"), std::string::npos);
    const ThltColor colors[] = {hltRGB(255, 0, 0), hltRGB(0, 128, 0)};
    writer.SetColorTable(colors, 2);
    EXPECT_NE(writer.GetRTF().find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"),
              std::string::npos);
}

TEST_F(FontTableTest, CharacterSetWords)
{
    EXPECT_EQ(FontEntry(0, 0x31), "{\\f0\\fmodern\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(1, 0x31), "{\\f0\\fmodern\\fcharset1 Courier New;}");
    EXPECT_EQ(FontEntry(2, 0x31), "{\\f0\\fmodern\\fcharset2 Courier New;}");
    EXPECT_EQ(FontEntry(128, 0x31), "{\\f0\\fmodern\\fcharset128 Courier New;}");
    EXPECT_EQ(FontEntry(255, 0x31), "{\\f0\\fmodern\\fcharset255 Courier New;}");
    EXPECT_EQ(FontEntry(77, 0x31), "{\\f0\\fmodern\\ Courier New;}");
}

TEST_F(FontTableTest, FamilyWordsFromTheHighFourBits)
{
    EXPECT_EQ(FontEntry(0, 0x00), "{\\f0\\fdontcare\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x1F), "{\\f0\\froman\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x22), "{\\f0\\fswiss\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x36), "{\\f0\\fmodern\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x40), "{\\f0\\fscript\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x51), "{\\f0\\fdecorative\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0x60), "{\\f0\\froman\\fcharset0 Courier New;}");
    EXPECT_EQ(FontEntry(0, 0xF3), "{\\f0\\froman\\fcharset0 Courier New;}");
}

TEST_F(FontTableTest, FontsAreNumberedInOrder)
{
    Fake.Reply = {0, 0x22};
    ThltRTFSyntax writer;
    const ThltFont fonts[] = {{"Arial"}, {"Times New Roman"}};
    writer.SetFontTable(fonts, 2);
    const std::string expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl"
                                 "{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fswiss\\fcharset0 Times New Roman;}}\r\n";
    EXPECT_EQ(writer.GetRTF().substr(0, expected.size()), expected);
}

TEST(WriterTest, WriteAppendsAtTheStreamPosition)
{
    const std::string html = "<i>a</i>";
    ThltHTMLRTF highlighter;
    highlighter.SetSource(html);
    ThltMemoryStream stream;
    stream.Write("keep");
    highlighter.WriteRTF(stream);
    EXPECT_EQ(stream.Bytes(), "keep" + HighlightedRtf(html));
}

TEST(WriterTest, LargeDocumentEqualsItsPieces)
{
    // Much larger than one block of runs, with every run kind.
    std::string html;
    for (int i = 0; i < 20000; ++i)
        html += "<a href=\"x\" v=1>t&amp;{\\}</a><!-- c -->\r\n";
    std::string expected = DocumentStart;
    for (int i = 0; i < 20000; ++i)
        expected += "\\cf7 <\\cf4 a\\cf5  \\cf3 href\\cf7 =\\cf6 \"x\"\\cf5  \\cf3 v\\cf7 =\\cf10 1\\cf7 >"
                    "\\cf8 t\\cf11 &amp;\\cf8 \\{\\\\\\}\\cf7 <\\cf4 /a\\cf7 >\\cf2 <!--\\cf2  c -->\\par\\cf5 \r\n";
    EXPECT_EQ(HighlightedRtf(html), expected + "\\par }");
}

TEST(MemoryStreamTest, WritesAtThePositionAndReadsBack)
{
    ThltMemoryStream stream;
    stream.Write("abcdef");
    stream.SetPosition(2);
    stream.Write("XY");
    EXPECT_EQ(stream.Bytes(), "abXYef");
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

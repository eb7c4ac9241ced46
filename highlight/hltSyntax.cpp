#include "hltSyntax.h"

#include <array>

namespace {

constexpr std::string_view LineBreak = "\r\n";
constexpr std::string_view TextStart = "\\f0 ";
constexpr std::string_view DocumentEnd = "\\par }";

// The runs are collected in blocks of about this size, so that the stream
// sees a few large writes instead of two small ones per token.
constexpr std::size_t ChunkSize = 64 * 1024;

// "\cf" + index + " " for the usual indices, each padded to eight bytes so
// that a run prefix is a single move.
struct TRunPrefix {
    char Bytes[8];
    std::size_t Size;
};
constexpr int RunPrefixCount = 16;

constexpr std::array<TRunPrefix, RunPrefixCount> MakeRunPrefixes()
{
    std::array<TRunPrefix, RunPrefixCount> prefixes{};
    for (int index = 0; index < RunPrefixCount; ++index) {
        TRunPrefix& prefix = prefixes[index];
        std::size_t size = 0;
        for (const char c : std::string_view("\\cf"))
            prefix.Bytes[size++] = c;
        if (index >= 10)
            prefix.Bytes[size++] = static_cast<char>('0' + index / 10);
        prefix.Bytes[size++] = static_cast<char>('0' + index % 10);
        prefix.Bytes[size++] = ' ';
        prefix.Size = size;
    }
    return prefixes;
}

constexpr std::array<TRunPrefix, RunPrefixCount> RunPrefixes = MakeRunPrefixes();

// Kept out of line so that the common case stays small.
[[gnu::noinline]] void AppendRunPrefix(ThltRunBuffer& run, int colorIndex)
{
    run.Append("\\cf" + std::to_string(colorIndex) + " ");
}

std::string_view CharSetWord(std::uint8_t charSet)
{
    switch (charSet) {
    case 0: return "fcharset0";
    case 1: return "fcharset1";
    case 2: return "fcharset2";
    case 128: return "fcharset128";
    case 255: return "fcharset255";
    default: return "";
    }
}

std::string_view FamilyWord(std::uint8_t pitchAndFamily)
{
    constexpr std::string_view Words[] = {
        "fdontcare", "froman", "fswiss", "fmodern", "fscript", "fdecorative",
    };
    const unsigned family = pitchAndFamily >> 4;
    return family < sizeof(Words) / sizeof(Words[0]) ? Words[family] : "froman";
}

} // namespace

ThltRTFSyntax::ThltRTFSyntax()
    : FCodePage(1252)
{
    const ThltFont courier{"Courier New"};
    SetFontTable(&courier, 1);
    FHeader = "{\\rtf1\\ansi\\ansicpg" + std::to_string(FCodePage) + "\\deff0\\deftab720{\\fonttbl";
    FFontTableEnd = "}\r\n";
    FDefaults = "\\deflang1033\\pard\\plain\\f0\\fs20";
}

ThltRTFSyntax::~ThltRTFSyntax() = default;

void ThltRTFSyntax::EscapeText(std::string_view&, std::string&)
{
}

void ThltRTFSyntax::FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run)
{
    AppendRun(run, colorIndex, text);
}

void ThltRTFSyntax::NextToken()
{
}

bool ThltRTFSyntax::AtEnd()
{
    return true;
}

std::string_view ThltRTFSyntax::TokenText()
{
    return {};
}

int ThltRTFSyntax::TokenColorIndex()
{
    return 0;
}

std::string ThltRTFSyntax::ColorEntry(ThltColor color)
{
    const ThltColor rgb = hltResolveColor(color);
    return "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string(rgb >> 8 & 0xFF) +
           "\\blue" + std::to_string(rgb >> 16 & 0xFF) + ";";
}

void ThltRTFSyntax::BeginScan(const std::string&, int)
{
}

void ThltRTFSyntax::SetSource(const std::string& text)
{
    BeginScan(text, 1);
}

void ThltRTFSyntax::WriteRTF(ThltStream& stream)
{
    ThltRunBuffer chunk(2 * ChunkSize);
    for (const std::string_view piece : {std::string_view(FHeader), std::string_view(FFontTable),
                                         std::string_view(FFontTableEnd), std::string_view(FColorTable),
                                         std::string_view(FDefaults), TextStart})
        chunk.Append(piece);
    std::string scratch;
    while (!AtEnd()) {
        std::string_view text = TokenText();
        const int colorIndex = TokenColorIndex();
        EscapeText(text, scratch);
        // No blank after "\par": the run that follows starts with a backslash.
        if (text == LineBreak)
            chunk.Append("\\par");
        FormatToken(colorIndex, text, chunk);
        if (chunk.Size() >= ChunkSize) {
            stream.Write(chunk.View());
            chunk.Clear();
        }
        NextToken();
    }
    chunk.Append(DocumentEnd);
    stream.Write(chunk.View());
}

std::string ThltRTFSyntax::GetRTF()
{
    ThltMemoryStream stream;
    WriteRTF(stream);
    return stream.TakeBytes();
}

void ThltRTFSyntax::SetColorTable(const ThltColor* colors, std::size_t count)
{
    FColorTable = "{\\colortbl\\red0\\green0\\blue0;";
    for (std::size_t i = 0; i < count; ++i)
        FColorTable += ColorEntry(colors[i]);
    FColorTable += "}\r\n";
}

void ThltRTFSyntax::SetFontTable(const ThltFont* fonts, std::size_t count)
{
    FFontTable.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const ThltFontMetrics metrics = FontMetricsProvider().Metrics(fonts[i].Name);
        FFontTable.append("{\\f").append(std::to_string(i)).append("\\");
        FFontTable.append(FamilyWord(metrics.PitchAndFamily)).append("\\");
        FFontTable.append(CharSetWord(metrics.CharSet)).append(" ");
        FFontTable.append(fonts[i].Name).append(";}");
    }
}

void ThltRTFSyntax::AppendRun(ThltRunBuffer& run, int colorIndex, std::string_view text)
{
    if (colorIndex >= 0 && colorIndex < RunPrefixCount) {
        const TRunPrefix& prefix = RunPrefixes[colorIndex];
        run.AppendShort(prefix.Bytes, prefix.Size);
    } else {
        AppendRunPrefix(run, colorIndex);
    }
    run.Append(text);
}

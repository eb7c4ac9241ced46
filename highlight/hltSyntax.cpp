#include "highlight/hltSyntax.h"

#include <cstring>
#include <limits>

namespace {

constexpr std::string_view TextStart = "\\f0 ";
constexpr std::string_view DocumentEnd = "\\par }";

// For a stream that does not hand out its buffer, the runs are collected in
// blocks of about this size: a few large writes instead of two per token.
constexpr std::size_t ChunkSize = 64 * 1024;

std::string_view CharSetWord(std::uint8_t charSet) {
  switch (charSet) {
    case 0: return "fcharset0";
    case 1: return "fcharset1";
    case 2: return "fcharset2";
    case 128: return "fcharset128";
    case 255: return "fcharset255";
    default: return "";
  }
}

std::string_view FamilyWord(std::uint8_t pitchAndFamily) {
  constexpr std::string_view Words[] = {
      "fdontcare", "froman", "fswiss", "fmodern", "fscript", "fdecorative",
  };
  const unsigned family = pitchAndFamily >> 4;
  return family < sizeof(Words) / sizeof(Words[0]) ? Words[family] : "froman";
}

}  // namespace

ThltRTFSyntax::ThltRTFSyntax() : FCodePage(1252) {
  const ThltFont courier{"Courier New"};
  SetFontTable(&courier, 1);
  FHeader = "{\\rtf1\\ansi\\ansicpg" + std::to_string(FCodePage) + "\\deff0\\deftab720{\\fonttbl";
  FFontTableEnd = "}\r\n";
  FDefaults = "\\deflang1033\\pard\\plain\\f0\\fs20";
}

ThltRTFSyntax::~ThltRTFSyntax() = default;

void ThltRTFSyntax::EscapeText(std::string_view&, std::string&) {}

void ThltRTFSyntax::FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run) {
  AppendRun(run, colorIndex, text, text.size());
}

void ThltRTFSyntax::NextToken() {}

bool ThltRTFSyntax::AtEnd() { return true; }

std::string_view ThltRTFSyntax::TokenText() { return {}; }

int ThltRTFSyntax::TokenColorIndex() { return 0; }

std::string ThltRTFSyntax::ColorEntry(ThltColor color) {
  const ThltColor rgb = hltResolveColor(color);
  return "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string(rgb >> 8 & 0xFF) + "\\blue" +
         std::to_string(rgb >> 16 & 0xFF) + ";";
}

void ThltRTFSyntax::BeginScan(const std::string&, int) {}

void ThltRTFSyntax::SetSource(const std::string& text) {
  FSourceSize = text.size();
  BeginScan(text, 1);
}

void ThltRTFSyntax::WriteRTF(ThltStream& stream) { WriteDocument(*this, stream); }

// The runs go straight into a memory stream's own buffer, reserved up front
// for about three bytes per source byte; any other stream gets them in blocks
// of about ChunkSize.
ThltRTFSyntax::TDocumentOutput::TDocumentOutput(const ThltRTFSyntax& syntax, ThltStream& stream)
    : FStream(stream),
      FDirect(stream.BeginAppend()),
      FChunk(FDirect ? 0 : 2 * ChunkSize),
      FOut(FDirect ? *FDirect : FChunk),
      FFlushAt(FDirect ? std::numeric_limits<std::size_t>::max() : ChunkSize) {
  const std::array<std::string_view, 6> pieces = syntax.OpeningPieces();
  if (FDirect) {
    std::size_t fixed = DocumentEnd.size();
    for (const std::string_view piece : pieces) fixed += piece.size();
    FDirect->Reserve(FDirect->Size() + fixed + 3 * syntax.FSourceSize);
  }
  for (const std::string_view piece : pieces) FOut.Append(piece);
}

void ThltRTFSyntax::TDocumentOutput::Flush() {
  FStream.Write(FOut.View());
  FOut.Clear();
}

void ThltRTFSyntax::TDocumentOutput::Finish() {
  FOut.Append(DocumentEnd);
  if (FDirect)
    FStream.EndAppend();
  else
    FStream.Write(FOut.View());
}

std::array<std::string_view, 6> ThltRTFSyntax::OpeningPieces() const {
  return {FHeader, FFontTable, FFontTableEnd, FColorTable, FDefaults, TextStart};
}

std::string ThltRTFSyntax::Opening() const {
  std::string opening;
  for (const std::string_view piece : OpeningPieces()) opening += piece;
  return opening;
}

std::string_view ThltRTFSyntax::Closing() { return DocumentEnd; }

std::string ThltRTFSyntax::GetRTF() {
  ThltMemoryStream stream;
  WriteRTF(stream);
  return stream.TakeBytes();
}

void ThltRTFSyntax::SetColorTable(const ThltColor* colors, std::size_t count) {
  FColorTable = "{\\colortbl\\red0\\green0\\blue0;";
  for (std::size_t i = 0; i < count; ++i) FColorTable += ColorEntry(colors[i]);
  FColorTable += "}\r\n";
}

void ThltRTFSyntax::SetFontTable(const ThltFont* fonts, std::size_t count) {
  FFontTable.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const ThltFontMetrics metrics = FontMetricsProvider().Metrics(fonts[i].Name);
    FFontTable.append("{\\f").append(std::to_string(i)).append("\\");
    FFontTable.append(FamilyWord(metrics.PitchAndFamily)).append("\\");
    FFontTable.append(CharSetWord(metrics.CharSet)).append(" ");
    FFontTable.append(fonts[i].Name).append(";}");
  }
}

void ThltRTFSyntax::AppendRareRun(ThltRunBuffer& run, int colorIndex, std::string_view text) {
  run.Append("\\cf" + std::to_string(colorIndex) + " ");
  run.Append(text);
}

#include "text/RtfWriter.h"

#include <algorithm>

namespace {

const char* FamilyWord(TRtfFamily family) {
  static const char* const Words[] = {"fnil",    "froman", "fswiss", "fmodern",
                                      "fscript", "fdecor", "ftech",  "fbidi"};
  return Words[static_cast<int>(family)];
}

void AppendNumber(std::string& out, const char* word, long long value) {
  out += word;
  out += std::to_string(value);
}

}  // namespace

std::string TRtfWriter::Write(const TRtfDocument& document) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0";
  out.reserve(document.Text.size() * 2 + 256);
  WriteFontTable(document, out);
  const std::vector<std::int32_t> colours = WriteColourTable(document, out);
  out += "\\pard\\plain ";
  const std::string_view text = document.Text;
  for (const TRtfRun& run : document.Runs) {
    WriteFormat(document.Formats[std::size_t(run.Format)], colours, out);
    WriteText(text.substr(run.Start, run.Length), out);
  }
  out += "\\par }";
  return out;
}

void TRtfWriter::WriteFontTable(const TRtfDocument& document, std::string& out) {
  out += "{\\fonttbl";
  for (std::size_t i = 0; i < document.Fonts.size(); ++i) {
    AppendNumber(out, "{\\f", (long long)i);
    out += '\\';
    out += FamilyWord(document.Fonts[i].Family);
    out += ' ';
    out += document.Fonts[i].Name;
    out += ";}";
  }
  out += "}\r\n";
}

// Entry 0 stays "auto" for text in the default colour; returns the colours of entries 1 onwards.
std::vector<std::int32_t> TRtfWriter::WriteColourTable(const TRtfDocument& document, std::string& out) {
  std::vector<std::int32_t> colours;
  for (const TRtfFormat& format : document.Formats)
    if (format.Colour != TRtfFormat::DefaultColour &&
        std::find(colours.begin(), colours.end(), format.Colour) == colours.end())
      colours.push_back(format.Colour);
  out += "{\\colortbl;";
  for (const std::int32_t colour : colours) {
    AppendNumber(out, "\\red", (colour >> 16) & 0xFF);
    AppendNumber(out, "\\green", (colour >> 8) & 0xFF);
    AppendNumber(out, "\\blue", colour & 0xFF);
    out += ';';
  }
  out += "}\r\n";
  return colours;
}

void TRtfWriter::WriteFormat(const TRtfFormat& format, const std::vector<std::int32_t>& colours,
                             std::string& out) {
  out += "\\plain";
  if (format.Font >= 0) AppendNumber(out, "\\f", format.Font);
  AppendNumber(out, "\\fs", format.HalfPoints);
  if (format.Colour != TRtfFormat::DefaultColour) {
    const auto found = std::find(colours.begin(), colours.end(), format.Colour);
    AppendNumber(out, "\\cf", (long long)(found - colours.begin()) + 1);
  }
  if (format.Bold) out += "\\b";
  if (format.Italic) out += "\\i";
  if (format.Underline) out += "\\ul";
  out += ' ';
}

void TRtfWriter::WriteText(std::string_view text, std::string& out) {
  static const char Hex[] = "0123456789abcdef";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\\par\r\n";
      ++i;
    } else if (byte == '\\' || byte == '{' || byte == '}') {
      out += '\\';
      out += char(byte);
    } else if (byte == '\t') {
      out += "\\tab ";
    } else if (byte >= 0x80 || byte == '\r' || byte == '\n') {
      out += "\\'";
      out += Hex[byte >> 4];
      out += Hex[byte & 0xF];
    } else {
      out += char(byte);
    }
  }
}

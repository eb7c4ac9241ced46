#pragma once

#include <string>

#include "text/RtfDocument.h"

// Writes a document as RTF that TRtfReader reads back to the same text and formats: every run
// restates its whole format, bytes above 127 and the RTF special characters are escaped, and
// each line break is a paragraph mark.
class TRtfWriter {
public:
  static std::string Write(const TRtfDocument& document);

private:
  static void WriteFontTable(const TRtfDocument& document, std::string& out);
  static std::vector<std::int32_t> WriteColourTable(const TRtfDocument& document, std::string& out);
  static void WriteFormat(const TRtfFormat& format, const std::vector<std::int32_t>& colours,
                          std::string& out);
  static void WriteText(std::string_view text, std::string& out);
};

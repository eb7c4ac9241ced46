#pragma once

#include <algorithm>
#include <functional>
#include <string>

// The fixed parts of the highlighter's documents around the runs of a test case.
inline std::string HighlighterRtf(const std::string& runs) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
         "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
         "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red0\\green128\\blue0;"
         "\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue0;"
         "\\red0\\green0\\blue0;}\r\n"
         "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 " +
         runs + "\\par }";
}

// A document in the highlighter's layout that gives each line of text the colour index that
// colourOf chooses for it.
inline std::string RtfOfLines(const std::string& text,
                              const std::function<int(const std::string&)>& colourOf) {
  std::string runs;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    const std::string line = text.substr(start, end - start);
    runs += "\\cf" + std::to_string(colourOf(line)) + ' ';
    for (const char c : line) {
      if (c == '\\' || c == '{' || c == '}') runs += '\\';
      runs += c;
    }
    if (end == text.size()) break;
    runs += "\\par\\cf5 \r\n";
    start = end + 2;
  }
  return HighlighterRtf(runs);
}

inline std::string RtfOfLines(const std::string& text, int colour) {
  return RtfOfLines(text, [colour](const std::string&) { return colour; });
}

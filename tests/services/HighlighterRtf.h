#pragma once

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

// A document in the highlighter's layout that gives every line of text the one colour index.
inline std::string RtfOfLines(const std::string& text, int colour) {
  const std::string run = "\\cf" + std::to_string(colour) + ' ';
  std::string runs = run;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      runs += "\\par\\cf5 \r\n" + run;
      ++i;
    } else {
      if (c == '\\' || c == '{' || c == '}') runs += '\\';
      runs += c;
    }
  }
  return HighlighterRtf(runs);
}

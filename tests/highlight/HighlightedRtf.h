#pragma once

// Test-side reading of the documents the highlighter writes.

#include <string>
#include <string_view>
#include <vector>

// The fixed start of every HTML highlighter document with the default font
// metrics, up to and including "\f0 ".
extern const std::string DocumentStart;
extern const std::string DocumentEnd;

// The whole document for an HTML text, and the part between DocumentStart
// and DocumentEnd.
std::string HighlightedRtf(const std::string& html);
std::string Body(const std::string& html);

struct TParsedRun {
  bool AfterPar;  // the run is preceded by "\par"
  int ColorIndex;
  std::string Text;  // unescaped
};

// Splits a document body into its runs; returns what is wrong, or "".
std::string ParseRuns(std::string_view body, std::vector<TParsedRun>& runs);

// Checks what must hold for any text; returns what is wrong, or "":
// the tokens cover the text up to its first NUL without gap or overlap, the
// document has its fixed start and end, the runs unescape to the tokens,
// exactly the CR LF runs are preceded by "\par", and the text as the pane
// holds it comes back unchanged through the highlighter and the editor's RTF
// reader.
std::string CheckInvariants(const std::string& html);

#include "tests/highlight/HighlightedRtf.h"

#include <cstring>

#include "highlight/hltHTML.h"
#include "text/RtfReader.h"

const std::string DocumentStart =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
    "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue0;"
    "\\red0\\green0\\blue0;}\r\n"
    "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
const std::string DocumentEnd = "\\par }";

std::string HighlightedRtf(const std::string& html) {
  ThltHTMLRTF highlighter;
  highlighter.SetSource(html);
  return highlighter.GetRTF();
}

namespace {

bool HasFixedParts(std::string_view rtf) {
  return rtf.size() >= DocumentStart.size() + DocumentEnd.size() &&
         rtf.substr(0, DocumentStart.size()) == DocumentStart &&
         rtf.substr(rtf.size() - DocumentEnd.size()) == DocumentEnd;
}

std::string_view BodyOf(std::string_view rtf) {
  return rtf.substr(DocumentStart.size(), rtf.size() - DocumentStart.size() - DocumentEnd.size());
}

// Reads "\cf" + digits + " "; returns the index, or -1.
int ReadRunPrefix(std::string_view body, std::size_t& i) {
  if (body.substr(i, 3) != "\\cf") return -1;
  i += 3;
  int index = 0;
  const std::size_t digits = i;
  while (i < body.size() && body[i] >= '0' && body[i] <= '9') index = index * 10 + (body[i++] - '0');
  if (i == digits || i == body.size() || body[i] != ' ') return -1;
  ++i;
  return index;
}

// Reads escaped text up to the next control word; an unescaped brace is an
// error.
std::string ReadRunText(std::string_view body, std::size_t& i, std::string& error) {
  std::string text;
  for (; i < body.size(); ++i) {
    if (body[i] == '{' || body[i] == '}') {
      error = "unescaped brace at " + std::to_string(i);
      break;
    }
    if (body[i] == '\\') {
      const char next = i + 1 < body.size() ? body[i + 1] : '\0';
      if (next != '\\' && next != '{' && next != '}') break;
      ++i;
    }
    text += body[i];
  }
  return text;
}

std::string CheckTokens(const std::string& html) {
  ThltHTMLRTF highlighter;
  highlighter.SetSource(html);
  const char* next = html.c_str();
  const char* end = next + std::strlen(next);
  // Progress: at most two empty tokens come between two that advance.
  for (std::size_t budget = 3 * (html.size() + 1); !highlighter.AtEnd(); highlighter.NextToken()) {
    const std::string_view token = highlighter.TokenText();
    if (token.data() != next)
      return "token at " + std::to_string(token.data() - html.c_str()) + " leaves a gap or overlaps";
    next += token.size();
    if (next > end) return "a token runs past the first NUL";
    if (budget-- == 0) return "the scan does not advance";
  }
  return next == end ? "" : "the tokens stop at " + std::to_string(next - html.c_str());
}

std::string CheckRuns(const std::string& html, const std::vector<TParsedRun>& runs) {
  std::string joined;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const TParsedRun& run = runs[k];
    const std::string where = "run " + std::to_string(k);
    if (run.ColorIndex < 1 || run.ColorIndex > 11)
      return where + " has colour index " + std::to_string(run.ColorIndex);
    if (run.AfterPar != (run.Text == "\r\n")) return where + " and its \\par do not match";
    if (run.Text != "\r\n" && run.Text.find("\r\n") != std::string::npos) return where + " holds a CR LF";
    if (!run.Text.empty() && run.Text[0] == '\n' && !joined.empty() && joined.back() == '\r')
      return "a CR LF is split before " + where;
    joined += run.Text;
  }
  return joined == html.c_str() ? "" : "the runs do not give the text back";
}

// The text as the editing pane holds it: up to the first NUL, every CR, LF and CR LF one CR LF.
std::string PaneText(const std::string& html) {
  std::string text;
  for (const char* c = html.c_str(); *c != '\0'; ++c) {
    if (*c == '\r' || *c == '\n') {
      text += "\r\n";
      c += c[0] == '\r' && c[1] == '\n';
    } else {
      text += *c;
    }
  }
  return text;
}

// The pane's round trip: its text through the highlighter and back through the editor's own
// RTF reader comes back unchanged.
std::string CheckReadBack(const std::string& html) {
  const std::string text = PaneText(html);
  TRtfDocument document;
  if (!TRtfReader(HighlightedRtf(text)).Read(document)) return "the RTF reader refuses the document";
  return document.Text == text ? "" : "the RTF reader does not give the pane's text back";
}

}  // namespace

std::string Body(const std::string& html) {
  const std::string rtf = HighlightedRtf(html);
  return HasFixedParts(rtf) ? std::string(BodyOf(rtf)) : "<no fixed start and end>";
}

std::string ParseRuns(std::string_view body, std::vector<TParsedRun>& runs) {
  std::string error;
  for (std::size_t i = 0; i < body.size() && error.empty();) {
    TParsedRun run{body.substr(i, 4) == "\\par", 0, {}};
    i += run.AfterPar ? 4 : 0;
    run.ColorIndex = ReadRunPrefix(body, i);
    if (run.ColorIndex < 0) return "no run starts at " + std::to_string(i);
    run.Text = ReadRunText(body, i, error);
    runs.push_back(std::move(run));
  }
  return error;
}

std::string CheckInvariants(const std::string& html) {
  if (std::string error = CheckTokens(html); !error.empty()) return error;
  const std::string rtf = HighlightedRtf(html);
  if (!HasFixedParts(rtf)) return "the document's fixed start or end is wrong";
  std::vector<TParsedRun> runs;
  if (std::string error = ParseRuns(BodyOf(rtf), runs); !error.empty()) return error;
  if (std::string error = CheckRuns(html, runs); !error.empty()) return error;
  return CheckReadBack(html);
}

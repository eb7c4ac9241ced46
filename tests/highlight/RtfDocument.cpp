#include "RtfDocument.h"

#include "hltHTML.h"

#include <cstring>

const std::string DocumentStart =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
    "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue0;"
    "\\red0\\green0\\blue0;}\r\n"
    "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
const std::string DocumentEnd = "\\par }";

std::string HighlightedRtf(const std::string& html)
{
    ThltHTMLRTF highlighter;
    highlighter.SetSource(html);
    return highlighter.GetRTF();
}

std::string Body(const std::string& html)
{
    const std::string rtf = HighlightedRtf(html);
    if (rtf.size() < DocumentStart.size() + DocumentEnd.size())
        return "<document too short>";
    return rtf.substr(DocumentStart.size(), rtf.size() - DocumentStart.size() - DocumentEnd.size());
}

namespace {

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// Reads "\cf" + digits + " "; returns the index, or -1.
int ReadRunPrefix(std::string_view body, std::size_t& i)
{
    if (!StartsWith(body.substr(i), "\\cf"))
        return -1;
    i += 3;
    int index = 0;
    const std::size_t digits = i;
    while (i < body.size() && body[i] >= '0' && body[i] <= '9')
        index = index * 10 + (body[i++] - '0');
    if (i == digits || i == body.size() || body[i] != ' ')
        return -1;
    ++i;
    return index;
}

// Reads escaped text up to the next control word.
std::string ReadRunText(std::string_view body, std::size_t& i, std::string& error)
{
    std::string text;
    while (i < body.size()) {
        const char c = body[i];
        if (c == '{' || c == '}') {
            error = "unescaped brace at " + std::to_string(i);
            return text;
        }
        if (c != '\\') {
            text += c;
            ++i;
            continue;
        }
        const char next = i + 1 < body.size() ? body[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            text += next;
            i += 2;
            continue;
        }
        break;
    }
    return text;
}

std::string CheckTokens(const std::string& html)
{
    ThltHTMLRTF highlighter;
    highlighter.SetSource(html);
    const char* next = html.c_str();
    const char* end = html.c_str() + std::strlen(html.c_str());
    // Progress: at most two empty tokens come between two that advance.
    std::size_t budget = 3 * (html.size() + 1);
    for (; !highlighter.AtEnd(); highlighter.NextToken()) {
        const std::string_view token = highlighter.TokenText();
        if (token.data() != next)
            return "token at " + std::to_string(token.data() - html.c_str()) + " leaves a gap or overlaps";
        next += token.size();
        if (next > end)
            return "a token runs past the first NUL";
        if (budget-- == 0)
            return "the scan does not advance";
    }
    return next == end ? "" : "the tokens stop at " + std::to_string(next - html.c_str());
}

std::string CheckRuns(const std::string& html, const std::vector<TRtfRun>& runs)
{
    std::string joined;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const TRtfRun& run = runs[k];
        if (run.ColorIndex < 1 || run.ColorIndex > 11)
            return "run " + std::to_string(k) + " has colour index " + std::to_string(run.ColorIndex);
        if (run.AfterPar != (run.Text == "\r\n"))
            return "run " + std::to_string(k) + " and its \\par do not match";
        if (run.Text != "\r\n" && run.Text.find("\r\n") != std::string::npos)
            return "run " + std::to_string(k) + " holds a CR LF";
        if (k > 0 && !run.Text.empty() && run.Text[0] == '\n' && !joined.empty() && joined.back() == '\r')
            return "a CR LF is split before run " + std::to_string(k);
        joined += run.Text;
    }
    return joined == html.c_str() ? "" : "the runs do not give the text back";
}

} // namespace

std::string ParseRuns(std::string_view body, std::vector<TRtfRun>& runs)
{
    std::size_t i = 0;
    std::string error;
    while (i < body.size() && error.empty()) {
        TRtfRun run{StartsWith(body.substr(i), "\\par"), 0, {}};
        if (run.AfterPar)
            i += 4;
        run.ColorIndex = ReadRunPrefix(body, i);
        if (run.ColorIndex < 0)
            return "no run starts at " + std::to_string(i);
        run.Text = ReadRunText(body, i, error);
        runs.push_back(std::move(run));
    }
    return error;
}

std::string CheckInvariants(const std::string& html)
{
    if (std::string error = CheckTokens(html); !error.empty())
        return error;
    const std::string rtf = HighlightedRtf(html);
    if (!StartsWith(rtf, DocumentStart) || rtf.size() < DocumentStart.size() + DocumentEnd.size() ||
        rtf.compare(rtf.size() - DocumentEnd.size(), DocumentEnd.size(), DocumentEnd) != 0)
        return "the document's fixed start or end is wrong";
    std::vector<TRtfRun> runs;
    const std::string_view body(rtf.data() + DocumentStart.size(),
                                rtf.size() - DocumentStart.size() - DocumentEnd.size());
    if (std::string error = ParseRuns(body, runs); !error.empty())
        return error;
    return CheckRuns(html, runs);
}

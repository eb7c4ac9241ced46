#include "bench/highlight/PageGenerator.h"

#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view Words[] = {
    "the",     "editor",   "colours", "every", "token",  "while",     "you",    "type",  "page",
    "window",  "preview",  "markup",  "table", "value",  "attribute", "script", "quick", "server",
    "browser", "document", "line",    "caret", "stream", "highlight", "text",
};
constexpr std::string_view Entities[] = {"&amp;", "&nbsp;", "&lt;", "&gt;", "&copy;", "&eacute;"};
constexpr std::string_view Tags[] = {"b", "i", "em", "strong", "code", "span", "kbd"};

// A small fixed-seed generator, so every run measures the same page.
class TRandom {
public:
  std::uint32_t Next() {
    FState = FState * 1664525u + 1013904223u;
    return FState >> 8;
  }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Next() % N];
  }

private:
  std::uint32_t FState = 12345;
};

void AppendSentence(std::string& out, TRandom& random) {
  const int words = 8 + random.Next() % 14;
  for (int i = 0; i < words; ++i) {
    if (i > 0) out += ' ';
    // About one word in twelve is an entity, an inline tag or a link:
    // about six bytes per token, as on the real pages of the corpus.
    const std::uint32_t roll = random.Next() % 36;
    if (roll == 0) {
      out += random.Pick(Entities);
    } else if (roll == 1) {
      const std::string_view tag = random.Pick(Tags);
      out.append("<").append(tag).append(">").append(random.Pick(Words));
      out.append("</").append(tag).append(">");
    } else if (roll == 2) {
      out.append("<a href=\"page").append(std::to_string(random.Next() % 500));
      out.append(".html\" class=link>").append(random.Pick(Words)).append("</a>");
    } else {
      out += random.Pick(Words);
    }
  }
  out += ".";
}

void AppendParagraph(std::string& out, TRandom& random) {
  out += "<p>";
  const int sentences = 2 + random.Next() % 4;
  for (int i = 0; i < sentences; ++i) {
    AppendSentence(out, random);
    out += "\r\n";
  }
  out += "</p>\r\n";
}

void AppendTable(std::string& out, TRandom& random) {
  out += "<table border=1 cellpadding=\"2\">\r\n";
  const int rows = 2 + random.Next() % 5;
  for (int r = 0; r < rows; ++r) {
    out += "  <tr><td align=right>" + std::to_string(random.Next() % 10000);
    out.append("</td><td>").append(random.Pick(Words)).append("&nbsp;").append(random.Pick(Words));
    out += "</td></tr>\r\n";
  }
  out += "</table>\r\n";
}

void AppendCode(std::string& out, TRandom& random) {
  out += "<pre><code>fn main() {\r\n    let path = \"C:\\\\temp\\\\";
  out.append(random.Pick(Words)).append("\";\r\n    if a &lt; b { run(&amp;path); }\r\n}\r\n");
  out += "</code></pre>\r\n";
}

void AppendScriptAndStyle(std::string& out, TRandom& random) {
  out += "<script type=\"text/javascript\">\r\n// toggles the ";
  out.append(random.Pick(Words)).append(" panel\r\nfunction toggle(id) {\r\n");
  out +=
      "  var e = document.getElementById(id); if (e.style.display == \"none\") { e.style.display = \"\"; "
      "}\r\n";
  out += "}\r\n</script>\r\n<style>\r\n/* layout */\r\nbody { margin: 0 auto; font-family: sans-serif; }\r\n";
  out += "</style>\r\n<!-- generated section ";
  out += std::to_string(random.Next() % 1000);
  out += " -->\r\n<% Response.Write(\"";
  out.append(random.Pick(Words)).append("\") %>\r\n");
}

}  // namespace

std::string GeneratePage(std::size_t minSize) {
  TRandom random;
  std::string out =
      "<!DOCTYPE html>\r\n<html>\r\n<head><title>Generated</title>\r\n"
      "<meta charset=\"windows-1252\"></head>\r\n<body>\r\n";
  while (out.size() < minSize) {
    out.append("<h2 id=\"s").append(std::to_string(out.size())).append("\">Section</h2>\r\n");
    AppendParagraph(out, random);
    switch (random.Next() % 4) {
      case 0: AppendTable(out, random); break;
      case 1: AppendCode(out, random); break;
      case 2: AppendScriptAndStyle(out, random); break;
      default: AppendParagraph(out, random);
    }
  }
  out += "</body>\r\n</html>\r\n";
  return out;
}

std::string JoinLines(std::string page) {
  for (std::size_t i = page.find("\r\n"); i != std::string::npos; i = page.find("\r\n", i + 2)) {
    page[i] = ' ';
    page[i + 1] = ' ';
  }
  return page;
}

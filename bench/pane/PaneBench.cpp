// Loading a highlighted 1 MB page into the editing pane: the first load of its colours, the
// re-load of the same text with a few colours changed (the highlighting pass after a keystroke),
// and the same re-load with the fast recolouring switched off.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <memory>

#include "pane/RichEditPane.h"
#include "text/RtfReader.h"

namespace {

constexpr std::size_t PageSize = 1 << 20;
constexpr int ChangedLineEvery = 500;

// A page's text and its RTF in the highlighter's layout, one colour run per token.
class TPage {
public:
  explicit TPage(int variant) {
    FRtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
        "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red0\\green128\\blue0;"
        "\\red0\\green0\\blue255;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue0;"
        "\\red0\\green0\\blue0;}\r\n\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
    for (int line = 0; FText.size() < PageSize; ++line)
      AddLine(line, variant != 0 && line % ChangedLineEvery == 0);
    FRtf += "\\par }";
  }

  const std::string& Text() const { return FText; }
  const std::string& Rtf() const { return FRtf; }

private:
  void Token(const std::string& text, int colour) {
    FText += text;
    FRtf += "\\cf" + std::to_string(colour) + ' ' + text;
  }

  void Tag(const std::string& name) {
    Token("<", 7);
    Token(name, 4);
    Token(">", 7);
  }

  void AddLine(int line, bool changed) {
    const std::string number = std::to_string(line);
    Tag("tr");
    Token("<", 7);
    Token("td", 4);
    Token(" ", 8);
    Token("class", 2);
    Token("=", 8);
    Token("\"cell\"", 6);
    Token(">", 7);
    Token("Row " + number + " of the table ", changed ? 9 : 8);
    Token("&amp;", 9);
    Token(" an item", 8);
    Tag("/td");
    Tag("td");
    Token("<", 7);
    Token("a", 4);
    Token(" ", 8);
    Token("href", 2);
    Token("=", 8);
    Token("\"page" + number + ".htm\"", 6);
    Token(">", 7);
    Token("link", 8);
    Tag("/a");
    Tag("/td");
    Tag("/tr");
    FText += "\r\n";
    FRtf += "\\par\\cf5 \r\n";
  }

  std::string FText;
  std::string FRtf;
};

const TPage& Page(int variant) {
  static const TPage pages[] = {TPage(0), TPage(1)};
  return pages[variant];
}

void LoadRtf(TRichEditPane& pane, const std::string& rtf) {
  pane.SetPlainTextMode(false);
  pane.LoadFromStream(rtf);
  pane.SetPlainTextMode(true);
  QCoreApplication::processEvents();
}

void BM_ReadRtf(benchmark::State& state) {
  const std::string& rtf = Page(0).Rtf();
  for (auto _ : state) {
    TRtfDocument document;
    benchmark::DoNotOptimize(TRtfReader(rtf).Read(document));
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}

std::unique_ptr<TRichEditPane> ShownPane() {
  auto pane = std::make_unique<TRichEditPane>();
  pane->resize(800, 600);
  pane->show();
  QCoreApplication::processEvents();
  return pane;
}

// A new pane each time: one that has read nothing before.
void BM_FirstLoad(benchmark::State& state) {
  std::unique_ptr<TRichEditPane> pane;
  for (auto _ : state) {
    state.PauseTiming();
    pane = ShownPane();
    state.ResumeTiming();
    LoadRtf(*pane, Page(0).Rtf());
  }
}

// Alternates the two pages: the same text, a colour changed on every 500th line.
void BM_Recolour(benchmark::State& state) {
  const std::unique_ptr<TRichEditPane> pane = ShownPane();
  LoadRtf(*pane, Page(0).Rtf());
  int variant = 0;
  for (auto _ : state) {
    variant = 1 - variant;
    LoadRtf(*pane, Page(variant).Rtf());
  }
  if (pane->Text() != Page(0).Text()) state.SkipWithError("the pane's text changed");
}

BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Recolour)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

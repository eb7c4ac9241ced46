// One full highlighting pass as the editor runs it on every change:
// construct, SetSource, WriteRTF into a fresh memory stream. And one keystroke
// in the middle of a page with the document kept up to date piece by piece,
// against the full pass over the same page, with the bytes the pieces hold.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/highlight/PageGenerator.h"
#include "highlight/hltIncremental.h"

namespace {

void HighlightPass(benchmark::State& state, const std::string& html) {
  for (auto _ : state) {
    ThltHTMLRTF highlighter;
    highlighter.SetSource(html);
    ThltMemoryStream stream;
    highlighter.WriteRTF(stream);
    benchmark::DoNotOptimize(stream.Data());
  }
  const double bytes = static_cast<double>(html.size()) * static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
}

// A letter typed at the end of a middle line and taken back by Backspace:
// two edits an iteration.
void TypeAndBackspace(benchmark::State& state, std::string html) {
  ThltIncrementalRTF document;
  document.Reset(ThltStringSource(html));
  const std::size_t lineEnd = html.find("\r\n", html.size() / 2);
  const std::size_t middle = lineEnd == std::string::npos ? html.size() / 2 : lineEnd;
  for (auto _ : state) {
    html.insert(middle, 1, 'x');
    benchmark::DoNotOptimize(document.Edit(ThltStringSource(html), middle, 0, 1));
    html.erase(middle, 1);
    benchmark::DoNotOptimize(document.Edit(ThltStringSource(html), middle, 1, 0));
  }
  state.SetItemsProcessed(2 * state.iterations());
  const std::size_t held = document.Opening().size() + document.PieceCount() * sizeof(ThltScanPoint);
  state.counters["pieces"] = double(document.PieceCount());
  state.counters["heldPerByte"] = double(held) / double(html.size());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The inputs stay alive for the whole run: the highlighter views them.
std::vector<std::string>& Inputs() {
  static std::vector<std::string> inputs;
  return inputs;
}

void Register(const std::string& name, std::string html) {
  Inputs().push_back(std::move(html));
  const std::string& input = Inputs().back();
  benchmark::RegisterBenchmark(name.c_str(), HighlightPass, std::cref(input))
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

// The full pass and the kept document's keystroke over the same page.
void RegisterKeystroke(const std::string& name, std::string html) {
  benchmark::RegisterBenchmark(("keystroke/" + name).c_str(), TypeAndBackspace, html)
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  Register("keystroke-full-pass/" + name, std::move(html));
}

void RegisterAll() {
  Inputs().reserve(32);
  std::vector<std::filesystem::path> pages;
  for (const auto& entry : std::filesystem::directory_iterator(VORN_CORPUS_DIR))
    if (entry.path().extension() == ".html") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  for (const auto& page : pages) Register("corpus/" + page.filename().string(), ReadFile(page));
  Register("generated/8MB", GeneratePage(8 << 20));
  std::string lines = GeneratePage(800 << 10);
  Register("line-length/800KB-one-line", JoinLines(lines));
  Register("line-length/800KB-in-lines", std::move(lines));
  RegisterKeystroke("100KB", GeneratePage(100 << 10));
  RegisterKeystroke("1MB", GeneratePage(1 << 20));
  RegisterKeystroke("8MB", GeneratePage(8 << 20));
  RegisterKeystroke("32MB", GeneratePage(32 << 20));
  RegisterKeystroke("5MB-one-line", JoinLines(GeneratePage(5 << 20)));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

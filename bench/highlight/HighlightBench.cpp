// One full highlighting pass as the editor runs it on every change:
// construct, SetSource, WriteRTF into a fresh memory stream.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PageGenerator.h"
#include "hltHTML.h"

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

void RegisterAll() {
  Inputs().reserve(16);
  std::vector<std::filesystem::path> pages;
  for (const auto& entry : std::filesystem::directory_iterator(VORN_CORPUS_DIR))
    if (entry.path().extension() == ".html") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  for (const auto& page : pages) Register("corpus/" + page.filename().string(), ReadFile(page));
  Register("generated/8MB", GeneratePage(8 << 20));
  std::string lines = GeneratePage(800 << 10);
  Register("line-length/800KB-one-line", JoinLines(lines));
  Register("line-length/800KB-in-lines", std::move(lines));
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

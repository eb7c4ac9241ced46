// The find dialog's search over a whole 8 MB page, for the patterns that cost a naive search most.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/highlight/PageGenerator.h"
#include "text/TextSearch.h"

namespace {

constexpr std::size_t EightMB = 8 << 20;

void Search(benchmark::State& state, const std::string& text, const std::string& find,
            TSearchOptions options) {
  for (auto _ : state) benchmark::DoNotOptimize(SearchText(text, 0, 0, find, options));
}

void BM_SearchAbsentWord(benchmark::State& state) {
  static const std::string page = GeneratePage(EightMB);
  Search(state, page, "neverwrittenanywhere", {true, false, state.range(0) != 0});
}

void BM_SearchAbsentWordUp(benchmark::State& state) {
  static const std::string page = GeneratePage(EightMB);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        SearchText(page, page.size(), 0, "neverwrittenanywhere", {false, false, state.range(0) != 0}));
}

// Every position of the text agrees with the pattern up to its last character.
void BM_SearchNaiveWorstCase(benchmark::State& state) {
  static const std::string text(EightMB, 'a');
  Search(state, text, std::string(254, 'a') + "b", {true, state.range(0) != 0, false});
}

}  // namespace

BENCHMARK(BM_SearchAbsentWord)->Arg(0)->Arg(1)->ArgName("wholeWord")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAbsentWordUp)->Arg(0)->Arg(1)->ArgName("wholeWord")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchNaiveWorstCase)->Arg(0)->Arg(1)->ArgName("matchCase")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// The styled button's costs: one full repaint of a default button (copying the cached gradient
// images and drawing border, corners and caption), and the rebuild of its four gradient images
// when its size changes, at each quality.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QResizeEvent>

#include "widgets/dxButton.h"

namespace {

void BM_Repaint(benchmark::State& state) {
  TdxButton button;
  button.SetCaption("Update Preview");
  QImage target(button.size(), QImage::Format_RGB32);
  button.render(&target);  // delivers the pending resize: the images are built before timing
  for (auto _ : state) {
    button.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}

void BM_NotifyResized(benchmark::State& state) {
  TdxButton button;
  const QSize size(int(state.range(0)), int(state.range(1)));
  button.resize(size);
  button.SetQuality(TdxQuality(state.range(2)));
  QResizeEvent resized(size, size);
  for (auto _ : state) QApplication::sendEvent(&button, &resized);
}

BENCHMARK(BM_Repaint)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_NotifyResized)
    ->ArgNames({"w", "h", "quality"})
    ->ArgsProduct({{73}, {25}, {bqLow, bqMiddle, bqHigh}})
    ->ArgsProduct({{400}, {60}, {bqLow, bqMiddle, bqHigh}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

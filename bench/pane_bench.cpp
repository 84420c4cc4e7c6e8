// The selection data pane's per-repaint and per-mark arithmetic at its capacity of 1,000,001
// samples: the reduction of the trace to one line per column of an 800-column pane, and the
// statistics of a mark over every sample.
#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchCases.h"
#include "multipointcalibration/PaneArithmetic.h"

namespace {

using namespace MPCalibration::Pane;

constexpr int kClientWidth = 800 + kStripColumns;

void BM_PaneColumnReduction(benchmark::State& state) {
  const std::vector<float> samples = Bench::NoisySignal(kCapacity);
  std::vector<ColumnLine> lines;
  for (auto _ : state) {
    ReduceColumns(samples, kClientWidth, {-40.0, -10.0}, lines);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_PaneColumnReduction)->Unit(benchmark::kMillisecond);

void BM_PaneMarkStatistics(benchmark::State& state) {
  const std::vector<float> samples = Bench::NoisySignal(kCapacity);
  for (auto _ : state) {
    const auto range = MarkedSamples(samples.size(), kClientWidth, 0, kClientWidth);
    Statistics s = RangeStatistics(samples, *range);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_PaneMarkStatistics)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

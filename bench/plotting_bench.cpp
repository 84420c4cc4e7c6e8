// The graph's per-repaint arithmetic: mapping samples to pixel runs for one poly-polyline call
// (1,000 points with a 101-sample curve, and 1,000,000 points with a NaN every 1,000), and the
// nearest-point search a pointer move pays over the same samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchCases.h"
#include "plotting/PlotGeometry.h"

namespace {

using namespace GUILib;

struct Samples {
  std::vector<float> x, y;
};

Samples Points(std::size_t count) {
  Samples s{Bench::NoisySignal(count), Bench::NoisySignal(count + 1)};
  s.y.erase(s.y.begin());
  for (std::size_t i = 999; i < count; i += 1000)
    s.y[i] = std::numeric_limits<float>::quiet_NaN();
  return s;
}

Samples Curve(std::size_t count) {
  Samples s;
  for (std::size_t i = 0; i < count; ++i) {
    const float x = 10.0f * static_cast<float>(i) / static_cast<float>(count - 1);
    s.x.push_back(x);
    s.y.push_back(0.5f + 2.0f * x);
  }
  return s;
}

const AxisTransform kH = HorizontalTransform({10.0, 0.0}, 800);
const AxisTransform kV = VerticalTransform({25.0, 0.0}, 600);

void BM_PointsAndCurveRuns(benchmark::State& state) {
  const Samples points = Points(1000);
  const Samples curve = Curve(101);
  for (auto _ : state) {
    LineRuns a = PolylineRuns(BuildLineRuns(points.x, points.y, kH, kV, {0, 0}));
    LineRuns b = PolylineRuns(BuildLineRuns(curve.x, curve.y, kH, kV, {0, 0}));
    benchmark::DoNotOptimize(a.points.data());
    benchmark::DoNotOptimize(b.points.data());
  }
}
BENCHMARK(BM_PointsAndCurveRuns)->Unit(benchmark::kMicrosecond);

void BM_MillionPointRuns(benchmark::State& state) {
  const Samples points = Points(1'000'000);
  for (auto _ : state) {
    LineRuns runs = PolylineRuns(BuildLineRuns(points.x, points.y, kH, kV, {0, 0}));
    benchmark::DoNotOptimize(runs.points.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1'000'000);
}
BENCHMARK(BM_MillionPointRuns)->Unit(benchmark::kMillisecond);

// What the graph hands to the device for a million samples of a time series (x rising, a gap
// every 1,000): the runs reduced to the points a one-pixel line draws.
void BM_MillionPointReducedRuns(benchmark::State& state) {
  Samples points = Points(1'000'000);
  for (std::size_t i = 0; i < points.x.size(); ++i)
    points.x[i] = 10.0f * static_cast<float>(i) / 1e6f;
  for (auto _ : state) {
    LineRuns runs = BuildReducedLineRuns(points.x, points.y, kH, kV, {0, 0});
    benchmark::DoNotOptimize(runs.points.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1'000'000);
}
BENCHMARK(BM_MillionPointReducedRuns)->Unit(benchmark::kMillisecond);

void BM_MillionPointNearest(benchmark::State& state) {
  const Samples points = Points(1'000'000);
  for (auto _ : state) {
    auto nearest = FindNearest(points.x, points.y, kH, kV, {0, 0}, {400, 300});
    benchmark::DoNotOptimize(nearest);
  }
}
BENCHMARK(BM_MillionPointNearest)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

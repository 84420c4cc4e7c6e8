// Pulling calibrated samples through the enumerator's block calibrator, in 32768-sample blocks
// from an in-memory source, next to the references measured in the same run: the source's own
// copy, R (the block widened to doubles and narrowed back) and the C library's scalar logf and
// exp. Every result is reported per sample (items_per_second).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "BenchCases.h"
#include "multipointcalibration/BlockCalibrator.h"

namespace {

const std::vector<float>& Signal() {
  static const std::vector<float> signal = Bench::NoisySignal(32 * Bench::kBlock);
  return signal;
}

void SourceCopy(benchmark::State& state) {
  Bench::MemorySource source(Signal());
  std::vector<float> block(Bench::kBlock);
  for (auto _ : state) {
    source.Next(block.data(), block.size());
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(SourceCopy);

void ReferenceR(benchmark::State& state) {
  Bench::MemorySource source(Signal());
  std::vector<float> block(Bench::kBlock);
  std::vector<double> scratch(Bench::kBlock);
  for (auto _ : state) {
    source.Next(block.data(), block.size());
    Bench::WidenAndNarrow(block.data(), scratch.data(), block.size());
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(ReferenceR);

void ScalarLogf(benchmark::State& state) {
  Bench::MemorySource source(Signal());
  std::vector<float> block(Bench::kBlock);
  for (auto _ : state) {
    source.Next(block.data(), block.size());
    for (float& v : block)
      v = logf(v);
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(ScalarLogf);

void ScalarExp(benchmark::State& state) {
  Bench::MemorySource source(Signal());
  std::vector<float> block(Bench::kBlock);
  for (auto _ : state) {
    source.Next(block.data(), block.size());
    for (float& v : block)
      v = static_cast<float>(exp(0.3 * static_cast<double>(v)));
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(ScalarExp);

void Pull(benchmark::State& state, const Bench::FitCase& fit) {
  const MPCalibration::BlockCalibrator calibrator(fit.fitType, fit.coefficients);
  Bench::MemorySource source(Signal());
  std::vector<float> block(Bench::kBlock);
  for (auto _ : state) {
    source.Next(block.data(), block.size());
    calibrator.Apply(block.data(), block.size());
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}

const bool registered = [] {
  for (const Bench::FitCase& fit : Bench::FitCases())
    benchmark::RegisterBenchmark(("Pull/" + fit.name).c_str(), Pull, fit);
  return true;
}();

} // namespace

BENCHMARK_MAIN();

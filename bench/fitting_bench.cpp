// Calibration arithmetic per block: EvaluateFit per fit type against the float -> double -> float
// copy that every calibrated block pays anyway, and Fit per type on twelve points.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchCases.h"
#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace {

using namespace MPCalibration;

using Bench::kBlock;
constexpr std::size_t kPoints = 12;

// The enumerator benchmarks' signal: positive for the logarithm, and spread over every segment
// of the point table in no predictable order.
std::vector<float> RawBlock() {
  return Bench::NoisySignal(kBlock);
}

std::vector<double> Coefficients(std::int32_t type) {
  for (const Bench::FitCase& fit : Bench::FitCases())
    if (fit.fitType == type)
      return fit.coefficients;
  return {};
}

void SetRate(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBlock);
}

// The floor: widen, narrow, nothing else.
void BM_CopyFloatDoubleFloat(benchmark::State& state) {
  const std::vector<float> in = RawBlock();
  std::vector<double> wide(kBlock);
  std::vector<float> out(kBlock);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kBlock; ++i)
      wide[i] = in[i];
    benchmark::ClobberMemory();
    for (std::size_t i = 0; i < kBlock; ++i)
      out[i] = static_cast<float>(wide[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetRate(state);
}
BENCHMARK(BM_CopyFloatDoubleFloat);

// What a calibrated block costs: the same copy with EvaluateFit in the middle.
void BM_EvaluateFit(benchmark::State& state) {
  const auto type = static_cast<std::int32_t>(state.range(0));
  const std::vector<double> coefficients = Coefficients(type);
  const std::vector<float> in = RawBlock();
  std::vector<double> wide(kBlock);
  std::vector<float> out(kBlock);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kBlock; ++i)
      wide[i] = in[i];
    EvaluateFit(type, coefficients, wide.data(), wide.size());
    for (std::size_t i = 0; i < kBlock; ++i)
      out[i] = static_cast<float>(wide[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetRate(state);
  state.SetLabel(type == PointToPoint ? "12 points" : "");
}
BENCHMARK(BM_EvaluateFit)->DenseRange(Linear, PointToPoint)->ArgName("type");

// One scalar call of the library functions per value: the reference for the log and exp types.
void BM_ScalarLogf(benchmark::State& state) {
  const std::vector<float> in = RawBlock();
  std::vector<float> out(kBlock);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kBlock; ++i)
      out[i] = std::log(in[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetRate(state);
}
BENCHMARK(BM_ScalarLogf);

void BM_ScalarExp(benchmark::State& state) {
  const std::vector<float> in = RawBlock();
  std::vector<double> out(kBlock);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kBlock; ++i)
      out[i] = std::exp(0.3 * static_cast<double>(in[i]));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetRate(state);
}
BENCHMARK(BM_ScalarExp);

// A whole fit on twelve noisy points of a curve of the type's own shape.
void BM_Fit(benchmark::State& state) {
  const auto type = static_cast<std::int32_t>(state.range(0));
  const std::vector<double> coefficients = Coefficients(type);
  std::mt19937 random(77);
  std::normal_distribution<double> noise(0.0, 0.01);
  CalibrationSettings settings;
  settings.fitType = type;
  for (std::size_t i = 0; i < kPoints; ++i) {
    const double x = 0.5 + 0.75 * static_cast<double>(i);
    settings.rawValues.push_back(x);
  }
  settings.calibratedValues = settings.rawValues;
  EvaluateFit(type, coefficients, settings.calibratedValues);
  for (double& y : settings.calibratedValues)
    y += noise(random);
  bool fitted = false;
  for (auto _ : state) {
    CalibrationSettings s = settings;
    fitted = Fit(s);
    benchmark::DoNotOptimize(s.coefficients.data());
  }
  if (!fitted)
    state.SkipWithError("the fit failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Fit)->DenseRange(Linear, PointToPoint)->ArgName("type");

} // namespace

BENCHMARK_MAIN();

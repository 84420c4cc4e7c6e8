// Calibration arithmetic per block: EvaluateFit per fit type against the float -> double -> float
// copy that every calibrated block pays anyway, and Fit per type on twelve points and on raw
// ranges.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchCases.h"
#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitRecord.h"
#include "fitting/FitType.h"

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
  FitRecord settings;
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
    FitRecord s = settings;
    fitted = Fit(s);
    benchmark::DoNotOptimize(s.coefficients.data());
  }
  if (!fitted)
    state.SkipWithError("the fit failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Fit)->DenseRange(Linear, PointToPoint)->ArgName("type");

// Fits on raw, unscaled ranges, whose Jacobians are badly conditioned: the reported quintic's six
// points on 0..1000, a noisy quintic on twelve points of 0..1000, and a cubic on raw 16-bit ADC
// counts.
void BM_FitRawRange(benchmark::State& state) {
  FitRecord settings;
  std::mt19937 random(5);
  std::normal_distribution<double> noise(0.0, 0.01);
  const std::vector<double> quintic{3, 0.02, 5e-8, -5e-11, 5e-14, -5e-17};
  switch (state.range(0)) {
  case 0:
    settings.fitType = Quintic;
    settings.rawValues = {0, 200, 400, 600, 800, 1000};
    settings.calibratedValues = {3, 7.001664, 11.005568, 15.009792, 19.010496, 23};
    state.SetLabel("exact quintic, 6 points on 0..1000");
    break;
  case 1:
    settings.fitType = Quintic;
    for (std::size_t i = 0; i < kPoints; ++i)
      settings.rawValues.push_back(1000.0 * static_cast<double>(i) / (kPoints - 1));
    settings.calibratedValues = settings.rawValues;
    EvaluateFit(Quintic, quintic, settings.calibratedValues);
    for (double& y : settings.calibratedValues)
      y += noise(random);
    state.SetLabel("noisy quintic, 12 points on 0..1000");
    break;
  default:
    settings.fitType = Cubic;
    for (std::size_t i = 0; i < kPoints; ++i) {
      const double t = 1000.0 * static_cast<double>(i) / (kPoints - 1) - 500.0;
      settings.rawValues.push_back(32768.0 + t);
      settings.calibratedValues.push_back(5.0 + 0.01 * t + 2e-6 * t * t + 3e-9 * t * t * t);
    }
    state.SetLabel("cubic, 12 points on ADC counts 32268..33268");
    break;
  }
  bool fitted = false;
  for (auto _ : state) {
    FitRecord s = settings;
    fitted = Fit(s);
    benchmark::DoNotOptimize(s.coefficients.data());
  }
  if (!fitted)
    state.SkipWithError("the fit failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FitRawRange)->DenseRange(0, 2)->ArgName("case");

} // namespace

BENCHMARK_MAIN();

// Times the enumerator's hot path without a benchmark library, so that the same table can be
// measured natively and under Wine: pulls calibrated samples in 32768-sample blocks for every
// fit type next to the references (the source's copy, R = widening to double and narrowing
// back, the C library's scalar logf and exp) and prints nanoseconds per sample.
//
//   enum_timing [samples per case]     (default 2^24; 100000000 for the full run)
//
// The samples of a case are pulled in five rounds, interleaved with the other cases so that
// all of them see the same machine load, and the fastest round counts.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchCases.h"
#include "multipointcalibration/BlockCalibrator.h"

namespace {

volatile float gSink;

struct Row {
  std::string name;
  std::function<void(float*, std::size_t)> work; // runs on a block the source just filled
  double best = 1e300;                           // ns per sample
};

} // namespace

int main(int argc, char** argv) {
  const double requested = argc > 1 ? std::atof(argv[1]) : 16777216.0;
  constexpr int kRounds = 5;
  const auto blocksPerRound = static_cast<std::size_t>(
      std::max(1.0, requested / kRounds / static_cast<double>(Bench::kBlock)));

  const std::vector<float> signal = Bench::NoisySignal(32 * Bench::kBlock);
  std::vector<double> scratch(Bench::kBlock);

  std::vector<Row> rows;
  rows.push_back({"source copy", [](float*, std::size_t) {}});
  rows.push_back({"R (widen+narrow)",
                  [&](float* v, std::size_t n) { Bench::WidenAndNarrow(v, scratch.data(), n); }});
  rows.push_back({"scalar logf", [](float* v, std::size_t n) {
                    for (std::size_t i = 0; i < n; ++i)
                      v[i] = logf(v[i]);
                  }});
  rows.push_back({"scalar exp", [](float* v, std::size_t n) {
                    for (std::size_t i = 0; i < n; ++i)
                      v[i] = static_cast<float>(exp(0.3 * static_cast<double>(v[i])));
                  }});
  std::vector<MPCalibration::BlockCalibrator> calibrators;
  const std::vector<Bench::FitCase> cases = Bench::FitCases();
  calibrators.reserve(cases.size());
  for (const Bench::FitCase& fit : cases) {
    const MPCalibration::BlockCalibrator& c =
        calibrators.emplace_back(fit.fitType, fit.coefficients);
    rows.push_back({fit.name, [&c](float* v, std::size_t n) { c.Apply(v, n); }});
  }

  std::vector<float> block(Bench::kBlock);
  for (int round = 0; round < kRounds; ++round) {
    for (Row& row : rows) {
      Bench::MemorySource source(signal);
      const auto start = std::chrono::steady_clock::now();
      for (std::size_t b = 0; b < blocksPerRound; ++b) {
        source.Next(block.data(), block.size());
        row.work(block.data(), block.size());
        gSink = block[b % block.size()];
      }
      const std::chrono::duration<double, std::nano> elapsed =
          std::chrono::steady_clock::now() - start;
      row.best =
          std::min(row.best, elapsed.count() / static_cast<double>(blocksPerRound * Bench::kBlock));
    }
  }

  const double r = rows[1].best, logf1 = rows[2].best - rows[0].best,
               exp1 = rows[3].best - rows[0].best;
  std::printf("%zu samples per case in %d rounds, 32768-sample blocks\n",
              blocksPerRound * kRounds * Bench::kBlock, kRounds);
  std::printf("%-18s %9s %8s %8s\n", "", "ns/sample", "x R", "limit");
  for (const Row& row : rows) {
    std::string limit;
    if (row.name == "linear" || row.name == "quadratic" || row.name == "cubic")
      limit = "1.30";
    else if (row.name == "quartic" || row.name == "quintic")
      limit = "2.00";
    else if (row.name == "pointtopoint12")
      limit = "6.00";
    else if (row.name == "logarithmic")
      limit = std::to_string(1.2 * (r + logf1) / r).substr(0, 4);
    else if (row.name == "exponential")
      limit = std::to_string(1.2 * (r + exp1) / r).substr(0, 4);
    std::printf("%-18s %9.3f %8.2f %8s\n", row.name.c_str(), row.best, row.best / r, limit.c_str());
  }
  return 0;
}

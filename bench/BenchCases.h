#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fitting/FitType.h"

// The workload shared by every benchmark and the plain timing harness: a noisy raw
// signal pulled in host-sized blocks, and one realistic fit of every type.
namespace Bench {

inline constexpr std::size_t kBlock = 32768;

struct FitCase {
  std::string name;
  std::int32_t fitType;
  std::vector<double> coefficients;
};

inline std::vector<FitCase> FitCases() {
  using namespace MPCalibration;
  std::vector<double> points;
  for (int i = 0; i < 12; ++i) {
    points.push_back(i * 0.9);                      // raw values 0 .. 9.9, ascending
    points.push_back(3.0 * i + 0.25 * i * i - 1.0); // calibrated values
  }
  return {
      {"linear", Linear, {0.5, 2.0}},
      {"quadratic", Quadratic, {0.1, 1.5, -0.2}},
      {"cubic", Cubic, {0.1, 1.5, -0.2, 0.03}},
      {"quartic", Quartic, {0.1, 1.5, -0.2, 0.03, -0.001}},
      {"quintic", Quintic, {0.1, 1.5, -0.2, 0.03, -0.001, 2e-5}},
      {"logarithmic", Logarithmic, {0.2, 2.5}},
      {"exponential", Exponential, {0.3, 2.5}},
      {"pointtopoint12", PointToPoint, points},
  };
}

// Noise spread over the whole calibrated range, so the point-to-point segment changes from one
// sample to the next unpredictably.
inline std::vector<float> NoisySignal(std::size_t count) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> noise(0.05f, 10.0f);
  std::vector<float> signal(count);
  for (float& v : signal)
    v = noise(gen);
  return signal;
}

// An in-memory source enumerator: hands out the signal block by block, wrapping at its end.
class MemorySource {
public:
  explicit MemorySource(const std::vector<float>& signal) : signal_(signal) {}
  void Next(float* out, std::size_t count) noexcept {
    if (pos_ + count > signal_.size())
      pos_ = 0;
    std::memcpy(out, signal_.data() + pos_, count * sizeof(float));
    pos_ += count;
  }

private:
  const std::vector<float>& signal_;
  std::size_t pos_ = 0;
};

// The reference R: the block widened into a double array and narrowed back.
inline void WidenAndNarrow(float* values, double* scratch, std::size_t count) noexcept {
  for (std::size_t i = 0; i < count; ++i)
    scratch[i] = values[i];
  for (std::size_t i = 0; i < count; ++i)
    values[i] = static_cast<float>(scratch[i]);
}

} // namespace Bench

#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace MPCalTool {

// A flat stretch of the recording: the samples [first, last) at one known pressure, after the
// transducer has settled.
struct FlatStretch {
  std::size_t first = 0;
  std::size_t last = 0;
  double pressure = 0.0; // kPa
};

// A generated pressure-transducer recording, the same on every run (fixed seed): five steps of
// known pressure (0 to 200 kPa) with ramps between them, then a pulsating pressure to be
// measured. The transducer is slightly non-linear, its output lags the pressure a little, its
// offset drifts, and its samples carry Gaussian noise; they are stored as floats, as the host's
// channels hold them.
class DemoRecording {
public:
  static constexpr double kSampleRate = 100.0; // Hz

  explicit DemoRecording(std::uint64_t seed = 20240611);

  // The transducer's output for a pressure, without drift or noise.
  static double TransducerVolts(double pressure);

  const std::vector<float>& Volts() const noexcept { return volts_; }
  // The pressure at the transducer at each sample, its lag included: what a perfect calibration
  // would give back.
  const std::vector<double>& Pressure() const noexcept { return pressure_; }
  const std::vector<FlatStretch>& Stretches() const noexcept { return stretches_; }
  // The first sample of the pulsating part.
  std::size_t MeasurementStart() const noexcept { return measurementStart_; }

  // Writes the "Time (s)" and "Pressure transducer" (volts) columns as CSV.
  void Write(const std::filesystem::path& path) const;

private:
  std::vector<float> volts_;
  std::vector<double> pressure_;
  std::vector<FlatStretch> stretches_;
  std::size_t measurementStart_ = 0;
};

// Deterministic Gaussian noise (splitmix64 and the Box-Muller transform): the standard library's
// distributions are free to differ between implementations.
class NoiseSource {
public:
  explicit NoiseSource(std::uint64_t seed) noexcept : state_(seed) {}
  std::uint64_t NextBits() noexcept;
  // Uniform in (0, 1).
  double NextUniform() noexcept;
  // Standard normal.
  double NextGaussian() noexcept;

private:
  std::uint64_t state_;
  double spare_ = 0.0;
  bool hasSpare_ = false;
};

} // namespace MPCalTool

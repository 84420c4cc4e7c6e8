#include "DemoRecording.h"

#include <cmath>
#include <numbers>
#include <string>

#include "NumberText.h"
#include "ReplacingFile.h"

namespace MPCalTool {
namespace {

constexpr double kPressures[] = {0.0, 50.0, 100.0, 150.0, 200.0};
constexpr double kHoldSeconds = 6.0;
constexpr double kRampSeconds = 2.0;
constexpr double kSettleSeconds = 2.0;   // left out of each flat stretch
constexpr double kMeasureSeconds = 12.0; // the pulsating part
constexpr double kLagSeconds = 0.15;     // time constant of the transducer's response
constexpr double kDriftVoltsPerSecond = 4e-5;
constexpr double kNoiseVolts = 0.002;

} // namespace

std::uint64_t NoiseSource::NextBits() noexcept {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double NoiseSource::NextUniform() noexcept {
  return (static_cast<double>(NextBits() >> 11) + 0.5) * 0x1p-53;
}

double NoiseSource::NextGaussian() noexcept {
  if (hasSpare_) {
    hasSpare_ = false;
    return spare_;
  }
  const double radius = std::sqrt(-2.0 * std::log(NextUniform()));
  const double angle = 2.0 * std::numbers::pi * NextUniform();
  spare_ = radius * std::sin(angle);
  hasSpare_ = true;
  return radius * std::cos(angle);
}

double DemoRecording::TransducerVolts(double pressure) {
  return 0.5 + 0.02 * pressure - 8e-6 * pressure * pressure;
}

DemoRecording::DemoRecording(std::uint64_t seed) {
  const auto samples = [](double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
  };
  // The applied pressure: holds joined by ramps, then the pulsating part.
  for (std::size_t step = 0; step < std::size(kPressures); ++step) {
    if (step > 0) {
      const std::size_t ramp = samples(kRampSeconds);
      for (std::size_t i = 0; i < ramp; ++i) {
        const double t = static_cast<double>(i + 1) / static_cast<double>(ramp);
        pressure_.push_back(kPressures[step - 1] + (kPressures[step] - kPressures[step - 1]) * t);
      }
    }
    FlatStretch stretch;
    stretch.first = pressure_.size() + samples(kSettleSeconds);
    pressure_.insert(pressure_.end(), samples(kHoldSeconds), kPressures[step]);
    stretch.last = pressure_.size();
    stretch.pressure = kPressures[step];
    stretches_.push_back(stretch);
  }
  measurementStart_ = pressure_.size();
  const std::size_t measure = samples(kMeasureSeconds);
  for (std::size_t i = 0; i < measure; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // A pulse of 1.2 Hz rising from the last hold, with a slower swell on top.
    pressure_.push_back(200.0 - 70.0 * (1.0 - std::cos(2.0 * std::numbers::pi * 1.2 * t)) -
                        25.0 * std::sin(2.0 * std::numbers::pi * 0.15 * t));
  }

  NoiseSource noise(seed);
  const double alpha = 1.0 - std::exp(-1.0 / (kSampleRate * kLagSeconds));
  double sensed = pressure_.front();
  volts_.reserve(pressure_.size());
  for (std::size_t i = 0; i < pressure_.size(); ++i) {
    sensed += alpha * (pressure_[i] - sensed);
    pressure_[i] = sensed;
    const double drift = kDriftVoltsPerSecond * static_cast<double>(i) / kSampleRate;
    volts_.push_back(
        static_cast<float>(TransducerVolts(sensed) + drift + kNoiseVolts * noise.NextGaussian()));
  }
}

void DemoRecording::Write(const std::filesystem::path& path) const {
  ReplacingFile file(path);
  file.Write("Time (s),Pressure transducer\n");
  std::string& buffer = file.Buffer();
  for (std::size_t i = 0; i < volts_.size(); ++i) {
    AppendShortestDouble(buffer, static_cast<double>(i) / kSampleRate);
    buffer += ',';
    AppendShortestFloat(buffer, volts_[i]);
    buffer += '\n';
    file.FlushIfFull();
  }
  file.Commit();
}

} // namespace MPCalTool

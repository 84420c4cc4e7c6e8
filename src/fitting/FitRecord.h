#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace MPCalibration {

// What a fit reads and writes: the fit type, the calibration points and the results. A channel's
// calibration record is one, with its display settings besides.
struct FitRecord {
  bool forceOrigin = false;
  std::int32_t fitType = 0;
  std::vector<double> rawValues;
  std::vector<double> calibratedValues;
  std::vector<double> coefficients;
  double fitError = 0.0;
  double sumSquaredError = 0.0;

  // Number of calibration points: the shorter of the two vectors.
  std::size_t PointCount() const noexcept {
    return rawValues.size() < calibratedValues.size() ? rawValues.size() : calibratedValues.size();
  }
};

} // namespace MPCalibration

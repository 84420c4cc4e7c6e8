#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace MPCalibration {

// Replaces every raw value by its calibrated value, in place, for the fit type and coefficient
// layout of the settings record. Too few coefficients for the type, or a type outside 0..7,
// leave the values unchanged.
void EvaluateFit(std::int32_t fitType, const std::vector<double>& coefficients, double* values,
                 std::size_t count);

inline void EvaluateFit(std::int32_t fitType, const std::vector<double>& coefficients,
                        std::vector<double>& values) {
  EvaluateFit(fitType, coefficients, values.data(), values.size());
}

} // namespace MPCalibration

#include "fitting/Fit.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <new>

#include "fitting/EvaluateFit.h"
#include "fitting/ExponFunc.h"
#include "fitting/FitLine.h"
#include "fitting/FitType.h"
#include "fitting/IterativeFit.h"
#include "fitting/LogFunc.h"

namespace MPCalibration {
namespace {

// The calibration points themselves, ascending by raw value; fails on a repeated raw value,
// which would not define a function, and on a NaN raw value, which has no place in the order.
bool FitPointTable(const FitRecord& s, std::vector<double>& coefficients) {
  const std::size_t count = s.PointCount();
  const auto rawEnd = s.rawValues.begin() + static_cast<std::ptrdiff_t>(count);
  if (std::any_of(s.rawValues.begin(), rawEnd, [](double x) { return std::isnan(x); })) {
    coefficients.resize(2 * count);
    return false;
  }
  std::map<double, double> table;
  for (std::size_t i = 0; i < count; ++i)
    table[s.rawValues[i]] = s.calibratedValues[i];
  coefficients.resize(2 * count);
  if (table.size() < count)
    return false;
  std::size_t k = 0;
  for (const auto& [raw, calibrated] : table) {
    coefficients[k++] = raw;
    coefficients[k++] = calibrated;
  }
  return true;
}

bool RunFit(FitRecord& s) {
  // The flag stays in the record when the type changes, so that a polynomial chosen again is
  // forced again; only a polynomial honours it. An exponential with its amplitude held at 0
  // would be the constant 0 and could fit nothing.
  const bool forced = ForceOriginApplies(s.fitType, s.forceOrigin);
  switch (s.fitType) {
  case Linear:
    return FitLine(s.calibratedValues, s.rawValues, forced, s.coefficients, &s.fitError);
  case Quadratic:
  case Cubic:
  case Quartic:
  case Quintic:
    return ExtLib::FitPolynomial(s.fitType + 1, forced, s.calibratedValues, s.rawValues,
                                 s.coefficients, &s.fitError);
  case Logarithmic:
    return ExtLib::FitModel(ExtLib::LogFunc(), s.calibratedValues, s.rawValues, s.coefficients,
                            &s.fitError);
  case Exponential:
    return ExtLib::FitModel(ExtLib::ExponFunc(), s.calibratedValues, s.rawValues, s.coefficients,
                            &s.fitError);
  case PointToPoint:
    return FitPointTable(s, s.coefficients);
  default:
    return false;
  }
}

// Sum of (y - f(x))^2 with f the evaluation the channel uses. A NaN sum keeps the previous value:
// the record then shows the last meaningful figure. A type without a function has no sum either.
void UpdateSumSquaredError(FitRecord& s) {
  const std::size_t count = s.PointCount();
  std::vector<double> fitted(s.rawValues.begin(), s.rawValues.begin() + count);
  if (IsValidFitType(s.fitType))
    EvaluateFit(s.fitType, s.coefficients, fitted);
  else
    std::fill(fitted.begin(), fitted.end(), std::nan(""));
  double sum = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    sum += std::pow(s.calibratedValues[i] - fitted[i], 2.0);
    if (std::isnan(sum))
      return;
  }
  s.sumSquaredError = sum;
}

} // namespace

bool HasEnoughPoints(const FitRecord& record) {
  if (!IsValidFitType(record.fitType))
    return false;
  const std::size_t minimum = MinimumPoints(record.fitType);
  return record.rawValues.size() >= minimum && record.calibratedValues.size() >= minimum;
}

bool Fit(FitRecord& record) {
  bool fitted = false;
  try {
    fitted = RunFit(record);
  } catch (const std::bad_alloc&) {
    fitted = false;
  }
  try {
    UpdateSumSquaredError(record);
  } catch (const std::bad_alloc&) {
    // The previous sum stays, as for any sum that cannot be formed.
  }
  return fitted;
}

} // namespace MPCalibration

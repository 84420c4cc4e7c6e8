#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "fitting/FitRecord.h"

namespace MPCalibration {

// What a finished fit says about its own quality, computed from the record's points and
// coefficients with the same evaluation the channel uses.
struct FitStatistics {
  std::vector<double> fitted;    // calibrated value the curve gives at each raw point
  std::vector<double> residuals; // fitted minus known, as the calibration report shows them
  double fullScale = 0.0;        // span of the known values; 0 when they are all equal
  double sumSquaredError = 0.0;
  double rmse = 0.0;
  std::size_t largestResidualPoint = 0; // index into the points
  double largestResidual = 0.0;         // signed
  std::size_t freeParameters = 0;
  // Points minus free parameters; 0 means the curve interpolates, and R² says nothing then.
  std::ptrdiff_t degreesOfFreedom = 0;
  double rSquared = 0.0;
  double adjustedRSquared = 0.0; // NaN without degrees of freedom
  // One per coefficient; 0 for a coefficient held fixed, NaN when they cannot be estimated.
  std::vector<double> standardErrors;
  // Ratio of the largest to the smallest singular value of the fit's design (Jacobian) matrix.
  double conditionNumber = 0.0;
  bool illConditioned = false;
  // The curve turns between the smallest and the largest raw point.
  bool nonMonotonic = false;
  double turningRaw = 0.0; // roughly where it first turns
  // A raw point the function cannot take (logarithm of a value not above 0, overflow).
  bool domainProblem = false;

  // Percent of full scale; NaN when the known values span nothing.
  double PercentOfFullScale(double value) const;
};

// Condition numbers above this lose more than half of a double's digits in the normal equations.
inline constexpr double kIllConditionedLimit = 1e7;

FitStatistics ComputeFitStatistics(const FitRecord& record);

// The warnings a user should read before trusting the fit, one sentence each.
std::vector<std::string> FitWarnings(const FitRecord& record, const FitStatistics& statistics);

} // namespace MPCalibration

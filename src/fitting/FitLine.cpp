#include "fitting/FitLine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace MPCalibration {

bool FitLine(const std::vector<double>& y, const std::vector<double>& x, bool forceOrigin,
             std::vector<double>& coefficients, double* rSquared) {
  const std::size_t count = std::min(x.size(), y.size());
  const auto usable = [&](std::size_t i) { return std::isfinite(x[i]) && std::isfinite(y[i]); };

  std::size_t n = 0;
  double sumX = 0.0, sumY = 0.0, sumXY = 0.0, sumXX = 0.0, sumYY = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!usable(i))
      continue;
    ++n;
    sumX += x[i];
    sumY += y[i];
    sumXY += x[i] * y[i];
    sumXX += x[i] * x[i];
    sumYY += y[i] * y[i];
  }
  if (n <= 1)
    return false;

  const double points = static_cast<double>(n);
  const double meanX = sumX / points;
  const double meanY = sumY / points;
  const double sxy = sumXY - points * meanX * meanY;
  const double sxx = sumXX - points * meanX * meanX;
  const double syy = sumYY - points * meanY * meanY;
  if (std::fabs(sxx) <= DBL_EPSILON || std::fabs(syy) <= DBL_EPSILON)
    return false;

  double slope = 0.0, intercept = 0.0, r2 = 0.0;
  if (!forceOrigin) {
    slope = sxy / sxx;
    intercept = meanY - slope * meanX;
    r2 = sxy * sxy / (syy * sxx);
  } else {
    slope = meanY / meanX;
    // A centroid on x = 0 gives no line through the origin (an infinite or NaN slope).
    if (!std::isfinite(slope))
      return false;
    double sse = 0.0, sst = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
      if (!usable(i))
        continue;
      const double error = y[i] - slope * x[i];
      sse += error * error;
      sst += (y[i] - meanY) * (y[i] - meanY);
    }
    r2 = 1.0 - sse / sst;
  }
  coefficients.assign({intercept, slope});
  if (rSquared)
    *rSquared = r2;
  return true;
}

} // namespace MPCalibration

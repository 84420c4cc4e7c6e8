#pragma once
#include <vector>

namespace MPCalibration {

// The straight line through the usable (finite) points in closed form: coefficients {intercept,
// slope} and R^2. With forceOrigin the line runs through the origin and the centroid of the
// points. Fails, writing nothing, for fewer than two usable points, for points whose raw or
// calibrated values are all equal, and for a forced line whose centroid lies on x = 0.
bool FitLine(const std::vector<double>& y, const std::vector<double>& x, bool forceOrigin,
             std::vector<double>& coefficients, double* rSquared);

} // namespace MPCalibration

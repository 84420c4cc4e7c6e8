#pragma once
#include <vector>

#include "fitting/FunctionBase.h"

namespace ExtLib {

// Least-squares parameters of `function` for the points (x[i], y[i]), every point taking part.
// `parameters` is resized to the function's count and holds the final parameters afterwards,
// also when the minimisation fails.
bool Minimise(const FunctionBase& function, const std::vector<double>& x,
              const std::vector<double>& y, std::vector<double>& parameters);

// Checks a fit: writes the degrees of freedom (points - parameters) and R^2 = 1 - SSE/SST, then
// accepts the fit when the normal matrix of the gradients inverts with no negative variance.
bool FitStatistics(const FunctionBase& function, const std::vector<double>& x,
                   const std::vector<double>& y, const std::vector<double>& parameters,
                   double& rSquared, int& degreesOfFreedom);

// The polynomial of order 2..5 (the constant held at 0 with forceOrigin). The coefficients
// receive the minimiser's parameters whenever it ran; R^2 (when wanted) only on acceptance.
bool FitPolynomial(int order, bool forceOrigin, const std::vector<double>& y,
                   const std::vector<double>& x, std::vector<double>& coefficients,
                   double* rSquared);

// As FitPolynomial for a caller's model (the logarithmic and the exponential fit).
bool FitModel(const FunctionBase& function, const std::vector<double>& y,
              const std::vector<double>& x, std::vector<double>& coefficients, double* rSquared);

} // namespace ExtLib

#include "fitting/IterativeFit.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "fitting/Invert.h"
#include "fitting/LevenbergMarquardt.h"
#include "fitting/MtxErr.h"
#include "fitting/PolynomialFunc.h"
#include "fitting/TPlugin.h"

namespace ExtLib {
namespace {

std::size_t PointCount(const std::vector<double>& x, const std::vector<double>& y) {
  return std::min(x.size(), y.size());
}

std::size_t UsablePointCount(const std::vector<double>& x, const std::vector<double>& y) {
  std::size_t usable = 0;
  for (std::size_t i = 0, count = PointCount(x, y); i < count; ++i)
    usable += std::isfinite(x[i]) && std::isfinite(y[i]);
  return usable;
}

// The common tail of the polynomial and model fits once enough usable points are known.
bool FitAndCheck(const FunctionBase& function, const std::vector<double>& y,
                 const std::vector<double>& x, std::vector<double>& coefficients,
                 double* rSquared) {
  std::vector<double> parameters;
  bool accepted = Minimise(function, x, y, parameters);
  if (accepted && rSquared) {
    double r2 = 0.0;
    int degreesOfFreedom = 0;
    accepted =
        FitStatistics(function, x, y, parameters, r2, degreesOfFreedom) || degreesOfFreedom == 0;
    if (accepted)
      *rSquared = r2;
  }
  coefficients = parameters;
  return accepted;
}

template <int N>
bool FitPolynomialOfOrder(bool forceOrigin, const std::vector<double>& y,
                          const std::vector<double>& x, std::vector<double>& coefficients,
                          double* rSquared) {
  return FitAndCheck(PolynomialFunc<N>(forceOrigin), y, x, coefficients, rSquared);
}

} // namespace

bool Minimise(const FunctionBase& function, const std::vector<double>& x,
              const std::vector<double>& y, std::vector<double>& parameters) {
  try {
    parameters.assign(static_cast<std::size_t>(function.ParameterCount()), 0.0);
    function.InitialGuess(x, y, parameters);
    TPlugin residuals(function, x, y);
    LevenbergMarquardt minimiser;
    return IsSuccess(minimiser.Run(PointCount(x, y), parameters, residuals));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool FitStatistics(const FunctionBase& function, const std::vector<double>& x,
                   const std::vector<double>& y, const std::vector<double>& parameters,
                   double& rSquared, int& degreesOfFreedom) {
  const std::size_t n = static_cast<std::size_t>(function.ParameterCount());
  const std::size_t m = PointCount(x, y);
  degreesOfFreedom = static_cast<int>(m) - static_cast<int>(n);

  double meanY = 0.0;
  for (std::size_t i = 0; i < m; ++i)
    meanY += y[i];
  meanY /= static_cast<double>(m);
  double sse = 0.0, sst = 0.0;
  for (std::size_t i = 0; i < m; ++i) {
    const double error = y[i] - function.Evaluate(x[i], parameters);
    sse += error * error;
    sst += (y[i] - meanY) * (y[i] - meanY);
  }
  rSquared = 1.0 - sse / sst;
  if (n >= m)
    return false;

  Matrix normal(n, std::vector<double>(n, 0.0));
  std::vector<double> gradient(n);
  for (std::size_t i = 0; i < m; ++i) {
    function.Gradient(x[i], parameters, gradient);
    for (std::size_t r = 0; r < n; ++r) {
      for (std::size_t c = 0; c < n; ++c)
        normal[r][c] += gradient[r] * gradient[c];
    }
  }
  try {
    const Matrix covariance = Invert(std::move(normal));
    for (std::size_t k = 0; k < n; ++k) {
      if (covariance[k][k] < 0.0)
        return false;
    }
    return true;
  } catch (const MtxErr&) {
    return false;
  }
}

bool FitPolynomial(int order, bool forceOrigin, const std::vector<double>& y,
                   const std::vector<double>& x, std::vector<double>& coefficients,
                   double* rSquared) {
  if (UsablePointCount(x, y) < 3)
    return false;
  switch (order) {
  case 2:
    return FitPolynomialOfOrder<2>(forceOrigin, y, x, coefficients, rSquared);
  case 3:
    return FitPolynomialOfOrder<3>(forceOrigin, y, x, coefficients, rSquared);
  case 4:
    return FitPolynomialOfOrder<4>(forceOrigin, y, x, coefficients, rSquared);
  case 5:
    return FitPolynomialOfOrder<5>(forceOrigin, y, x, coefficients, rSquared);
  default:
    return false;
  }
}

bool FitModel(const FunctionBase& function, const std::vector<double>& y,
              const std::vector<double>& x, std::vector<double>& coefficients, double* rSquared) {
  if (UsablePointCount(x, y) < 2)
    return false;
  return FitAndCheck(function, y, x, coefficients, rSquared);
}

} // namespace ExtLib

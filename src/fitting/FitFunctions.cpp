#include <algorithm>
#include <cfloat>
#include <cmath>

#include "fitting/ExponFunc.h"
#include "fitting/LogFunc.h"
#include "fitting/RelativelyEqual.h"

namespace ExtLib {

bool RelativelyEqual(double a, double b) noexcept {
  if (a == b)
    return true;
  const double absA = std::fabs(a);
  const double absB = std::fabs(b);
  if (absA < 1e-32 && absB < 1e-32)
    return true;
  return std::fabs(a - b) / std::min(absA, absB) < 1e-13;
}

void ExponFunc::InitialGuess(const std::vector<double>& x, const std::vector<double>& y,
                             std::vector<double>& p) const {
  double xa = DBL_MAX, ya = DBL_MAX; // the point of smallest x
  double xb = -1.0, yb = -1.0;       // the point of largest x
  const std::size_t count = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (x[i] < 0.0 || y[i] < 0.0)
      continue;
    // Strict comparisons: on ties the earlier point stays.
    if (x[i] < xa) {
      xa = x[i];
      ya = y[i];
    }
    if (x[i] > xb) {
      xb = x[i];
      yb = y[i];
    }
  }
  const bool noPoint = xa == -1.0 || ya == -1.0 || xb == -1.0 || yb == -1.0;
  if (noPoint || (RelativelyEqual(xa, xb) && RelativelyEqual(ya, yb))) {
    p[0] = 1.0;
    p[1] = 1.0;
    return;
  }
  p[0] = (std::log(ya) - std::log(yb)) / (xa - xb);
  p[1] = fixAmplitude ? amplitude : ya * std::exp(-p[0] * xa);
}

double ExponFunc::Evaluate(double x, const std::vector<double>& p) const {
  return (fixAmplitude ? amplitude : p[1]) * std::exp(p[0] * x);
}

void ExponFunc::Gradient(double x, const std::vector<double>& p, std::vector<double>& g) const {
  const double e = std::exp(p[0] * x);
  g[0] = x * p[1] * e;
  g[1] = e;
}

void LogFunc::InitialGuess(const std::vector<double>&, const std::vector<double>&,
                           std::vector<double>& p) const {
  p[0] = 1.0;
  p[1] = 1.0;
}

double LogFunc::Evaluate(double x, const std::vector<double>& p) const {
  return x < 1e-9 ? 0.0 : p[0] + p[1] * std::log(x);
}

void LogFunc::Gradient(double x, const std::vector<double>&, std::vector<double>& g) const {
  g[0] = 1.0;
  g[1] = std::log(x);
}

} // namespace ExtLib

#include "fitting/FitInverse.h"

#include <algorithm>
#include <cmath>

#include "fitting/EvaluateFit.h"

namespace MPCalibration {
namespace {

double At(const FitRecord& record, double x) {
  EvaluateFit(record.fitType, record.coefficients, &x, 1);
  return x;
}

} // namespace

std::vector<double> RawValuesFor(const FitRecord& record, double calibrated) {
  std::vector<double> roots;
  const std::size_t n = record.PointCount();
  if (n == 0 || !std::isfinite(calibrated))
    return roots;
  const auto [lo, hi] = std::minmax_element(record.rawValues.begin(), record.rawValues.begin() + n);
  // A fine grid with every raw point on it (the corners of a point-to-point curve) brackets each
  // crossing of a polynomial of order 5 or less apart from near-tangent touches.
  constexpr int kSteps = 8192;
  std::vector<double> grid(record.rawValues.begin(), record.rawValues.begin() + n);
  for (int i = 0; i <= kSteps; ++i)
    grid.push_back(*lo + (*hi - *lo) * i / kSteps);
  grid.push_back(*hi);
  std::sort(grid.begin(), grid.end());
  grid.erase(std::unique(grid.begin(), grid.end()), grid.end());

  const auto g = [&](double x) { return At(record, x) - calibrated; };
  double x0 = grid[0], g0 = g(x0);
  if (g0 == 0)
    roots.push_back(x0);
  for (std::size_t i = 1; i < grid.size(); ++i) {
    const double x1 = grid[i], g1 = g(x1);
    if (g1 == 0) {
      roots.push_back(x1);
    } else if (g0 != 0 && std::isfinite(g0) && std::isfinite(g1) && (g0 < 0) != (g1 < 0)) {
      double a = x0, b = x1, ga = g0;
      while (true) {
        const double m = a + (b - a) / 2;
        if (m <= a || m >= b)
          break;
        const double gm = g(m);
        if (gm == 0) {
          a = b = m;
          break;
        }
        if ((gm < 0) == (ga < 0)) {
          a = m;
          ga = gm;
        } else {
          b = m;
        }
      }
      roots.push_back(std::abs(g(a)) <= std::abs(g(b)) ? a : b);
    }
    x0 = x1;
    g0 = g1;
  }
  return roots;
}

} // namespace MPCalibration

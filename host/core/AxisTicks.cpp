#include "AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace Vela {

double AxisTicks::NiceStep(double span, int maxCount) {
  span = std::fabs(span);
  if (!std::isfinite(span) || span == 0)
    return 0;
  const double raw = span / std::max(maxCount, 1);
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (;;) {
    for (double m : {1.0, 2.0, 5.0})
      if (m * power >= raw * (1 - 1e-9))
        return m * power;
    power *= 10;
  }
}

AxisTicks AxisTicks::Make(double low, double high, int maxCount) {
  AxisTicks ticks;
  if (low > high)
    std::swap(low, high);
  ticks.step = NiceStep(high - low, maxCount);
  if (ticks.step == 0)
    return ticks;
  // A tolerance of a millionth of a step keeps ends that rounding moved a hair outside.
  const double tolerance = ticks.step * 1e-6;
  for (double k = std::ceil((low - tolerance) / ticks.step);; ++k) {
    const double v = k * ticks.step;
    if (v > high + tolerance)
      break;
    ticks.values.push_back(std::fabs(v) < tolerance ? 0.0 : v);
  }
  ticks.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(ticks.step) + 1e-9)));
  return ticks;
}

} // namespace Vela

#include "OutputRange.h"

#include <cmath>

namespace Vela {

std::optional<DisplayRange> RangeFromOutputScaling(double factor, double offset,
                                                   double prefixFactor, double unitsTop,
                                                   double unitsBottom) noexcept {
  if (!(factor > 0.0) || !std::isfinite(factor) || !(prefixFactor > 0.0))
    return std::nullopt;
  const auto value = [&](double units) { return (units / factor - offset) * prefixFactor; };
  const DisplayRange range{value(unitsTop), value(unitsBottom)};
  if (!std::isfinite(range.top) || !std::isfinite(range.bottom) || !(range.top > range.bottom))
    return std::nullopt;
  return range;
}

} // namespace Vela

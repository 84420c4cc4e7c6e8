#include "ValueAxis.h"

#include <algorithm>
#include <cmath>

namespace Vela {
namespace {

// The smallest span a band shows, relative to the size of its values.
constexpr double kMinimumRelativeSpan = 1e-6;

} // namespace

ValueAxis::ValueAxis(double bottom, double top, int yBottom, int yTop)
    : bottom_(bottom), top_(top), yBottom_(yBottom), yTop_(yTop) {
  if (!std::isfinite(bottom_) || !std::isfinite(top_)) {
    bottom_ = -1;
    top_ = 1;
  }
  if (bottom_ > top_)
    std::swap(bottom_, top_);
  const double size = std::max({std::fabs(bottom_), std::fabs(top_), 1e-30});
  if (top_ - bottom_ < size * kMinimumRelativeSpan) {
    const double half = std::max(size * 0.1, 1e-30);
    const double centre = (bottom_ + top_) / 2;
    bottom_ = centre - half;
    top_ = centre + half;
  }
}

ValueAxis ValueAxis::Around(double minimum, double maximum, int yBottom, int yTop) {
  if (!std::isfinite(minimum) || !std::isfinite(maximum))
    return {-1, 1, yBottom, yTop};
  if (minimum == maximum)
    return {minimum, maximum, yBottom, yTop};
  const double margin = (maximum - minimum) * 0.05;
  return {minimum - margin, maximum + margin, yBottom, yTop};
}

double ValueAxis::Y(double value) const noexcept {
  return yBottom_ + (value - bottom_) / (top_ - bottom_) * (yTop_ - yBottom_);
}

} // namespace Vela

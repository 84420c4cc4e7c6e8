#include "fitting/Graticule.h"

namespace GUILib {

bool Graticule::SetFromRange(double low, double high) noexcept {
  if (!(low < high))
    return false;
  fromLow_ = low;
  fromHigh_ = high;
  Recompute();
  return true;
}

void Graticule::SetToRange(double low, double high) noexcept {
  toLow_ = low;
  toHigh_ = high;
  Recompute();
}

void Graticule::Recompute() noexcept {
  // The offset is formed from both ends at once rather than as toLow - fromLow * factor, so
  // that a segment reproduces its end points as closely as the arithmetic allows.
  const double width = fromHigh_ - fromLow_;
  factor_ = (toHigh_ - toLow_) / width;
  offset_ = (fromHigh_ * toLow_ - fromLow_ * toHigh_) / width;
}

} // namespace GUILib

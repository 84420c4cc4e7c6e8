#pragma once
#include <optional>

namespace Vela {

// A calculated channel's display range, in the unit of its samples.
struct DisplayRange {
  double top = 0.0;
  double bottom = 0.0;
  bool operator==(const DisplayRange&) const = default;
};

// The host keeps a calculated channel's scale in internal units: u = (v + offset) x factor,
// where v is the value in the output unit without its prefix and (factor, offset) is the output
// scaling the calculation gave; ±32000 is the whole range it was made for. This gives the display
// range, in the prefixed unit of the samples (`prefixFactor` prefixed values make one unprefixed
// value, 1e-3 for "k"), that the internal units `unitsTop` and `unitsBottom` stand for. Nothing
// when the scaling cannot give a finite range with its top above its bottom.
std::optional<DisplayRange> RangeFromOutputScaling(double factor, double offset,
                                                   double prefixFactor, double unitsTop,
                                                   double unitsBottom) noexcept;

} // namespace Vela

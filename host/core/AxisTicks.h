#pragma once
#include <vector>

namespace Vela {

// Tick marks at 1, 2 or 5 times a power of ten over a value range, for the data window's time
// axis and its channels' vertical scales.
struct AxisTicks {
  double step = 0;
  std::vector<double> values;
  // Decimal places that show every tick's value exactly (none for steps of 1 and more).
  int decimals = 0;

  // At most `maxCount` ticks (at least 1) inside [low, high], whichever way round the two are
  // given. An empty or non-finite range has no ticks.
  static AxisTicks Make(double low, double high, int maxCount);
  // The smallest 1-2-5 step that divides `span` into at most `maxCount` steps.
  static double NiceStep(double span, int maxCount);
};

} // namespace Vela

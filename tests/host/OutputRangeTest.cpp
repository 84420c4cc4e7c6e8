#include <cmath>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "OutputRange.h"

namespace Vela {
namespace {

// The output scaling an extension gives for a display range from `top` to `bottom` in a unit
// whose prefix factor is `prefixFactor`: the range spread over 64000 internal units, centred on 0.
struct Scaling {
  double factor;
  double offset;
};
Scaling ScalingFor(double top, double bottom, double prefixFactor) {
  const float range = static_cast<float>(top) - static_cast<float>(bottom);
  const double scale = static_cast<float>(range / 64000.0f) / prefixFactor;
  const double internalOffset = 32000.0 + 64000.0 * static_cast<float>(bottom) / range;
  return {1.0 / scale, -(internalOffset * scale)};
}

TEST(OutputRange, GivesBackTheRangeTheScalingWasMadeFor) {
  struct Case {
    double top, bottom, prefixFactor, unitsTop, unitsBottom;
    DisplayRange expected;
  };
  const Case cases[] = {
      {10.0, -10.0, 1.0, 32000.0, -32000.0, {10.0, -10.0}},
      {250.0, -50.0, 1.0, 32000.0, -32000.0, {250.0, -50.0}},
      // Millivolts: the scaling counts in volts, the samples and the range in millivolts.
      {5000.0, 1000.0, 1e3, 32000.0, -32000.0, {5000.0, 1000.0}},
      {0.2, 0.0, 1e-3, 32000.0, -32000.0, {0.2, 0.0}},
      // Half the internal range is the middle half of the display range.
      {10.0, -10.0, 1.0, 16000.0, -16000.0, {5.0, -5.0}},
  };
  for (const Case& c : cases) {
    const Scaling s = ScalingFor(c.top, c.bottom, c.prefixFactor);
    const auto range =
        RangeFromOutputScaling(s.factor, s.offset, c.prefixFactor, c.unitsTop, c.unitsBottom);
    ASSERT_TRUE(range) << c.top << " " << c.bottom;
    const double tolerance = (c.top - c.bottom) * 1e-6;
    EXPECT_NEAR(range->top, c.expected.top, tolerance) << c.top;
    EXPECT_NEAR(range->bottom, c.expected.bottom, tolerance) << c.bottom;
  }
}

TEST(OutputRange, RefusesScalingsThatGiveNoUsableRange) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* label;
    double factor, offset, prefixFactor, unitsTop, unitsBottom;
  };
  const Case cases[] = {
      // An empty settings range (top = bottom) makes the factor infinite.
      {"infinite factor", inf, nan, 1.0, 32000.0, -32000.0},
      {"zero factor", 0.0, 0.0, 1.0, 32000.0, -32000.0},
      {"negative factor", -3200.0, 0.0, 1.0, 32000.0, -32000.0},
      {"offset not a number", 3200.0, nan, 1.0, 32000.0, -32000.0},
      {"no prefix factor", 3200.0, 0.0, 0.0, 32000.0, -32000.0},
      {"units upside down", 3200.0, 0.0, 1.0, -32000.0, 32000.0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RangeFromOutputScaling(c.factor, c.offset, c.prefixFactor, c.unitsTop, c.unitsBottom),
              std::nullopt)
        << c.label;
}

} // namespace
} // namespace Vela

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ValueAxis.h"

namespace Vela {
namespace {

TEST(ValueAxis, MapsTheRangeOntoTheBand) {
  const ValueAxis axis(-10, 10, 200, 100);
  EXPECT_DOUBLE_EQ(axis.Y(-10), 200);
  EXPECT_DOUBLE_EQ(axis.Y(10), 100);
  EXPECT_DOUBLE_EQ(axis.Y(0), 150);
}

TEST(ValueAxis, DegenerateRangesStayUsable) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double minimum, maximum;
  };
  const Case cases[] = {{5, 5}, {0, 0}, {nan, 1}, {1e300, 1e300}, {3, 3 + 1e-12}};
  for (const Case& c : cases) {
    const ValueAxis axis = ValueAxis::Around(c.minimum, c.maximum, 100, 0);
    EXPECT_LT(axis.Bottom(), axis.Top()) << c.minimum;
    EXPECT_TRUE(std::isfinite(axis.Y(axis.Bottom() / 2 + axis.Top() / 2))) << c.minimum;
    if (std::isfinite(c.minimum)) {
      EXPECT_LE(axis.Bottom(), c.minimum);
      EXPECT_GE(axis.Top(), c.maximum);
    }
  }
}

} // namespace
} // namespace Vela

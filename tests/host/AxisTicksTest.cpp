#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "AxisTicks.h"
#include "ValueAxis.h"

namespace Vela {
namespace {

TEST(AxisTicks, StepsOfOneTwoFive) {
  struct Case {
    double low, high;
    int maxCount;
    double step;
    int decimals;
    std::size_t count;
  };
  const Case cases[] = {
      {0, 10, 5, 2, 0, 6},
      {0, 10, 10, 1, 0, 11},
      {-1, 1, 4, 0.5, 1, 5},
      {0.3, 0.9, 3, 0.2, 1, 3},
      {0, 999, 2, 500, 0, 2},
      {10, 0, 5, 2, 0, 6},
      {-0.003, 0.004, 7, 0.001, 3, 8},
  };
  for (const Case& c : cases) {
    const AxisTicks t = AxisTicks::Make(c.low, c.high, c.maxCount);
    EXPECT_DOUBLE_EQ(t.step, c.step) << c.low << ".." << c.high;
    EXPECT_EQ(t.decimals, c.decimals) << c.low << ".." << c.high;
    EXPECT_EQ(t.values.size(), c.count) << c.low << ".." << c.high;
    EXPECT_LE(t.values.size(), static_cast<std::size_t>(c.maxCount) + 1);
  }
}

TEST(AxisTicks, ZeroIsExactAndEndsAreKept) {
  const AxisTicks t = AxisTicks::Make(-0.3, 0.3, 6);
  ASSERT_EQ(t.values.size(), 7u);
  EXPECT_EQ(t.values[3], 0.0);
  EXPECT_FALSE(std::signbit(t.values[3]));
  EXPECT_NEAR(t.values.front(), -0.3, 1e-12);
  EXPECT_NEAR(t.values.back(), 0.3, 1e-12);
}

TEST(AxisTicks, NoTicksForEmptyOrNonFiniteRanges) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (auto [low, high] : {std::pair{1.0, 1.0}, {nan, 1.0}, {0.0, inf}})
    EXPECT_TRUE(AxisTicks::Make(low, high, 5).values.empty()) << low << " " << high;
}

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

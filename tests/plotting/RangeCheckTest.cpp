#include "plotting/RangeCheck.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double U = 1e30;
constexpr double L = -1e30;

TEST(RangeCheck, StatusMessageAndRepairedEnds) {
  struct Row {
    const char* what;
    double high, low;
    RangeStatus status;
    double repairedHigh, repairedLow;
  };
  const Row rows[] = {
      {"ordinary", 10, -10, RangeStatus::Valid, 10, -10},
      {"reversed is allowed", -3, 7, RangeStatus::Valid, -3, 7},
      {"at the limits", U, L, RangeStatus::Valid, U, L},
      {"zero and zero", 0, 0, RangeStatus::TooNarrow, 1e-35, -1e-35},
      {"tiny negative", -1e-40, -2e-40, RangeStatus::TooNarrow, -1e-35, 1e-35},
      {"above the upper limit", 2e30, 0, RangeStatus::OutsideLimits, U, 0},
      {"below the lower limit", 0, -5e30, RangeStatus::OutsideLimits, 0, L},
      {"infinite high", kInf, 0, RangeStatus::OutsideLimits, U, 0},
      {"minus infinite high", -kInf, 0, RangeStatus::OutsideLimits, L, 0},
      {"infinite low", 5, -kInf, RangeStatus::OutsideLimits, 5, L},
      {"plus infinite low", 5, kInf, RangeStatus::OutsideLimits, 5, U},
      {"NaN high", kNaN, 0, RangeStatus::OutsideLimits, U, 0},
      {"NaN low", 0, kNaN, RangeStatus::OutsideLimits, 0, L},
      {"both NaN", kNaN, kNaN, RangeStatus::OutsideLimits, U, L},
      {"both infinite alike", kInf, kInf, RangeStatus::OutsideLimits, U, L},
      {"both infinite apart", -kInf, kInf, RangeStatus::OutsideLimits, L, U},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    double high = r.high, low = r.low;
    const RangeCheckResult result = CheckRange(high, low, L, U);
    EXPECT_EQ(result.status, r.status);
    EXPECT_EQ(result.Valid(), r.status == RangeStatus::Valid);
    EXPECT_DOUBLE_EQ(high, r.repairedHigh);
    EXPECT_DOUBLE_EQ(low, r.repairedLow);
    switch (r.status) {
    case RangeStatus::Valid:
      EXPECT_EQ(result.messageId, 0u);
      EXPECT_EQ(result.valueCount, 0u);
      break;
    case RangeStatus::OutsideLimits:
      EXPECT_EQ(result.messageId, 22000u);
      ASSERT_EQ(result.valueCount, 2u);
      EXPECT_EQ(result.values[0], U);
      EXPECT_EQ(result.values[1], L);
      break;
    case RangeStatus::TooNarrow:
      EXPECT_EQ(result.messageId, 22001u);
      EXPECT_EQ(result.valueCount, 1u);
      break;
    }
    EXPECT_TRUE(std::isfinite(high) && std::isfinite(low));
  }
}

TEST(RangeCheck, EqualEndsAreSpreadToTheNarrowestWidth) {
  struct Row {
    double high, low;
  };
  for (const Row& r : {Row{5, 5}, Row{-250, -250}, Row{1e20, 1e20}, Row{7, 7 + 1e-12}}) {
    SCOPED_TRACE(r.high);
    double high = r.high, low = r.low;
    const RangeCheckResult result = CheckRange(high, low, L, U);
    EXPECT_EQ(result.status, RangeStatus::TooNarrow);
    EXPECT_EQ(result.messageId, 22001u);
    const double width = std::fabs(r.high) * 2.220446049250313e-11;
    EXPECT_NEAR(result.values[0], width, width * 1e-6);
    EXPECT_NEAR(std::fabs(high - low), width, width * 1e-3);
    EXPECT_NEAR((high + low) / 2, (r.high + r.low) / 2, width);
    // The order the user gave stays.
    EXPECT_EQ(high > low, r.high >= r.low);
  }
}

TEST(RangeCheck, BeyondTheLimitsWinsOverTooNarrow) {
  double high = 2e30, low = 3e30;
  const RangeCheckResult result = CheckRange(high, low, L, U);
  EXPECT_EQ(result.status, RangeStatus::OutsideLimits);
  EXPECT_EQ(result.messageId, 22000u);
  EXPECT_NE(high, low);
  EXPECT_LE(std::max(high, low), U * (1 + 1e-10));
}

TEST(RangeCheck, NarrowerThanAFloatIsSpreadToTheSmallestNormalFloat) {
  // Limits this small leave the magnitude repair out of reach; the float width still applies.
  double high = 1e-36, low = 1e-36;
  const RangeCheckResult result = CheckRange(high, low, -1e-36, 1e-36);
  EXPECT_FALSE(result.Valid());
  EXPECT_GE(std::fabs(high - low), 1.1754943508222875e-38);
}

} // namespace
} // namespace GUILib

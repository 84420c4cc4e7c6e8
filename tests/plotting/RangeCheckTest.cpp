#include "plotting/RangeCheck.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

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

class LimitedScale : public AxisScale {
public:
  explicit LimitedScale(std::optional<AxisRange> limits) : limits_(limits) {}
  AxisRange GetRange() const override { return range; }
  int SetRange(AxisRange r) override {
    ++sets;
    if (refuse)
      return -1;
    range = r;
    return 0;
  }
  double PixelToValue(int) const override { return 0.0; }
  std::optional<AxisRange> Limits() const override { return limits_; }
  AxisRange range{1, 0};
  bool refuse = false;
  int sets = 0;

private:
  std::optional<AxisRange> limits_;
};

TEST(RangeCheck, TypedRangesReachTheScalesOnlyWhenBothAreValid) {
  const AxisRange limits{U, L};
  struct Row {
    const char* what;
    AxisRange h, v;
    bool refuseVertical;
    std::vector<std::pair<ScaleAxis, std::uint32_t>> problems;
    bool accepted;
  };
  const Row rows[] = {
      {"both valid", {10, 0}, {5, -5}, false, {}, true},
      {"top = bottom = 5", {10, 0}, {5, 5}, false, {{ScaleAxis::Vertical, 22001}}, false},
      {"both bad, horizontal first",
       {kInf, 0},
       {0, 0},
       false,
       {{ScaleAxis::Horizontal, 22000}, {ScaleAxis::Vertical, 22001}},
       false},
      {"vertical scale refuses", {10, 0}, {5, -5}, true, {}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    LimitedScale h(limits), v(limits);
    v.refuse = r.refuseVertical;
    const TypedRangesOutcome outcome = ApplyTypedRanges(h, v, r.h, r.v);
    ASSERT_EQ(outcome.problems.size(), r.problems.size());
    for (std::size_t i = 0; i < r.problems.size(); ++i) {
      EXPECT_EQ(outcome.problems[i].axis, r.problems[i].first);
      EXPECT_EQ(outcome.problems[i].check.messageId, r.problems[i].second);
    }
    EXPECT_EQ(outcome.accepted, r.accepted);
    if (!r.problems.empty()) {
      EXPECT_EQ(h.sets + v.sets, 0);
    } else {
      EXPECT_EQ(h.range, r.h);
    }
    if (r.accepted) {
      EXPECT_EQ(v.range, r.v);
    }
  }
  LimitedScale noLimits(std::nullopt), h(limits);
  const TypedRangesOutcome unchecked = ApplyTypedRanges(h, noLimits, {10, 0}, {5, -5});
  EXPECT_FALSE(unchecked.accepted);
  EXPECT_TRUE(unchecked.problems.empty());
  EXPECT_EQ(h.sets + noLimits.sets, 0);
}

} // namespace
} // namespace GUILib

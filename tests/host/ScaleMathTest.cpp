#include "ScaleMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace Vela {
namespace {

using O = ScaleMath::Orientation;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();

TEST(ScaleMath, TickStepIsTheSmallestOneTwoFiveStepThatKeepsTheSpacing) {
  struct Case {
    double span;
    int length;
    int spacing;
    double step;
  };
  for (const Case c : {Case{10, 100, 10, 1}, Case{10, 100, 11, 2}, Case{10, 100, 21, 5},
                       Case{10, 100, 51, 10}, Case{1, 400, 20, 0.05}, Case{3e-9, 300, 30, 5e-10},
                       Case{2e12, 200, 25, 5e11}, Case{0.7, 1, 20, 20}}) {
    SCOPED_TRACE(c.span);
    EXPECT_NEAR(ScaleMath::TickStep(c.span, c.length, c.spacing), c.step, c.step * 1e-12);
  }
  for (const double span : {0.0, -1.0, kInf, kNaN})
    EXPECT_EQ(ScaleMath::TickStep(span, 100, 20), 0.0) << span;
  EXPECT_EQ(ScaleMath::TickStep(1.0, 0, 20), 0.0);
}

TEST(ScaleMath, LabelsAreTheShortestThatTellNeighboursApart) {
  struct Case {
    double value;
    double step;
    double largest;
    const wchar_t* text;
  };
  for (const Case c :
       {Case{3, 1, 10, L"3"}, Case{0.30000000000000004, 0.1, 1, L"0,3"},
        Case{-0.25, 0.05, 1, L"-0,25"}, Case{2, 0.5, 3, L"2"}, Case{1e-17, 0.1, 1, L"0"},
        Case{-1e-17, 0.1, 1, L"0"}, Case{1500, 500, 2000, L"1500"}, Case{2e12, 5e11, 3e12, L"2e12"},
        Case{2.5e12, 5e11, 3e12, L"2,5e12"}, Case{1.5e-9, 5e-10, 3e-9, L"1,5e-9"},
        Case{-4e-7, 2e-7, 1e-6, L"-4e-7"}, Case{kNaN, 1, 1, L""}}) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ScaleMath::LabelText(c.value, c.step, c.largest, L','), c.text);
  }
  EXPECT_EQ(ScaleMath::LabelText(0.5, 0.1, 1, L'.'), L"0.5");
}

TEST(ScaleMath, EveryTickOfARangeGetsItsOwnLabel) {
  struct Case {
    double high;
    double low;
    int length;
  };
  for (const Case c : {Case{1.25, -0.4, 240}, Case{1000.0004, 1000, 300}, Case{2500, -120, 300},
                       Case{-1e-9, -4e-9, 200}, Case{3.2e15, 3.1e15, 400},
                       Case{1e7 + 0.5, 1e7, 400}, Case{0.001, -0.001, 1000}}) {
    SCOPED_TRACE(c.high);
    ScaleMath scale(O::Vertical, c.length);
    ASSERT_TRUE(scale.SetRange(c.high, c.low));
    const double step = ScaleMath::TickStep(c.high - c.low, c.length, 20);
    const auto ticks = scale.Ticks(step);
    ASSERT_GE(ticks.size(), 2u);
    const double largest = std::max(std::fabs(c.high), std::fabs(c.low));
    for (std::size_t i = 1; i < ticks.size(); ++i) {
      const auto previous = ScaleMath::LabelText(ticks[i - 1], step, largest, L'.');
      const auto label = ScaleMath::LabelText(ticks[i], step, largest, L'.');
      EXPECT_NE(previous, label);
      EXPECT_LE(label.size(), 12u) << "short enough to fit beside a pane";
    }
  }
}

TEST(ScaleMath, RangesThatWouldBreakTheMapAreRefusedAndTheOldOneKept) {
  struct Case {
    double high;
    double low;
  };
  for (const O o : {O::Vertical, O::Horizontal}) {
    for (const Case c :
         {Case{1, 1}, Case{0, 1}, Case{kNaN, 0}, Case{1, kNaN}, Case{kInf, 0}, Case{0, -kInf},
          Case{kMax, -kMax}, Case{1e300, 1e300 * (1 - 1e-15)}, Case{1e-320, 0}, Case{1e-306, 0}}) {
      SCOPED_TRACE(c.high);
      ScaleMath scale(o, 200);
      ASSERT_TRUE(scale.SetRange(10, -10));
      EXPECT_FALSE(scale.SetRange(c.high, c.low));
      EXPECT_EQ(scale.high(), 10);
      EXPECT_EQ(scale.low(), -10);
      const auto t = scale.GetTransform();
      EXPECT_TRUE(std::isfinite(t.factor) && t.factor != 0 && std::isfinite(t.offset));
    }
  }
  ScaleMath scale(O::Vertical, 200);
  EXPECT_TRUE(scale.SetRange(1e300, -1e300));
  EXPECT_TRUE(scale.SetRange(1e-300, 0));
}

TEST(ScaleMath, TransformPutsTheHighEndAtTheTopOrTheRight) {
  struct Case {
    O orientation;
    double high;
    double low;
    int length;
    double factor;
    double offset;
  };
  for (const Case c :
       {Case{O::Vertical, 10, -10, 200, -10, -10}, Case{O::Horizontal, 10, -10, 200, 10, 10},
        Case{O::Vertical, 5, 4, 50, -50, -5}}) {
    ScaleMath scale(c.orientation, c.length);
    ASSERT_TRUE(scale.SetRange(c.high, c.low));
    const auto t = scale.GetTransform();
    EXPECT_DOUBLE_EQ(t.factor, c.factor);
    EXPECT_DOUBLE_EQ(t.offset, c.offset);
    const double highPixel = c.orientation == O::Vertical ? 0 : c.length;
    EXPECT_DOUBLE_EQ(scale.ValueToPixel(c.high), highPixel);
    EXPECT_DOUBLE_EQ(scale.ValueToPixel(c.low), c.length - highPixel);
    EXPECT_DOUBLE_EQ(scale.PixelToValue(scale.ValueToPixel(4.5)), 4.5);
  }
}

TEST(ScaleMath, PanMovesTheValueUnderTheDraggedPointWithIt) {
  for (const O o : {O::Vertical, O::Horizontal}) {
    for (const int delta : {30, -45, 0}) {
      ScaleMath scale(o, 200);
      ASSERT_TRUE(scale.SetRange(10, -10));
      const double grabbed = scale.PixelToValue(80);
      ASSERT_TRUE(scale.Pan(delta));
      EXPECT_NEAR(scale.ValueToPixel(grabbed), 80 + delta, 1e-9);
      EXPECT_NEAR(scale.high() - scale.low(), 20, 1e-12);
    }
  }
}

TEST(ScaleMath, StretchKeepsTheOtherEndAndTheGrabbedValueFollows) {
  struct Case {
    O orientation;
    bool atStart;
    int from;
    int to;
  };
  for (const Case c : {Case{O::Vertical, true, 5, 55}, Case{O::Vertical, true, 20, 0},
                       Case{O::Vertical, false, 195, 100}, Case{O::Horizontal, true, 3, 40},
                       Case{O::Horizontal, false, 198, 250}}) {
    SCOPED_TRACE(c.from);
    ScaleMath scale(c.orientation, 200);
    ASSERT_TRUE(scale.SetRange(10, -10));
    const double grabbed = scale.PixelToValue(c.from);
    const bool keepsLow = c.atStart == (c.orientation == O::Vertical);
    ASSERT_TRUE(scale.Stretch(c.atStart, c.from, c.to));
    EXPECT_EQ(keepsLow ? scale.low() : scale.high(), keepsLow ? -10 : 10);
    EXPECT_NEAR(scale.ValueToPixel(grabbed), c.to, 1e-9);
  }
}

TEST(ScaleMath, StretchPastTheFixedEndStopsShortOfIt) {
  for (const int to : {200, 260, 1000}) {
    ScaleMath scale(O::Vertical, 200);
    ASSERT_TRUE(scale.SetRange(10, -10));
    ASSERT_TRUE(scale.Stretch(true, 0, to));
    const double grabbed = 10;
    EXPECT_NEAR(scale.ValueToPixel(grabbed), 200 - ScaleMath::kMinimumStretch, 1e-9);
    EXPECT_TRUE(std::isfinite(scale.GetTransform().factor));
  }
  ScaleMath scale(O::Vertical, 200);
  ASSERT_TRUE(scale.SetRange(10, -10));
  EXPECT_FALSE(scale.Stretch(true, 199, 100)) << "grabbed at the fixed end itself";
  EXPECT_EQ(scale.high(), 10);
}

TEST(ScaleMath, TicksRunFromTheLowEndToTheHighEndOnWholeSteps) {
  ScaleMath scale(O::Vertical, 300);
  ASSERT_TRUE(scale.SetRange(1.05, -0.32));
  const auto ticks = scale.Ticks(0.2);
  ASSERT_EQ(ticks.size(), 7u);
  EXPECT_NEAR(ticks.front(), -0.2, 1e-15);
  EXPECT_NEAR(ticks.back(), 1.0, 1e-15);
  ASSERT_TRUE(scale.SetRange(1e9, 0));
  EXPECT_TRUE(scale.Ticks(1).empty()) << "far more ticks than could be drawn";
  EXPECT_TRUE(scale.Ticks(0).empty());
  EXPECT_EQ(scale.Ticks(5e8).size(), 3u);
}

TEST(ScaleMath, TicksKeepEndsThatRoundingMovesAHairOutsideAndZeroReadsZero) {
  struct Case {
    double high, low, step;
    std::size_t count; // ends on whole steps, so both are ticks when kept
  };
  const Case cases[] = {
      {0.3, -0.3, 0.1, 7}, {0.004, -0.003, 0.001, 8}, {1.0, 0.2, 0.2, 5}, {0.3, -0.05, 0.1, 4}};
  for (const Case& c : cases) {
    ScaleMath scale(O::Vertical, 100);
    ASSERT_TRUE(scale.SetRange(c.high, c.low));
    const auto ticks = scale.Ticks(c.step);
    ASSERT_EQ(ticks.size(), c.count) << c.low << ".." << c.high;
    EXPECT_NEAR(ticks.back(), c.high, c.step * 1e-9);
    for (double v : ticks)
      if (std::fabs(v) < c.step / 2)
        EXPECT_EQ(ScaleMath::LabelText(v, c.step, c.high, L'.'), L"0") << c.low << ".." << c.high;
  }
}

TEST(ScaleMath, ShorterAxesStayUsable) {
  ScaleMath scale(O::Horizontal, 0);
  EXPECT_EQ(scale.length(), 1);
  ASSERT_TRUE(scale.SetRange(1, 0));
  scale.SetLength(-5);
  EXPECT_TRUE(std::isfinite(scale.GetTransform().factor));
  ASSERT_TRUE(scale.SetRange(1e-302, 0));
  scale.SetLength(1 << 30);
  EXPECT_EQ(scale.length(), ScaleMath::kMaximumLength);
  EXPECT_TRUE(std::isfinite(scale.GetTransform().factor));
}

} // namespace
} // namespace Vela

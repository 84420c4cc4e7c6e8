#include "plotting/PlotGeometry.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(PlotGeometry, ValueToPixelClampsInDoubleBeforeConverting) {
  const AxisTransform t = HorizontalTransform({10.0, 0.0}, 100); // 10 pixels per unit
  struct Row {
    double value;
    int origin;
    int pixel;
  };
  const Row rows[] = {
      {0.0, 0, 0},     {10.0, 0, 100},    {2.55, 0, 25},      {-0.05, 0, 0},       {5.0, 40, 90},
      {1e6, 0, 16000}, {-1e6, 0, -16000}, {1e300, 5, 16005},  {-1e300, 0, -16000}, {1e30, 0, 16000},
      {3e9, 0, 16000}, {kInf, 0, 16000},  {-kInf, 0, -16000}, {kNaN, 7, 7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    EXPECT_EQ(ValueToPixel(r.value, t, r.origin), r.pixel);
  }
}

TEST(PlotGeometry, TransformsPutTheHighEndRightAndAtTheTop) {
  const AxisTransform h = HorizontalTransform({4.0, -4.0}, 200);
  const AxisTransform v = VerticalTransform({4.0, -4.0}, 200);
  EXPECT_EQ(ValueToPixel(-4.0, h, 0), 0);
  EXPECT_EQ(ValueToPixel(4.0, h, 0), 200);
  EXPECT_EQ(ValueToPixel(4.0, v, 0), 0);
  EXPECT_EQ(ValueToPixel(-4.0, v, 0), 200);
  EXPECT_EQ(ValueToPixel(0.0, v, 10), 110);
  for (int pixel : {0, 37, 100, 199}) {
    EXPECT_EQ(ValueToPixel(PixelToValue(pixel, h, 3), h, 3), pixel);
    EXPECT_DOUBLE_EQ(PixelToValue(ValueToPixel(2.0, v, 3), v, 3), 2.0);
  }
  EXPECT_TRUE(std::isnan(PixelToValue(5, AxisTransform{0.0, 0.0}, 0)));
}

TEST(PlotGeometry, LineRunsBreakAtNonFiniteSamples) {
  const AxisTransform unit{1.0, 0.0};
  struct Row {
    std::vector<float> x, y;
    std::vector<std::uint32_t> counts;
    std::vector<std::uint32_t> polylineCounts;
  };
  const Row rows[] = {
      {{}, {}, {}, {}},
      {{1, 2, 3}, {1, 2, 3}, {3}, {3}},
      {{1, 2, 3, 4, 5}, {1, kNaN, 3, 4, 5}, {1, 3}, {3}},
      {{1, 2, 3, 4, 5}, {1, 2, kNaN, 4, 5}, {2, 2}, {2, 2}},
      {{kNaN, 2, 3, kInf, 5}, {1, 2, 3, 4, kNaN}, {2}, {2}},
      {{1, 2, 3, 4}, {kNaN, kNaN, 3, -kInf}, {1}, {}},
      {{1, 2, 3}, {1, 2}, {2}, {2}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& r = rows[i];
    const LineRuns runs = BuildLineRuns(r.x, r.y, unit, unit, {0, 0});
    EXPECT_EQ(runs.counts, r.counts);
    std::size_t total = 0;
    for (auto c : runs.counts)
      total += c;
    EXPECT_EQ(runs.points.size(), total);
    const LineRuns lines = PolylineRuns(runs);
    EXPECT_EQ(lines.counts, r.polylineCounts);
  }
}

TEST(PlotGeometry, LineRunPointsAreTheMappedFiniteSamplesInOrder) {
  const std::vector<float> x{0, 1, 2, 3, 4};
  const std::vector<float> y{0, 1, kNaN, 1, 1e20f};
  const LineRuns runs =
      BuildLineRuns(x, y, HorizontalTransform({4, 0}, 40), VerticalTransform({1, 0}, 10), {5, 7});
  const std::vector<Point> expected{{5, 17}, {15, 7}, {35, 7}, {45, 7 - 16000}};
  EXPECT_EQ(runs.points, expected);
  // The isolated point is dropped from the lines only.
  const LineRuns single =
      PolylineRuns(BuildLineRuns(std::vector<float>{0, 1, 2, 3}, std::vector<float>{0, kNaN, 2, 3},
                                 AxisTransform{}, AxisTransform{}, {0, 0}));
  EXPECT_EQ(single.points, (std::vector<Point>{{2, 2}, {3, 3}}));
}

TEST(PlotGeometry, NanAwareMaximumAndMinimum) {
  struct Row {
    std::vector<float> values;
    std::optional<float> max, min;
  };
  const Row rows[] = {
      {{}, std::nullopt, std::nullopt}, {{kNaN}, std::nullopt, std::nullopt},
      {{kNaN, 2, 1}, 2.0f, 1.0f},       {{3, kNaN, -1, kNaN}, 3.0f, -1.0f},
      {{-kInf, 0, kInf}, kInf, -kInf},  {{-5}, -5.0f, -5.0f},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(NanAwareMax(rows[i].values), rows[i].max);
    EXPECT_EQ(NanAwareMin(rows[i].values), rows[i].min);
  }
}

TEST(PlotGeometry, BoundsNeedEquallyManySamplesAndSkipNaN) {
  const PlotBounds none = ComputeBounds(std::vector<float>{1, 2}, std::vector<float>{1});
  EXPECT_FALSE(none.hasData);
  EXPECT_FALSE(ComputeBounds({}, {}).hasData);

  const PlotBounds b =
      ComputeBounds(std::vector<float>{kNaN, 4, -2}, std::vector<float>{7, kNaN, 3});
  EXPECT_TRUE(b.hasData);
  EXPECT_EQ(b.maxX, 4.0f);
  EXPECT_EQ(b.minX, -2.0f);
  EXPECT_EQ(b.maxY, 7.0f);
  EXPECT_EQ(b.minY, 3.0f);

  const PlotBounds allNaN = ComputeBounds(std::vector<float>{kNaN}, std::vector<float>{1});
  EXPECT_TRUE(allNaN.hasData);
  EXPECT_EQ(allNaN.maxX, -3.4028235e38f);
  EXPECT_EQ(allNaN.minX, 3.4028235e38f);
  // Bounds with no number in them never widen a range.
  EXPECT_EQ(ExpandToInclude({1, 0}, allNaN.minX, allNaN.maxX), (AxisRange{1, 0}));
}

TEST(PlotGeometry, AutoExpandTakesOneStepPerBound) {
  struct Row {
    AxisRange range;
    double min, max;
    AxisRange expanded;
  };
  const Row rows[] = {
      {{10, 0}, 2, 8, {10, 0}},       {{10, 0}, 0, 10, {10, 0}},    {{10, 0}, 2, 11, {15, 0}},
      {{10, 0}, -1, 8, {10, -5}},     {{10, 0}, 2, 1000, {15, 0}},  {{10, 0}, -1, 11, {15, -7.5}},
      {{10, 0}, kNaN, kNaN, {10, 0}}, {{-2, -4}, -5, -3, {-2, -5}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ExpandToInclude(rows[i].range, rows[i].min, rows[i].max), rows[i].expanded);
  }
}

TEST(PlotGeometry, NearestSampleTiesGoToTheFirst) {
  const AxisTransform unit{1.0, 0.0};
  struct Row {
    std::vector<float> x, y;
    Point pointer;
    std::optional<std::size_t> index;
  };
  const Row rows[] = {
      {{}, {}, {0, 0}, std::nullopt},
      {{kNaN}, {1}, {0, 0}, std::nullopt},
      {{500}, {-300}, {0, 0}, 0},
      {{0, 10, 20}, {0, 0, 0}, {12, 3}, 1},
      {{0, 10}, {0, 0}, {5, 9}, 0},
      {{10, 0, 0}, {0, 0, 0}, {5, 0}, 0},
      {{0, 0, 4}, {kNaN, 4, 4}, {0, 0}, 1},
      {{3, 3, 3}, {3, 3, 3}, {100, 100}, 0},
      {{1e30f, 20000}, {0, 0}, {16000, 0}, 0},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& r = rows[i];
    const auto nearest = FindNearest(r.x, r.y, unit, unit, {0, 0}, r.pointer);
    ASSERT_EQ(nearest.has_value(), r.index.has_value());
    if (nearest) {
      EXPECT_EQ(nearest->index, *r.index);
    }
  }
  const auto placed = FindNearest(std::vector<float>{2}, std::vector<float>{3},
                                  HorizontalTransform({10, 0}, 100), unit, {4, 6}, {0, 0});
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->pixel, (Point{24, 9}));
}

TEST(PlotGeometry, GridPositions) {
  struct Row {
    double first, spacing, low, high;
    std::vector<int> positions;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Row rows[] = {
      {0, 25, 0, 100, {0, 25, 50, 75}},
      {10.5, 30, 0, 100, {10, 40, 70}},
      {-45, 20, 0, 50, {15, 35}},
      {0.25, 33.3, 0, 101, {0, 33, 66, 100}},
      {120, 10, 0, 100, {}},
      {0, 0, 0, 100, {}},
      {0, -5, 0, 100, {}},
      {0, nan, 0, 100, {}},
      {0, inf, 0, 100, {}},
      {nan, 10, 0, 100, {}},
      {0, 10, 0, inf, {}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& r = rows[i];
    EXPECT_EQ(GridPositions(r.first, r.spacing, r.low, r.high), r.positions);
  }
  EXPECT_EQ(GridPositions(0, 1e-9, 0, 100).size(), 4096u);
  EXPECT_EQ(GridPositions(0, 1, 0, 1000, 10).size(), 10u);
}

// A linear scale over [0, extent) pixels that refuses ranges it is told to refuse.
class FakeScale : public AxisScale {
public:
  FakeScale(AxisRange range, int extent, bool vertical)
      : range_(range), extent_(extent), vertical_(vertical) {}
  AxisRange GetRange() const override { return range_; }
  int SetRange(AxisRange range) override {
    if (refuse)
      return -1;
    range_ = range;
    return 0;
  }
  double PixelToValue(int pixel) const override {
    const AxisTransform t =
        vertical_ ? VerticalTransform(range_, extent_) : HorizontalTransform(range_, extent_);
    return GUILib::PixelToValue(pixel, t, 0);
  }
  bool refuse = false;

private:
  AxisRange range_;
  int extent_;
  bool vertical_;
};

TEST(PlotGeometry, ZoomGivesTheSameRangesDraggedEitherWay) {
  const Point topLeft{20, 10}, bottomRight{60, 90};
  const Point corners[][2] = {
      {topLeft, bottomRight}, {bottomRight, topLeft}, {{20, 90}, {60, 10}}, {{60, 10}, {20, 90}}};
  for (const auto& drag : corners) {
    FakeScale h({100, 0}, 100, false), v({1, -1}, 100, true);
    ASSERT_TRUE(ZoomToRectangle(h, v, drag[0], drag[1]));
    EXPECT_EQ(h.GetRange(), (AxisRange{60, 20}));
    EXPECT_DOUBLE_EQ(v.GetRange().high, 0.8);
    EXPECT_DOUBLE_EQ(v.GetRange().low, -0.8);
  }
}

TEST(PlotGeometry, RefusedZoomKeepsThePreviousRanges) {
  for (bool refuseHorizontal : {true, false}) {
    SCOPED_TRACE(refuseHorizontal);
    FakeScale h({100, 0}, 100, false), v({1, -1}, 100, true);
    (refuseHorizontal ? h : v).refuse = true;
    EXPECT_FALSE(ZoomToRectangle(h, v, {20, 10}, {60, 90}));
    EXPECT_EQ(h.GetRange(), (AxisRange{100, 0}));
    EXPECT_EQ(v.GetRange(), (AxisRange{1, -1}));
  }
}

} // namespace
} // namespace GUILib

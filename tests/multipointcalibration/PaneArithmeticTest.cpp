#include "multipointcalibration/PaneArithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

namespace {

using namespace MPCalibration::Pane;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::vector<float> Ramp(std::size_t n) {
  std::vector<float> v(n);
  std::iota(v.begin(), v.end(), 0.0f);
  return v;
}

TEST(PaneArithmetic, PixelOfMapsAndClampsBeforeConverting) {
  struct Case {
    double value;
    ValueMap map;
    std::optional<int> row;
  };
  const Case cases[] = {
      {2.0, {10.0, 1.0}, 30},
      {-1.0, {-50.0, 3.0}, -100},
      {0.999, {1.0, 0.0}, 0},
      {1e9, {1.0, 0.0}, 16000},
      {-1e300, {1e300, 0.0}, -16000},
      {std::numeric_limits<double>::infinity(), {1.0, 0.0}, 16000},
      {std::nan(""), {1.0, 0.0}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PixelOf(c.value, c.map), c.row) << c.value;
}

TEST(PaneArithmetic, NarrowPanesHaveNoDataColumnsAndDrawNothing) {
  const std::vector<float> samples = Ramp(100);
  for (int width = -1; width <= 18; ++width) {
    EXPECT_EQ(DataWidth(width), 0) << width;
    EXPECT_EQ(SamplesPerPixel(samples.size(), width), 0.0) << width;
    EXPECT_FALSE(MarkedSamples(samples.size(), width, 0, 1)) << width;
    std::vector<ColumnLine> lines{{1, 2, 3}};
    ReduceColumns(samples, width, {}, lines);
    EXPECT_TRUE(lines.empty()) << width;
    Polylines poly;
    SparsePolylines(samples, width, {}, poly);
    EXPECT_TRUE(poly.points.empty()) << width;
  }
  EXPECT_EQ(DataWidth(19), 1);
  EXPECT_EQ(SamplesPerPixel(100, 118), 1.0);
}

TEST(PaneArithmetic, MarkedSamplesAreOrderedAndClampedAtBothEnds) {
  // 1000 samples over 100 data columns (client width 118): 10 samples per column.
  struct Case {
    int start, end;
    std::size_t first, last;
  };
  const Case cases[] = {
      {10, 20, 100, 200},  {20, 10, 100, 200}, // either direction
      {-5, 3, 0, 30},                          // starting left of the pane
      {95, 140, 950, 999},                     // reaching past the last sample
      {140, 95, 950, 999}, {-9, -2, 0, 0},     {500, 600, 999, 999}, {42, 42, 420, 420},
  };
  for (const Case& c : cases) {
    const auto r = MarkedSamples(1000, 118, c.start, c.end);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->first, c.first) << c.start << ".." << c.end;
    EXPECT_EQ(r->last, c.last) << c.start << ".." << c.end;
  }
  EXPECT_FALSE(MarkedSamples(0, 118, 0, 10));
}

TEST(PaneArithmetic, StatisticsUseFiniteSamplesOnly) {
  struct Case {
    std::vector<float> samples;
    SampleRange range;
    Statistics expected;
  };
  const Case cases[] = {
      {{1, 2, 3, 4, 5}, {1, 3}, {true, 3.0, 4.0, 2.0}},
      {{1, 2, 3, 4, 5}, {0, 99}, {true, 3.0, 5.0, 1.0}}, // range past the end
      {{-3, kNaN, 7, kInf, -kInf}, {0, 4}, {true, 2.0, 7.0, -3.0}},
      {{kNaN, kNaN}, {0, 1}, {false, 0, 0, 0}},
      {{}, {0, 0}, {false, 0, 0, 0}},
      {{5}, {3, 4}, {false, 0, 0, 0}},
      {{1e30f, 1e30f}, {0, 1}, {true, 1e30f, 1e30f, 1e30f}},
  };
  for (const Case& c : cases) {
    const Statistics s = RangeStatistics(c.samples, c.range);
    EXPECT_EQ(s.valid, c.expected.valid);
    EXPECT_DOUBLE_EQ(s.mean, c.expected.mean);
    EXPECT_DOUBLE_EQ(s.max, c.expected.max);
    EXPECT_DOUBLE_EQ(s.min, c.expected.min);
  }
}

TEST(PaneArithmetic, SumIsKeptInDoublePrecision) {
  // 16,777,217 cannot be held in a float: a float sum of these would drift.
  std::vector<float> samples(1'000'001, 16777216.0f);
  samples.back() = 16777218.0f;
  const Statistics s = RangeStatistics(samples, {0, samples.size() - 1});
  EXPECT_DOUBLE_EQ(s.mean, 16777216.0 + 2.0 / 1'000'001.0);
}

TEST(PaneArithmetic, DenseColumnsReachBackToTheirNeighbours) {
  // 8 samples over 2 columns (client width 20), rows = value.
  const std::vector<float> samples = {5, 6, 4, 5, 20, 21, 22, 20};
  std::vector<ColumnLine> lines;
  ReduceColumns(samples, 20, {}, lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].x, 0);
  EXPECT_EQ(lines[0].top, 4);
  EXPECT_EQ(lines[0].bottom, 6);
  // The second column starts just below the first one's lowest point.
  EXPECT_EQ(lines[1].x, 1);
  EXPECT_EQ(lines[1].top, 7);
  EXPECT_EQ(lines[1].bottom, 22);

  const std::vector<float> rising = {20, 21, 5, 6};
  ReduceColumns(rising, 20, {}, lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].top, 5);
  EXPECT_EQ(lines[1].bottom, 20); // up to the first column's highest point
}

TEST(PaneArithmetic, DenseColumnsCoverEveryColumnOnceAndSkipNaN) {
  std::vector<float> samples = Ramp(1'000'001);
  for (std::size_t i = 300'000; i < 310'000; ++i)
    samples[i] = kNaN;
  std::vector<ColumnLine> lines;
  const int width = 818; // 800 data columns
  ReduceColumns(samples, width, {-0.0005, 0.0}, lines);
  ASSERT_FALSE(lines.empty());
  int previous = -1;
  for (const ColumnLine& l : lines) {
    EXPECT_GT(l.x, previous);
    EXPECT_LT(l.x, 800);
    EXPECT_LE(l.top, l.bottom);
    previous = l.x;
  }
  EXPECT_EQ(lines.back().x, 799);
  // Columns 240..246 hold only NaN samples (1250 samples per column): a gap.
  const auto drawn = [&](int x) {
    for (const ColumnLine& l : lines)
      if (l.x == x)
        return true;
    return false;
  };
  EXPECT_FALSE(drawn(241));
  EXPECT_TRUE(drawn(239));
  EXPECT_TRUE(drawn(248));
  EXPECT_EQ(lines.size(), 800u - 7u);
}

TEST(PaneArithmetic, SparseTraceRunsAcrossTheDataArea) {
  // 4 samples over 100 columns: 25 columns per sample.
  const std::vector<float> samples = {10, 20, 30, 40};
  Polylines poly;
  SparsePolylines(samples, 118, {}, poly);
  ASSERT_EQ(poly.runs.size(), 1u);
  const std::vector<std::pair<int, int>> expected = {
      {0, 10}, {25, 10}, {50, 20}, {75, 30}, {100, 40}};
  ASSERT_EQ(poly.points.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(poly.points[i].x, expected[i].first);
    EXPECT_EQ(poly.points[i].y, expected[i].second);
  }
}

TEST(PaneArithmetic, SparseTraceBreaksAtNaN) {
  struct Case {
    std::vector<float> samples;
    std::vector<std::uint32_t> runs;
  };
  const Case cases[] = {
      {{1, 2, kNaN, 4, 5}, {3, 3}}, {{kNaN, 2, 3}, {3}},          {{1, kNaN}, {2}},
      {{kNaN, kNaN}, {}},           {{1, kNaN, 3, kNaN}, {2, 2}},
  };
  for (const Case& c : cases) {
    Polylines poly;
    SparsePolylines(c.samples, 118, {}, poly);
    EXPECT_EQ(poly.runs, c.runs);
    std::size_t total = 0;
    for (auto r : poly.runs)
      total += r;
    EXPECT_EQ(total, poly.points.size());
  }
}

TEST(PaneArithmetic, CapacityKeepsOneMillionAndOne) {
  std::vector<float> samples(999'990, 1.0f);
  const std::vector<float> chunk(16, 2.0f);
  EXPECT_EQ(AppendWithinCapacity(samples, chunk, 1.0), 11u);
  EXPECT_EQ(samples.size(), kCapacity);
  EXPECT_EQ(samples.back(), 2.0f);
  EXPECT_EQ(AppendWithinCapacity(samples, chunk, 1.0), 0u);
  EXPECT_EQ(samples.size(), 1'000'001u);

  std::vector<float> scaled;
  const std::vector<float> values = {1.5f, -2.0f};
  EXPECT_EQ(AppendWithinCapacity(scaled, values, 2.0), 2u);
  EXPECT_EQ(scaled, (std::vector<float>{3.0f, -4.0f}));
}

TEST(PaneArithmetic, MarkersSitInTheStripCentredOnTheirValue) {
  const StripLayout strip = MarkerStrip(200, 150);
  EXPECT_EQ(strip.left, 183);
  EXPECT_EQ(strip.top, 5);
  EXPECT_EQ(strip.right, 200);
  EXPECT_EQ(strip.bottom, 145);
  EXPECT_EQ(strip.markerX, 184);
  EXPECT_EQ(MarkerTop(2.0, {-10.0, -12.0}), 92);
  EXPECT_FALSE(MarkerTop(std::nan(""), {}));
}

TEST(PaneArithmetic, ScaleRangeNeverDegenerates) {
  struct Case {
    double top, bottom;
    ScaleRange expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {10.0, 0.0, {10.0, 0.0}}, {0.0, 10.0, {10.0, 0.0}},
      {2.0, 2.0, {2.5, 1.5}},   {100.0, 100.0, {105.0, 95.0}},
      {0.0, 0.0, {0.5, -0.5}},  {std::nan(""), 1.0, {1.0, 0.0}},
      {inf, 0.0, {1.0, 0.0}},   {1.7e308, -1.7e308, {1.0, 0.0}},
      {1e-3, 0.0, {1e-3, 0.0}},
  };
  for (const Case& c : cases) {
    const ScaleRange r = GuardScaleRange(c.top, c.bottom);
    EXPECT_DOUBLE_EQ(r.top, c.expected.top) << c.top << " " << c.bottom;
    EXPECT_DOUBLE_EQ(r.bottom, c.expected.bottom) << c.top << " " << c.bottom;
  }
  const std::vector<float> flat(50, 3.0f);
  EXPECT_GT(DataScaleRange(flat).top - DataScaleRange(flat).bottom, 0.0);
  const std::vector<float> withNaN = {kNaN, 1.0f, kInf, 4.0f};
  EXPECT_DOUBLE_EQ(DataScaleRange(withNaN).top, 4.0);
  EXPECT_DOUBLE_EQ(DataScaleRange(withNaN).bottom, 1.0);
  const std::vector<float> allNaN = {kNaN, kNaN};
  EXPECT_DOUBLE_EQ(DataScaleRange(allNaN).top, 1.0);
  EXPECT_DOUBLE_EQ(DataScaleRange(allNaN).bottom, 0.0);
}

} // namespace

#include "fitting/EvaluateFit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "fitting/FitType.h"
#include "fitting/Graticule.h"
#include "foundation/FastMath.h"

namespace MPCalibration {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kLogNaNBits = 0x7FF8600000000000ull;

std::vector<double> Evaluated(std::int32_t type, const std::vector<double>& c,
                              std::vector<double> values) {
  EvaluateFit(type, c, values);
  return values;
}

TEST(EvaluateFit, TooFewCoefficientsOrUnknownTypeLeaveValuesUnchanged) {
  const std::vector<double> raw{-2.5, 0.0, 1.0, 3.75, kNaN, 1e300};
  struct Case {
    std::int32_t type;
    std::vector<double> c;
  };
  const Case cases[] = {
      {Linear, {}},         {Quintic, {}},          {Logarithmic, {2}},
      {Exponential, {0.5}}, {PointToPoint, {1, 2}}, {PointToPoint, {1, 2, 3}},
      {8, {1, 2, 3, 4}},    {-1, {1, 2}},           {12345, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    const auto out = Evaluated(c.type, c.c, raw);
    for (std::size_t i = 0; i < raw.size(); ++i)
      EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i]), std::bit_cast<std::uint64_t>(raw[i]))
          << "type " << c.type << " size " << c.c.size() << " value " << i;
  }
}

TEST(EvaluateFit, PolynomialsUseHornerOverTheWholeVector) {
  struct Case {
    std::int32_t type;
    std::vector<double> c;
    double x, expected;
  };
  const Case cases[] = {
      {Linear, {3, 0.5}, 2, 4},
      {Linear, {7}, 123, 7}, // one coefficient: a constant
      {Quadratic, {1, 0, 1}, 3, 10},
      {Cubic, {1, -2, 0, 0.5}, 2, 1},
      // The loop follows the vector's size, not the type.
      {Linear, {1, 1, 1}, 2, 7},
      {Quintic, {1, 1}, 2, 3},
      {Quartic, {1, 2, 3, 4, 5, 6, 7, 8}, 1, 36},
      {Quadratic, {1, 2, 3}, kNaN, kNaN},
  };
  for (const Case& c : cases) {
    const double out = Evaluated(c.type, c.c, {c.x})[0];
    if (std::isnan(c.expected))
      EXPECT_TRUE(std::isnan(out));
    else
      EXPECT_EQ(out, c.expected) << "type " << c.type << " x " << c.x;
  }
}

TEST(EvaluateFit, BlockResultsEqualTheScalarHornerRuleBitForBit) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  for (std::size_t size = 1; size <= 8; ++size) {
    std::vector<double> c(size), x(1031);
    for (double& v : c)
      v = value(random);
    for (double& v : x)
      v = value(random);
    const auto out = Evaluated(Quadratic, c, x);
    for (std::size_t i = 0; i < x.size(); ++i) {
      double y = c.back();
      for (std::size_t k = size - 1; k-- > 0;)
        y = y * x[i] + c[k];
      ASSERT_EQ(out[i], y) << "size " << size << " index " << i;
    }
  }
}

TEST(EvaluateFit, LogarithmInSinglePrecisionAndNaNForNonPositive) {
  const std::vector<double> c{0.0, 1.0};
  const auto out = Evaluated(Logarithmic, c, {1.0, std::exp(1.0), 0.0, -1.0, kNaN, -0.0});
  EXPECT_EQ(out[0], 0.0);
  EXPECT_NEAR(out[1], 1.0, 1e-6);
  EXPECT_EQ(out[1], static_cast<double>(Tarn::LogFloat(static_cast<float>(std::exp(1.0)))));
  for (std::size_t i = 2; i < out.size(); ++i)
    EXPECT_EQ(std::bit_cast<std::uint64_t>(out[i]), kLogNaNBits) << i;

  const auto scaled = Evaluated(Logarithmic, {0.25, 2.0}, {10.0});
  EXPECT_EQ(scaled[0], 2.0 * static_cast<double>(Tarn::LogFloat(10.0f)) + 0.25);
  EXPECT_NEAR(scaled[0], 2.0 * std::log(10.0) + 0.25, 1e-6);
}

TEST(EvaluateFit, ExponentialTakesRateFirstAndAmplitudeSecond) {
  const auto out = Evaluated(Exponential, {-0.5, 3.0}, {0.0, 2.0, kNaN});
  EXPECT_EQ(out[0], 3.0);
  EXPECT_EQ(out[1], 3.0 * Tarn::ExpDouble(-1.0));
  EXPECT_NEAR(out[1], 3.0 * std::exp(-1.0), 1e-15);
  EXPECT_TRUE(std::isnan(out[2]));
}

TEST(EvaluateFit, PointToPointExtendsBothEndsAndSwitchesSegmentAtEachBreakPoint) {
  const std::vector<double> table{0, 0, 1, 10, 3, 20};
  struct Case {
    double x, expected;
  };
  const Case cases[] = {{-1, -10}, {0, 0}, {0.5, 5}, {1, 10}, {2, 15}, {3, 20}, {4, 25}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(Evaluated(PointToPoint, table, {c.x})[0], c.expected) << c.x;
  EXPECT_TRUE(std::isnan(Evaluated(PointToPoint, table, {kNaN})[0]));
  // An odd last coefficient is ignored.
  EXPECT_DOUBLE_EQ(Evaluated(PointToPoint, {0, 0, 1, 10, 99}, {2})[0], 20);
}

TEST(EvaluateFit, PointToPointPassesThroughEveryPointOfARandomTable) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> step(0.01, 3.0), value(-100.0, 100.0);
  for (std::size_t points : {2u, 3u, 12u, 40u}) { // 40 takes the binary search
    std::vector<double> table, xs, ys;
    double x = value(random);
    for (std::size_t i = 0; i < points; ++i) {
      x += step(random);
      xs.push_back(x);
      ys.push_back(value(random));
      table.push_back(xs.back());
      table.push_back(ys.back());
    }
    const auto out = Evaluated(PointToPoint, table, xs);
    for (std::size_t i = 0; i < points; ++i)
      EXPECT_NEAR(out[i], ys[i], 1e-9 * 100.0) << points << " points, point " << i;
    // Between two points the value lies between their y values.
    std::vector<double> mids;
    for (std::size_t i = 0; i + 1 < points; ++i)
      mids.push_back(0.5 * (xs[i] + xs[i + 1]));
    const auto midOut = Evaluated(PointToPoint, table, mids);
    for (std::size_t i = 0; i + 1 < points; ++i)
      EXPECT_NEAR(midOut[i], 0.5 * (ys[i] + ys[i + 1]), 1e-9) << points << " points, mid " << i;
  }
}

TEST(EvaluateFit, CountingAndSearchingAgreeOnLargeTables) {
  // The segment choice must not depend on the table size: compare a 40-point table with the same
  // table evaluated segment by segment as two-point tables.
  std::vector<double> table;
  for (int i = 0; i < 40; ++i) {
    table.push_back(i * 0.5);
    table.push_back(std::sin(i));
  }
  std::vector<double> x;
  for (double v = -2.0; v < 22.0; v += 0.125)
    x.push_back(v);
  const auto out = Evaluated(PointToPoint, table, x);
  for (std::size_t i = 0; i < x.size(); ++i) {
    const int segment = std::clamp(static_cast<int>(std::floor(x[i] / 0.5)), 0, 38);
    const std::vector<double> pair(table.begin() + 2 * segment, table.begin() + 2 * segment + 4);
    EXPECT_EQ(out[i], Evaluated(PointToPoint, pair, {x[i]})[0]) << x[i];
  }
}

TEST(Graticule, MapsTheFromRangeOntoTheToRangeAndRefusesEmptyRanges) {
  GUILib::Graticule map;
  EXPECT_EQ(map.Map(0.25), 0.25); // identity until set
  EXPECT_TRUE(map.SetFromRange(1.0, 3.0));
  map.SetToRange(10.0, 20.0);
  EXPECT_EQ(map.Factor(), 5.0);
  EXPECT_EQ(map.Offset(), 5.0);
  EXPECT_EQ(map.Map(2.0), 15.0);
  EXPECT_FALSE(map.SetFromRange(4.0, 4.0));
  EXPECT_FALSE(map.SetFromRange(5.0, 4.0));
  EXPECT_FALSE(map.SetFromRange(kNaN, 4.0));
  EXPECT_EQ(map.FromLow(), 1.0);
  EXPECT_EQ(map.FromHigh(), 3.0);
  EXPECT_EQ(map.Map(2.0), 15.0);
  map.SetToRange(0.0, -2.0); // the to-range may run downwards
  EXPECT_EQ(map.Map(3.0), -2.0);
}

} // namespace
} // namespace MPCalibration

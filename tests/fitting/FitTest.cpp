#include "fitting/Fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "fitting/EvaluateFit.h"
#include "fitting/FitLine.h"
#include "fitting/FitType.h"

namespace MPCalibration {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kE = std::numbers::e;

FitRecord Points(std::int32_t type, std::vector<double> x, std::vector<double> y,
                 bool forceOrigin = false) {
  FitRecord s;
  s.fitType = type;
  s.forceOrigin = forceOrigin;
  s.rawValues = std::move(x);
  s.calibratedValues = std::move(y);
  return s;
}

void ExpectCoefficients(const std::vector<double>& actual, const std::vector<double>& expected,
                        double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k)
    EXPECT_NEAR(actual[k], expected[k], tolerance) << "coefficient " << k;
}

TEST(HasEnoughPoints, MinimumPerTypeOnBothVectors) {
  struct Case {
    std::int32_t type;
    std::size_t raw, calibrated;
    bool expected;
  };
  const Case cases[] = {
      {Linear, 2, 2, true},      {Linear, 1, 1, false},      {Quadratic, 2, 2, false},
      {Cubic, 3, 3, false},      {Cubic, 4, 4, true},        {Quartic, 5, 5, true},
      {Quintic, 5, 5, false},    {Quintic, 6, 6, true},      {Logarithmic, 2, 2, true},
      {Exponential, 2, 2, true}, {PointToPoint, 2, 2, true}, {PointToPoint, 1, 1, false},
      {Cubic, 4, 3, false},      {Cubic, 3, 4, false},       {8, 10, 10, false},
      {-1, 10, 10, false},
  };
  for (const Case& c : cases) {
    const auto s =
        Points(c.type, std::vector<double>(c.raw, 1.0), std::vector<double>(c.calibrated, 1.0));
    EXPECT_EQ(HasEnoughPoints(s), c.expected) << c.type << " " << c.raw << "/" << c.calibrated;
  }
}

TEST(FitLine, ClosedFormCases) {
  struct Case {
    const char* name;
    std::vector<double> x, y;
    bool forceOrigin;
    bool succeeds;
    std::vector<double> coefficients;
    double r2;
  };
  const Case cases[] = {
      {"exact line", {0, 1, 2}, {1, 3, 5}, false, true, {1, 2}, 1.0},
      {"through origin and centroid", {1, 3}, {1, 5}, true, true, {0, 1.5}, 0.9375},
      {"NaN point skipped", {0, kNaN, 1, 2}, {1, 4, 3, 5}, false, true, {1, 2}, 1.0},
      {"infinite point skipped", {0, 1, 2, 5}, {1, 3, 5, INFINITY}, false, true, {1, 2}, 1.0},
      {"horizontal", {0, 1, 2}, {2, 2, 2}, false, false, {}, 0},
      {"vertical", {1, 1}, {1, 2}, false, false, {}, 0},
      {"one usable point", {1, 2}, {1, kNaN}, false, false, {}, 0},
      {"no points", {}, {}, false, false, {}, 0},
      {"forced, centroid on x = 0", {-1, 1}, {1, 3}, true, false, {}, 0},
  };
  for (const Case& c : cases) {
    std::vector<double> coefficients{-7.0};
    double r2 = -7.0;
    EXPECT_EQ(FitLine(c.y, c.x, c.forceOrigin, coefficients, &r2), c.succeeds) << c.name;
    if (c.succeeds) {
      ExpectCoefficients(coefficients, c.coefficients, 1e-12);
      EXPECT_NEAR(r2, c.r2, 1e-12) << c.name;
    } else {
      EXPECT_EQ(coefficients, std::vector<double>{-7.0}) << c.name;
      EXPECT_EQ(r2, -7.0) << c.name;
    }
  }
}

TEST(Fit, LinearWritesCoefficientsRSquaredAndSumOfSquares) {
  auto s = Points(Linear, {0, 1, 2}, {1, 3, 5});
  ASSERT_TRUE(Fit(s));
  ExpectCoefficients(s.coefficients, {1, 2}, 1e-12);
  EXPECT_NEAR(s.fitError, 1.0, 1e-12);
  EXPECT_NEAR(s.sumSquaredError, 0.0, 1e-24);

  auto forced = Points(Linear, {1, 3}, {1, 5}, true);
  ASSERT_TRUE(Fit(forced));
  EXPECT_DOUBLE_EQ(forced.sumSquaredError, 0.5);
  EXPECT_DOUBLE_EQ(forced.fitError, 0.9375);
}

TEST(Fit, FailedFitStillRecomputesTheSumOfSquares) {
  // The horizontal line fails and leaves no coefficients, so every raw value passes unchanged.
  auto s = Points(Linear, {0, 1, 2}, {2, 2, 2});
  s.sumSquaredError = 99.0;
  EXPECT_FALSE(Fit(s));
  EXPECT_TRUE(s.coefficients.empty());
  EXPECT_DOUBLE_EQ(s.sumSquaredError, 4.0 + 1.0 + 0.0);
}

TEST(Fit, PointTableSortsByRawValueAndRefusesRepeats) {
  auto s = Points(PointToPoint, {2, 1, 3}, {20, 10, 30});
  s.fitError = 0.5;
  s.sumSquaredError = 7.0;
  ASSERT_TRUE(Fit(s));
  EXPECT_EQ(s.coefficients, (std::vector<double>{1, 10, 2, 20, 3, 30}));
  EXPECT_EQ(s.fitError, 0.5); // no R² for a table
  EXPECT_EQ(s.sumSquaredError, 0.0);

  for (const auto& raw : {std::vector<double>{1, 2, 1}, std::vector<double>{1, kNaN, 3}}) {
    auto refused = Points(PointToPoint, raw, {10, 20, 30});
    EXPECT_FALSE(Fit(refused));
    EXPECT_EQ(refused.coefficients.size(), 6u);
  }
}

TEST(Fit, UnknownTypeFailsAndKeepsTheSumOfSquares) {
  auto s = Points(8, {1, 2}, {3, 4});
  s.coefficients = {1, 2};
  s.fitError = 0.25;
  s.sumSquaredError = 42.0;
  EXPECT_FALSE(Fit(s));
  EXPECT_EQ(s.coefficients, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.fitError, 0.25);
  EXPECT_EQ(s.sumSquaredError, 42.0);

  auto empty = Points(8, {}, {});
  empty.sumSquaredError = 42.0;
  EXPECT_FALSE(Fit(empty));
  EXPECT_EQ(empty.sumSquaredError, 0.0);
}

TEST(Fit, NaNSumOfSquaresKeepsThePreviousValue) {
  // A raw value of 0 has no logarithm; the evaluated NaN leaves the previous sum in place.
  auto s = Points(Logarithmic, {0, 1, kE, kE * kE}, {0, 3, 5, 7});
  s.sumSquaredError = 12.5;
  Fit(s);
  EXPECT_EQ(s.sumSquaredError, 12.5);
}

TEST(Fit, VectorsOfDifferentLengthUseTheCommonPoints) {
  auto s = Points(Linear, {0, 1, 2, 3}, {1, 3, 5});
  ASSERT_TRUE(Fit(s));
  ExpectCoefficients(s.coefficients, {1, 2}, 1e-12);
  auto table = Points(PointToPoint, {0, 1, 2}, {5, 6});
  ASSERT_TRUE(Fit(table));
  EXPECT_EQ(table.coefficients, (std::vector<double>{0, 5, 1, 6}));
}

TEST(Fit, WorkedIterativeExamples) {
  struct Case {
    const char* name;
    std::int32_t type;
    std::vector<double> x, y;
    bool forceOrigin;
    std::vector<double> coefficients;
    double tolerance;
  };
  const Case cases[] = {
      {"parabola", Quadratic, {0, 1, 2, 3}, {1, 2, 5, 10}, false, {1, 0, 1}, 1e-12},
      {"three points", Quadratic, {0, 1, 2}, {1, 2, 5}, false, {1, 0, 1}, 1e-9},
      {"forced quadratic", Quadratic, {1, 2, 3}, {2, 6, 12}, true, {0, 1, 1}, 1e-9},
      {"exponential", Exponential, {0, 1, 2}, {2, 2 * kE, 2 * kE * kE}, false, {1, 2}, 1e-9},
      // Force origin means nothing to an exponential: the flag left from a polynomial is ignored.
      {"exponential with the flag set",
       Exponential,
       {0, 1, 2},
       {2, 2 * kE, 2 * kE * kE},
       true,
       {1, 2},
       1e-9},
      {"logarithmic", Logarithmic, {1, kE, kE * kE}, {3, 5, 7}, false, {3, 2}, 1e-9},
      {"cubic", Cubic, {-2, -1, 0, 1, 2, 3}, {-7, 0, 1, 2, 9, 28}, false, {1, 0, 0, 1}, 1e-9},
  };
  for (const Case& c : cases) {
    auto s = Points(c.type, c.x, c.y, c.forceOrigin);
    ASSERT_TRUE(Fit(s)) << c.name;
    ExpectCoefficients(s.coefficients, c.coefficients, c.tolerance);
    EXPECT_NEAR(s.fitError, 1.0, 1e-9) << c.name;
    EXPECT_LT(s.sumSquaredError, 1e-12) << c.name;
  }
}

TEST(Fit, IterativeFitsThatFail) {
  struct Case {
    const char* name;
    std::int32_t type;
    std::vector<double> x, y;
    bool forceOrigin;
  };
  const Case cases[] = {
      {"too few usable points", Quadratic, {0, 1, kNaN}, {1, 2, 5}, false},
      {"NaN point in the minimisation", Quadratic, {0, 1, 2, 3}, {1, 2, kNaN, 10}, false},
      {"one usable point", Logarithmic, {1, 2}, {1, kNaN}, false},
  };
  for (const Case& c : cases) {
    auto s = Points(c.type, c.x, c.y, c.forceOrigin);
    s.fitError = -3.0;
    EXPECT_FALSE(Fit(s)) << c.name;
    EXPECT_EQ(s.fitError, -3.0) << c.name;
  }
}

// Exact polynomial data of every order is reproduced across the range of the points.
TEST(FitProperty, ExactPolynomialDataIsReproduced) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> coefficient(-3.0, 3.0);
  for (std::int32_t type = Linear; type <= Quintic; ++type) {
    for (int trial = 0; trial < 20; ++trial) {
      std::vector<double> c(static_cast<std::size_t>(type) + 2);
      for (double& v : c)
        v = coefficient(random);
      const double low = coefficient(random) * 2.0;
      const double high = low + 1.0 + std::fabs(coefficient(random)) * 3.0;
      std::vector<double> x;
      for (int i = 0; i < 12; ++i)
        x.push_back(low + (high - low) * i / 11.0);
      std::vector<double> y = x;
      EvaluateFit(type, c, y);

      auto s = Points(type, x, y);
      ASSERT_TRUE(Fit(s)) << "type " << type << " trial " << trial;
      std::vector<double> probe, expected;
      for (int i = 0; i <= 100; ++i)
        probe.push_back(low + (high - low) * i / 100.0);
      expected = probe;
      EvaluateFit(type, c, expected);
      EvaluateFit(type, s.coefficients, probe);
      double fullScale = 0.0, worst = 0.0;
      for (std::size_t i = 0; i < probe.size(); ++i) {
        fullScale = std::max(fullScale, std::fabs(expected[i]));
        worst = std::max(worst, std::fabs(probe[i] - expected[i]));
      }
      EXPECT_LE(worst, 1e-9 * fullScale) << "type " << type << " trial " << trial;
    }
  }
}

TEST(FitProperty, PointTablePassesThroughEveryPoint) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> value(-50.0, 50.0);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<double> x, y;
    for (int i = 0; i < 12; ++i) {
      x.push_back(value(random));
      y.push_back(value(random));
    }
    auto s = Points(PointToPoint, x, y);
    ASSERT_TRUE(Fit(s));
    for (std::size_t k = 2; k < s.coefficients.size(); k += 2)
      EXPECT_LT(s.coefficients[k - 2], s.coefficients[k]);
    std::vector<double> out = x;
    EvaluateFit(PointToPoint, s.coefficients, out);
    for (std::size_t i = 0; i < x.size(); ++i)
      EXPECT_NEAR(out[i], y[i], 1e-12 * 50.0) << trial << " " << i;
    EXPECT_LT(s.sumSquaredError, 1e-20);
  }
}

} // namespace
} // namespace MPCalibration

#include "fitting/IterativeFit.h"

#include <cfloat>
#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "fitting/ExponFunc.h"
#include "fitting/Invert.h"
#include "fitting/MtxErr.h"
#include "fitting/PolynomialFunc.h"
#include "fitting/RelativelyEqual.h"

namespace ExtLib {
namespace {

constexpr double kE = std::numbers::e;

TEST(FitFunctions, ExponentialAmplitudeFixedOrFree) {
  const std::vector<double> p{0.5, 3.0};
  EXPECT_DOUBLE_EQ(ExponFunc(false, 0).Evaluate(2.0, p), 3.0 * kE);
  EXPECT_EQ(ExponFunc(true, 0).Evaluate(2.0, p), 0.0);
  EXPECT_DOUBLE_EQ(ExponFunc(true, 1.5).Evaluate(2.0, p), 1.5 * kE);
  std::vector<double> g(2);
  ExponFunc(true, 0).Gradient(2.0, p, g); // uses p1 even when the amplitude is fixed
  EXPECT_DOUBLE_EQ(g[0], 2.0 * 3.0 * kE);
  EXPECT_DOUBLE_EQ(g[1], kE);
}

TEST(FitFunctions, ExponentialInitialGuess) {
  struct Case {
    const char* name;
    std::vector<double> x, y;
    bool fix;
    double amplitude;
    double p0, p1;
  };
  const Case cases[] = {
      {"two points", {0, 1}, {2, 2 * kE}, false, 0, 1, 2},
      {"fixed amplitude", {0, 1}, {2, 2 * kE}, true, 0.5, 1, 0.5},
      {"negative points skipped", {-1, 0, 5, 1}, {9, 2, -1, 2 * kE}, false, 0, 1, 2},
      {"only negative y", {0, 1}, {-1, -2}, false, 0, 1, 1},
      {"single usable point", {0, 1}, {2, -2}, false, 0, 1, 1},
      {"ties keep the first point", {0, 0, 1, 1}, {2, 7, 2 * kE, 9}, false, 0, 1, 2},
      {"relatively equal ends", {1, 1 + 1e-15}, {3, 3}, false, 0, 1, 1},
      {"no points", {}, {}, false, 0, 1, 1},
  };
  for (const Case& c : cases) {
    std::vector<double> p(2, -99.0);
    ExponFunc(c.fix, c.amplitude).InitialGuess(c.x, c.y, p);
    EXPECT_NEAR(p[0], c.p0, 1e-12) << c.name;
    EXPECT_NEAR(p[1], c.p1, 1e-12) << c.name;
  }
}

TEST(FitFunctions, RelativeEquality) {
  struct Case {
    double a, b;
    bool equal;
  };
  const Case cases[] = {
      {1, 1, true},          {0, 0, true},         {1e-33, -1e-33, true},
      {1e-33, 1e-31, false}, {1, 1 + 1e-14, true}, {1, 1 + 1e-12, false},
      {0, 1e-20, false},     {-5, 5, false},       {1e300, 1e300 * (1 + 1e-14), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RelativelyEqual(c.a, c.b), c.equal) << c.a << " " << c.b;
}

TEST(Invert, InverseOfAWellConditionedMatrix) {
  const Matrix a{{4, 7, 2}, {3, 6, 1}, {2, 5, 3}};
  const Matrix inverse = Invert(a);
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c) {
      double sum = 0.0;
      for (std::size_t k = 0; k < 3; ++k)
        sum += a[r][k] * inverse[k][c];
      EXPECT_NEAR(sum, r == c ? 1.0 : 0.0, 1e-12) << r << "," << c;
    }
  }
}

TEST(Invert, ZeroRowRaisesSingularOtherSingularMatricesDoNot) {
  EXPECT_NO_THROW(Invert({{1, 1}, {1, 1}}));
  const Matrix huge = Invert({{1, 1}, {1, 1}});
  EXPECT_GT(std::fabs(huge[1][1]), 1e19); // the zero pivot became 1e-20
  try {
    Invert({{0, 0}, {1, 1}});
    FAIL() << "no MtxErr";
  } catch (const MtxErr& e) {
    EXPECT_EQ(e.Message(), L"Singular");
  }
  EXPECT_THROW(Invert({{1, 2}, {3}}), MtxErr);
  EXPECT_TRUE(Invert({}).empty());
}

// On a singular matrix the pivot choice and the floor decide the signs of the huge result, and
// with them whether the statistics see a negative variance.
TEST(Invert, PivotTiesGoToTheLaterRowAndTinyPivotsBecomePositive) {
  struct Case {
    const char* name;
    Matrix a;
    Matrix expected;
  };
  const Case cases[] = {
      // Equal scaled weights in column 0: row 1 is the pivot, leaving a zero pivot below it.
      {"tie", {{2, 2}, {1, 1}}, {{-1e20, 2e20}, {1e20, -2e20}}},
      // A pivot of -1e-25 is floored to +1e-20, not to -1e-20.
      {"negative tiny pivot", {{1, 0}, {0, -1e-25}}, {{1, 0}, {0, 1e20}}},
  };
  for (const Case& c : cases) {
    const Matrix inverse = Invert(c.a);
    for (std::size_t r = 0; r < 2; ++r) {
      for (std::size_t k = 0; k < 2; ++k)
        EXPECT_NEAR(inverse[r][k], c.expected[r][k], std::fabs(c.expected[r][k]) * 1e-12 + 1e-12)
            << c.name << " " << r << "," << k;
    }
  }
  double r2 = 0.0;
  int dof = 0;
  // Constant x: the normal matrix [[3, 3], [3, 3]] ties, and the later-row pivot gives a negative
  // variance, so the fit is rejected.
  EXPECT_FALSE(
      FitStatistics(PolynomialFunc<2>(false), {1, 1, 1, 1}, {1, 2, 3, 4}, {2.5, 0, 0}, r2, dof));
}

TEST(FitStatistics, DegreesOfFreedomAndRSquaredBeforeAnyTest) {
  const PolynomialFunc<2> f(false);
  double r2 = 0.0;
  int dof = -1;
  // Exactly three points: not accepted by the statistics, R² still written.
  EXPECT_FALSE(FitStatistics(f, {0, 1, 2}, {1, 2, 5}, {1, 0, 1}, r2, dof));
  EXPECT_EQ(dof, 0);
  EXPECT_EQ(r2, 1.0);
  EXPECT_TRUE(FitStatistics(f, {0, 1, 2, 3}, {1, 2, 5, 11}, {1, 0, 1}, r2, dof));
  EXPECT_EQ(dof, 1);
  const double mean = 19.0 / 4.0;
  const double sst = std::pow(1 - mean, 2) + std::pow(2 - mean, 2) + std::pow(5 - mean, 2) +
                     std::pow(11 - mean, 2);
  EXPECT_DOUBLE_EQ(r2, 1.0 - 1.0 / sst);
  // The fixed zero amplitude leaves a zero gradient row: "Singular" is caught here.
  EXPECT_FALSE(FitStatistics(ExponFunc(true, 0), {0, 1, 2}, {1, 2, 3}, {1, 0}, r2, dof));
}

TEST(FitPolynomial, ForceOriginKeepsTheConstantAtZeroAndCopiesFailedParameters) {
  std::vector<double> c;
  double r2 = -1.0;
  ASSERT_TRUE(FitPolynomial(2, true, {2, 6, 12}, {1, 2, 3}, c, &r2));
  EXPECT_EQ(c[0], 0.0);
  // Without an R² output no statistics are run.
  ASSERT_TRUE(FitModel(ExponFunc(true, 0), {2, 2 * kE, 2 * kE * kE}, {0, 1, 2}, c, nullptr));
  EXPECT_FALSE(FitModel(ExponFunc(true, 0), {2, 2 * kE, 2 * kE * kE}, {0, 1, 2}, c, &r2));
  EXPECT_EQ(c.size(), 2u); // the minimiser's parameters are kept on failure
  EXPECT_FALSE(FitPolynomial(6, false, {1, 2, 3}, {1, 2, 3}, c, &r2));
  EXPECT_FALSE(FitPolynomial(1, false, {1, 2, 3}, {1, 2, 3}, c, &r2));
}

} // namespace
} // namespace ExtLib

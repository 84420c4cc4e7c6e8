#include "fitting/FitStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"

namespace MPCalibration {
namespace {

FitRecord Fitted(std::int32_t type, std::vector<double> raw, std::vector<double> known) {
  FitRecord r;
  r.fitType = type;
  r.rawValues = std::move(raw);
  r.calibratedValues = std::move(known);
  EXPECT_TRUE(Fit(r));
  return r;
}

TEST(FitStatisticsTest, ResidualsSquaredSumToTheFitsSse) {
  const std::vector<double> raw = {0.5, 1.48, 2.42, 3.32, 4.18, 5.3};
  const std::vector<double> known = {0.1, 50.3, 99.7, 150.4, 199.2, 262.0};
  for (const std::int32_t type : {Linear, Quadratic, Cubic, Logarithmic, Exponential}) {
    const FitRecord r = Fitted(type, raw, known);
    const FitStatistics s = ComputeFitStatistics(r);
    double sse = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      sse += s.residuals[i] * s.residuals[i];
    }
    EXPECT_NEAR(sse, r.sumSquaredError, 1e-9 * std::max(1.0, sse)) << type;
    EXPECT_EQ(s.degreesOfFreedom,
              static_cast<std::ptrdiff_t>(raw.size()) - (type == Cubic       ? 4
                                                         : type == Quadratic ? 3
                                                                             : 2));
    for (const double residual : s.residuals)
      EXPECT_LE(std::abs(residual), std::abs(s.largestResidual)) << type;
    EXPECT_EQ(s.largestResidual, s.residuals[s.largestResidualPoint]) << type;
  }
}

TEST(FitStatisticsTest, LinearStandardErrorsMatchTheClosedForm) {
  const std::vector<double> x = {1, 2, 3, 4, 5, 7};
  const std::vector<double> y = {2.1, 3.9, 6.2, 7.8, 10.1, 14.3};
  const FitRecord r = Fitted(Linear, x, y);
  const FitStatistics s = ComputeFitStatistics(r);
  const double n = 6;
  double mx = 0;
  for (double v : x)
    mx += v / n;
  double sxx = 0;
  for (double v : x)
    sxx += (v - mx) * (v - mx);
  const double var = r.sumSquaredError / (n - 2);
  EXPECT_NEAR(s.standardErrors[1], std::sqrt(var / sxx), 1e-9);
  EXPECT_NEAR(s.standardErrors[0], std::sqrt(var * (1 / n + mx * mx / sxx)), 1e-9);
  EXPECT_NEAR(s.adjustedRSquared, 1 - (1 - s.rSquared) * (n - 1) / (n - 2), 1e-12);
}

TEST(FitStatisticsTest, QuadraticStandardErrorsMatchTheInverseNormalMatrix) {
  const std::vector<double> x = {-2, -1, 0, 1, 2, 3};
  const std::vector<double> y = {4.2, 0.8, 0.1, 1.2, 3.9, 9.3};
  const FitRecord r = Fitted(Quadratic, x, y);
  const FitStatistics s = ComputeFitStatistics(r);
  // XᵀX from the power sums, inverted by cofactors.
  std::array<double, 5> p{};
  for (double v : x)
    for (int k = 0; k < 5; ++k)
      p[k] += std::pow(v, k);
  const double a = p[0], b = p[1], c = p[2], d = p[3], e = p[4];
  const double det = a * (c * e - d * d) - b * (b * e - c * d) + c * (b * d - c * c);
  const std::array<double, 3> diag = {(c * e - d * d) / det, (a * e - c * c) / det,
                                      (a * c - b * b) / det};
  const double var = r.sumSquaredError / 3;
  for (int k = 0; k < 3; ++k)
    EXPECT_NEAR(s.standardErrors[k], std::sqrt(var * diag[k]), 1e-9) << k;
}

TEST(FitStatisticsTest, MonotonicityWarningOnlyWhenTheCurveTurnsInsideTheRange) {
  struct Case {
    std::vector<double> coefficients;
    double lo, hi;
    bool turns;
  };
  // x³ - 3x turns at ±1.
  const Case cases[] = {{{0, -3, 0, 1}, -2, 2, true},
                        {{0, -3, 0, 1}, 1.5, 3, false},
                        {{0, 1, 0, 1}, -2, 2, false},
                        {{5, 2}, 0, 10, false}};
  for (const Case& c : cases) {
    FitRecord r;
    r.fitType = c.coefficients.size() == 4 ? Cubic : Linear;
    r.coefficients = c.coefficients;
    for (int i = 0; i <= 5; ++i)
      r.rawValues.push_back(c.lo + (c.hi - c.lo) * i / 5);
    r.calibratedValues = r.rawValues;
    EvaluateFit(r.fitType, r.coefficients, r.calibratedValues);
    const FitStatistics s = ComputeFitStatistics(r);
    EXPECT_EQ(s.nonMonotonic, c.turns) << c.lo;
    if (c.turns) {
      EXPECT_NEAR(std::abs(s.turningRaw), 1.0, 0.01);
    }
    EXPECT_EQ(FitWarnings(r, s).size(), c.turns ? 1u : 0u);
  }
}

TEST(FitStatisticsTest, ExactInterpolationIllConditioningAndDomainAreReported) {
  const FitRecord exact = Fitted(Quadratic, {1, 2, 3}, {1, 4, 9.5});
  const FitStatistics e = ComputeFitStatistics(exact);
  EXPECT_EQ(e.degreesOfFreedom, 0);
  EXPECT_TRUE(std::isnan(e.adjustedRSquared));
  EXPECT_TRUE(std::isnan(e.standardErrors[0]));

  const FitRecord far =
      Fitted(Cubic, {1000, 1001, 1002, 1003, 1004, 1005}, {0, 1.1, 3.9, 9.2, 16.1, 24.8});
  EXPECT_TRUE(ComputeFitStatistics(far).illConditioned);
  EXPECT_FALSE(ComputeFitStatistics(Fitted(Linear, {0, 1, 2}, {0, 1, 2.1})).illConditioned);

  FitRecord log;
  log.fitType = Logarithmic;
  log.coefficients = {1, 2};
  log.rawValues = {-1, 1, 2};
  log.calibratedValues = {0, 2, 3};
  const FitStatistics logStatistics = ComputeFitStatistics(log);
  EXPECT_TRUE(logStatistics.domainProblem);
  EXPECT_TRUE(std::isnan(logStatistics.standardErrors[0]));
}

} // namespace
} // namespace MPCalibration

// Polynomial fits on raw, unscaled ranges, where the Jacobian's columns differ by many orders of
// magnitude: a minimiser that judges the rank with a relative threshold freezes a parameter here
// and reports the wrong curve as a success.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitRecord.h"
#include "fitting/FitType.h"

namespace MPCalibration {
namespace {

using LongMatrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;
using LongVector = Eigen::Matrix<long double, Eigen::Dynamic, 1>;

std::vector<double> Spread(double low, double high, int count) {
  std::vector<double> x;
  for (int i = 0; i < count; ++i)
    x.push_back(low + (high - low) * i / (count - 1));
  return x;
}

// c[0] + c[1] (x - centre) + ... in long double, rounded once.
double Centred(const std::vector<long double>& c, double centre, double x) {
  long double sum = 0.0L;
  const long double t = static_cast<long double>(x) - centre;
  for (std::size_t k = c.size(); k-- > 0;)
    sum = sum * t + c[k];
  return static_cast<double>(sum);
}

// The least-squares polynomial of the given order by Householder QR in long double on x / scale,
// its coefficients brought back to raw x: independent of the minimiser and of its rank rule.
std::vector<double> LeastSquares(const std::vector<double>& x, const std::vector<double>& y,
                                 int order, double scale) {
  const Eigen::Index m = static_cast<Eigen::Index>(x.size());
  LongMatrix vandermonde(m, order + 1);
  LongVector rhs(m);
  for (Eigen::Index i = 0; i < m; ++i) {
    const long double t = static_cast<long double>(x[static_cast<std::size_t>(i)]) / scale;
    long double power = 1.0L;
    for (int k = 0; k <= order; ++k, power *= t)
      vandermonde(i, k) = power;
    rhs(i) = y[static_cast<std::size_t>(i)];
  }
  const LongVector b = vandermonde.householderQr().solve(rhs);
  std::vector<double> c;
  long double power = 1.0L;
  for (int k = 0; k <= order; ++k, power *= scale)
    c.push_back(static_cast<double>(b(k) / power));
  return c;
}

struct CurveError {
  double worst = 0.0;
  double fullScale = 0.0;
};

// The largest difference between two curves of one type over 201 points of [low, high].
CurveError Compare(std::int32_t type, const std::vector<double>& fitted,
                   const std::vector<double>& expected, double low, double high) {
  std::vector<double> probe = Spread(low, high, 201), reference = probe;
  EvaluateFit(type, fitted, probe);
  EvaluateFit(type, expected, reference);
  CurveError e;
  for (std::size_t i = 0; i < probe.size(); ++i) {
    e.fullScale = std::max(e.fullScale, std::fabs(reference[i]));
    e.worst = std::max(e.worst, std::fabs(probe[i] - reference[i]));
  }
  return e;
}

TEST(IllConditionedFit, ExactCurvesOnRawRangesAreReproduced) {
  struct Range {
    const char* name;
    double low, high;
  };
  const Range ranges[] = {{"0..1000", 0.0, 1000.0}, {"1e-3..1", 1e-3, 1.0}};
  // Each term contributes about as much as the constant at the top of the range.
  const double shape[] = {3.0, 2.0, -1.5, 1.0, -0.75, 0.5};
  for (const std::int32_t type : {Quartic, Quintic}) {
    for (const Range& range : ranges) {
      std::vector<double> c;
      for (int k = 0; k <= type + 1; ++k)
        c.push_back(shape[k] / std::pow(range.high, k));
      for (int count = 6; count <= 12; ++count) {
        FitRecord s;
        s.fitType = type;
        s.rawValues = Spread(range.low, range.high, count);
        s.calibratedValues = s.rawValues;
        EvaluateFit(type, c, s.calibratedValues);
        const std::string label =
            "type " + std::to_string(type) + " on " + range.name + ", " + std::to_string(count);
        ASSERT_TRUE(Fit(s)) << label;
        const CurveError e = Compare(type, s.coefficients, c, range.low, range.high);
        EXPECT_LE(e.worst, 1e-9 * e.fullScale) << label;
        EXPECT_NEAR(s.fitError, 1.0, 1e-12) << label;
      }
    }
  }
}

TEST(IllConditionedFit, PointsOfTheReportedQuinticGiveItsCoefficients) {
  const std::vector<double> c{3, 0.02, 5e-8, -5e-11, 5e-14, -5e-17};
  FitRecord s;
  s.fitType = Quintic;
  s.rawValues = {0, 200, 400, 600, 800, 1000};
  s.calibratedValues = {3, 7.001664, 11.005568, 15.009792, 19.010496, 23};
  ASSERT_TRUE(Fit(s));
  for (std::size_t k = 0; k < c.size(); ++k)
    EXPECT_NEAR(s.coefficients[k], c[k], 1e-8 * std::fabs(c[k])) << "coefficient " << k;
  EXPECT_LT(s.sumSquaredError, 1e-20);
}

TEST(IllConditionedFit, CubicOnRawAdcCounts) {
  // A sensor's cubic around mid-scale of a 16-bit converter, fitted against the raw counts.
  const std::vector<long double> centred{5.0L, 0.01L, 2e-6L, 3e-9L};
  const double centre = 32768.0;
  for (int count = 4; count <= 12; count += 2) {
    FitRecord s;
    s.fitType = Cubic;
    s.rawValues = Spread(32268.0, 33268.0, count);
    for (const double x : s.rawValues)
      s.calibratedValues.push_back(Centred(centred, centre, x));
    ASSERT_TRUE(Fit(s)) << count << " points";
    std::vector<double> probe = Spread(32268.0, 33268.0, 201), fitted = probe;
    EvaluateFit(Cubic, s.coefficients, fitted);
    double worst = 0.0, fullScale = 0.0;
    for (std::size_t i = 0; i < probe.size(); ++i) {
      const double expected = Centred(centred, centre, probe[i]);
      fullScale = std::max(fullScale, std::fabs(expected));
      worst = std::max(worst, std::fabs(fitted[i] - expected));
    }
    EXPECT_LE(worst, 1e-9 * fullScale) << count << " points";
  }
}

TEST(IllConditionedFit, NoisyQuinticMatchesTheLeastSquaresSolution) {
  const std::vector<double> c{3, 0.02, 5e-8, -5e-11, 5e-14, -5e-17};
  std::mt19937_64 random(11);
  std::normal_distribution<double> noise(0.0, 0.01);
  for (const int count : {8, 11, 21}) {
    FitRecord s;
    s.fitType = Quintic;
    s.rawValues = Spread(0.0, 1000.0, count);
    s.calibratedValues = s.rawValues;
    EvaluateFit(Quintic, c, s.calibratedValues);
    for (double& y : s.calibratedValues)
      y += noise(random);
    ASSERT_TRUE(Fit(s)) << count << " points";

    const std::vector<double> reference = LeastSquares(s.rawValues, s.calibratedValues, 5, 1000.0);
    const CurveError e = Compare(Quintic, s.coefficients, reference, 0.0, 1000.0);
    EXPECT_LE(e.worst, 1e-9 * e.fullScale) << count << " points";
    double referenceSse = 0.0;
    std::vector<double> fitted = s.rawValues;
    EvaluateFit(Quintic, reference, fitted);
    for (std::size_t i = 0; i < fitted.size(); ++i)
      referenceSse += std::pow(s.calibratedValues[i] - fitted[i], 2.0);
    EXPECT_NEAR(s.sumSquaredError, referenceSse, 1e-6 * referenceSse) << count << " points";
  }
}

// Least-squares reference sets with certified results (NIST StRD, Pontius and Wampler1-5), their
// digits measured as the log relative error. The noisy Wampler sets have a flat minimum: the stop
// rule (a relative reduction of 1e-8) leaves few coefficient digits there while the sum of squares
// is reached to many.
double Digits(double actual, double certified) {
  if (actual == certified)
    return 16.0;
  const double error = std::fabs(actual - certified) / std::fabs(certified);
  return std::min(16.0, -std::log10(error));
}

TEST(ReferenceSets, CertifiedCoefficientsAndSumsOfSquares) {
  struct Set {
    const char* name;
    std::int32_t type;
    std::vector<double> x, y, coefficients;
    double sse;
    double coefficientDigits, sseDigits;
  };
  std::vector<double> pontiusX,
      pontiusY{.11019,  .21956,  .32949,  .43899,  .54803,  .65694,  .76562,  .87487,
               .98292,  1.09146, 1.20001, 1.30822, 1.41599, 1.52399, 1.63194, 1.73947,
               1.84646, 1.95392, 2.06128, 2.16844, .11052,  .22018,  .32939,  .43886,
               .54798,  .65739,  .76596,  .87474,  .98300,  1.09150, 1.20004, 1.30818,
               1.41613, 1.52408, 1.63159, 1.73965, 1.84696, 1.95445, 2.06177, 2.16829};
  for (int i = 0; i < 40; ++i)
    pontiusX.push_back(150000.0 * (i % 20 + 1));
  const std::vector<double> w = Spread(0.0, 20.0, 21), ones(6, 1.0);
  const Set sets[] = {
      {"Pontius",
       Quadratic,
       pontiusX,
       pontiusY,
       {0.673565789473684e-3, 0.732059160401003e-6, -0.316081871345029e-14},
       0.155761768796992e-5,
       8.0,
       11.0},
      {"Wampler1",
       Quintic,
       w,
       {1,      6,      63,     364,    1365,   3906,    9331,    19608,   37449,   66430,  111111,
        177156, 271453, 402234, 579195, 813616, 1118481, 1508598, 2000719, 2613660, 3368421},
       ones,
       0.0,
       9.0,
       0.0},
      {"Wampler2",
       Quintic,
       w,
       {1.00000,  1.11111,  1.24992,  1.42753,  1.65984,  1.96875,  2.38336,
        2.94117,  3.68928,  4.68559,  6.00000,  7.71561,  9.92992,  12.75603,
        16.32384, 20.78125, 26.29536, 33.05367, 41.26528, 51.16209, 63.00000},
       {1, 0.1, 0.01, 0.001, 1e-4, 1e-5},
       0.0,
       12.0,
       0.0},
      {"Wampler3",
       Quintic,
       w,
       {760,    -2042,  2111,   -1684,  3888,   1858,    11379,   17560,   39287,   64382,  113159,
        175108, 273291, 400186, 581243, 811568, 1121004, 1506550, 2002767, 2611612, 3369180},
       ones,
       83554268.0,
       4.0,
       12.0},
      {"Wampler4",
       Quintic,
       w,
       {75901,   -204794, 204863,  -204436, 253665,  -200894, 214131,
        -185192, 221249,  -138370, 315911,  -27644,  455253,  197434,
        783995,  608816,  1370781, 1303798, 2205519, 2408860, 3444321},
       ones,
       835542680000.0,
       3.5,
       12.0},
      {"Wampler5",
       Quintic,
       w,
       {7590001,   -20479994, 20480063,  -20479636, 25231365,  -20476094, 20489331,
        -20460392, 18417449,  -20413570, 20591111,  -20302844, 18651453,  -20077766,
        21059195,  -19666384, 26348481,  -18971402, 22480719,  -17866340, 10958421},
       ones,
       0.835542680000000e16,
       1.5,
       12.0},
  };
  for (const Set& set : sets) {
    FitRecord s;
    s.fitType = set.type;
    s.rawValues = set.x;
    s.calibratedValues = set.y;
    ASSERT_TRUE(Fit(s)) << set.name;
    ASSERT_EQ(s.coefficients.size(), set.coefficients.size()) << set.name;
    for (std::size_t k = 0; k < set.coefficients.size(); ++k)
      EXPECT_GE(Digits(s.coefficients[k], set.coefficients[k]), set.coefficientDigits)
          << set.name << " coefficient " << k;
    if (set.sse == 0.0)
      EXPECT_LT(s.sumSquaredError, 1e-15) << set.name;
    else
      EXPECT_GE(Digits(s.sumSquaredError, set.sse), set.sseDigits) << set.name;
  }
}

} // namespace
} // namespace MPCalibration

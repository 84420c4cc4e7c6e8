#include "multipointcalibration/BlockCalibrator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "fitting/EvaluateFit.h"
#include "fitting/FitType.h"
#include "foundation/FastMath.h"

namespace {

using MPCalibration::BlockCalibrator;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// One sample the straightforward way: widen, evaluate in double as the rules read, narrow.
float Reference(std::int32_t fitType, const std::vector<double>& c, float sample) {
  const double x = sample;
  const std::size_t k = c.size();
  if (k == 0)
    return sample;
  double y = x;
  switch (fitType) {
  case MPCalibration::Logarithmic:
    if (k < 2)
      return sample;
    y = x > 0 ? c[0] + c[1] * static_cast<double>(Tarn::LogFloat(static_cast<float>(x)))
              : std::bit_cast<double>(0x7FF8600000000000ull);
    break;
  case MPCalibration::Exponential:
    if (k < 2)
      return sample;
    y = c[1] * Tarn::ExpDouble(c[0] * x);
    break;
  case MPCalibration::PointToPoint: {
    if (k < 4)
      return sample;
    const std::size_t m = k / 2;
    auto line = [&](std::size_t i) {
      const double x0 = c[2 * i], y0 = c[2 * i + 1], x1 = c[2 * i + 2], y1 = c[2 * i + 3];
      return x * ((y1 - y0) / (x1 - x0)) + (x1 * y0 - x0 * y1) / (x1 - x0);
    };
    if (x < c[0]) {
      y = line(0);
    } else if (x >= c[2 * (m - 2)]) {
      y = line(m - 2);
    } else {
      for (std::size_t i = 0; i + 1 < m; ++i) {
        if (c[2 * i] <= x && x < c[2 * i + 2]) {
          y = line(i);
          break;
        }
      }
    }
    break;
  }
  default:
    y = c[k - 1];
    for (std::size_t i = k - 1; i-- > 0;)
      y = y * x + c[i];
    break;
  }
  return static_cast<float>(y);
}

// Identical bits, or NaN on both sides (the payload of a propagated NaN is not part of the rules).
::testing::AssertionResult SameSample(float got, float want) {
  if (std::isnan(want) ? std::isnan(got)
                       : std::bit_cast<std::uint32_t>(got) == std::bit_cast<std::uint32_t>(want))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::hexfloat << got << " instead of " << want;
}

// Samples that probe every branch: zeros of both signs, the special values, the extremes of
// float, break points and noise across the ranges of the fits below. The odd length leaves a
// remainder after any grouping of samples.
std::vector<float> ProbeSamples() {
  std::vector<float> v = {0.0f,
                          -0.0f,
                          1.0f,
                          -1.0f,
                          2.0f,
                          0.5f,
                          1.5f,
                          3.0f,
                          -5.0f,
                          2.7182817f,
                          kInf,
                          -kInf,
                          kNaN,
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::lowest(),
                          std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::min(),
                          1e-30f,
                          1e30f,
                          -1e-30f};
  std::mt19937 gen(11);
  std::uniform_real_distribution<float> wide(-20.0f, 20.0f), positive(1e-6f, 100.0f);
  for (int i = 0; i < 2000; ++i)
    v.push_back(i % 2 ? wide(gen) : positive(gen));
  for (int i = 0; i < 64; ++i) // positive and special values side by side
    v.insert(v.begin() + 2 * i + 40, i % 3 ? 0.0f : kNaN);
  v.push_back(7.0f);
  return v;
}

struct FitCase {
  std::string name;
  std::int32_t fitType;
  std::vector<double> coefficients;
};

std::vector<FitCase> FitCases() {
  using namespace MPCalibration;
  std::vector<double> twelve, forty;
  for (int i = 0; i < 12; ++i) {
    twelve.push_back(-3.0 + 0.75 * i);
    twelve.push_back(std::sin(i) * 10.0);
  }
  for (int i = 0; i < 40; ++i) {
    forty.push_back(-19.5 + i);
    forty.push_back(std::cos(i) * i);
  }
  return {
      {"empty linear", Linear, {}},
      {"empty logarithmic", Logarithmic, {}},
      {"empty point to point", PointToPoint, {}},
      {"empty unknown type", 12, {}},
      {"identity", Linear, {0.0, 1.0}},
      {"linear", Linear, {1.0, 2.0}},
      {"constant", Linear, {-0.0}},
      {"negative zero coefficients", Quadratic, {-0.0, -0.0, 1.0}},
      {"quadratic", Quadratic, {0.2, 1.5, -2.0}},
      {"cubic", Cubic, {0.1, 1.5, -0.2, 0.03}},
      {"quartic", Quartic, {0.1, 1.5, -0.2, 0.03, -0.001}},
      {"quintic", Quintic, {0.1, 1.5, -0.2, 0.03, -0.001, 2e-5}},
      {"linear type with seven coefficients", Linear, {1, -1, 0.5, 0.25, -0.125, 3, 1e-3}},
      {"type 8 as a polynomial", 8, {1.0, 2.0, 3.0}},
      {"type -1 as a polynomial", -1, {4.0, -2.0}},
      {"logarithmic", Logarithmic, {0.2, 2.5}},
      {"logarithmic identity", Logarithmic, {0.0, 1.0}},
      {"logarithmic one coefficient", Logarithmic, {3.0}},
      {"logarithmic extra coefficient", Logarithmic, {1.0, -1.0, 99.0}},
      {"exponential", Exponential, {0.3, 2.5}},
      {"exponential steep", Exponential, {40.0, 1e-3}},
      {"exponential one coefficient", Exponential, {0.3}},
      {"point to point three points", PointToPoint, {0, 0, 1, 10, 2, 40}},
      {"point to point two points", PointToPoint, {-1, 5, 3, -7}},
      {"point to point odd count", PointToPoint, {0, 0, 1, 10, 2, 40, 99}},
      {"point to point three coefficients", PointToPoint, {0, 0, 1}},
      {"point to point twelve points", PointToPoint, twelve},
      {"point to point forty points", PointToPoint, forty},
  };
}

class CalibratorMatchesReference : public ::testing::TestWithParam<FitCase> {};

TEST_P(CalibratorMatchesReference, BitForBit) {
  const FitCase& fit = GetParam();
  const std::vector<float> samples = ProbeSamples();
  std::vector<float> block = samples;
  BlockCalibrator(fit.fitType, fit.coefficients).Apply(block.data(), block.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_TRUE(SameSample(block[i], Reference(fit.fitType, fit.coefficients, samples[i])))
        << "sample " << i << " = " << samples[i];
    if (HasFailure())
      break;
  }
}

// For the fit types 0..7 the enumerator and the fit evaluation must agree on every sample, also
// for a damaged point-to-point vector whose raw values are out of order or repeated.
TEST_P(CalibratorMatchesReference, AgreesWithEvaluateFit) {
  const FitCase& fit = GetParam();
  const std::vector<float> samples = ProbeSamples();
  std::vector<float> block = samples;
  BlockCalibrator(fit.fitType, fit.coefficients).Apply(block.data(), block.size());
  std::vector<double> wide(samples.begin(), samples.end());
  if (!MPCalibration::IsValidFitType(fit.fitType)) {
    // The fit evaluation passes an unknown type through; the enumerator evaluates it as the
    // polynomial over all coefficients, which is what the fit evaluation does for Linear.
    std::vector<double> unchanged = wide;
    MPCalibration::EvaluateFit(fit.fitType, fit.coefficients, unchanged);
    EXPECT_EQ(0, std::memcmp(unchanged.data(), wide.data(), wide.size() * sizeof(double)));
    MPCalibration::EvaluateFit(MPCalibration::Linear, fit.coefficients, wide);
  } else {
    MPCalibration::EvaluateFit(fit.fitType, fit.coefficients, wide);
  }
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_TRUE(SameSample(block[i], static_cast<float>(wide[i])))
        << "sample " << i << " = " << samples[i];
    if (HasFailure())
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(FitTypes, CalibratorMatchesReference, ::testing::ValuesIn(FitCases()),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

TEST(BlockCalibrator, DamagedPointToPointAgreesWithEvaluateFit) {
  const std::vector<std::vector<double>> damaged = {
      {0, 0, 2, 20, 1, 10, 3, 30},
      {0, 0, 1, 10, 1, 20, 2, 30},
      {5, 1, 4, 2, 3, 3, 2, 4, 1, 5},
      {0, 0, kNaN, 1, 2, 2, 3, 3},
      {1, 1, 1, 2},
  };
  const std::vector<float> samples = ProbeSamples();
  for (const auto& c : damaged) {
    std::vector<float> block = samples;
    BlockCalibrator(MPCalibration::PointToPoint, c).Apply(block.data(), block.size());
    std::vector<double> wide(samples.begin(), samples.end());
    MPCalibration::EvaluateFit(MPCalibration::PointToPoint, c, wide);
    for (std::size_t i = 0; i < samples.size() && !HasFailure(); ++i)
      EXPECT_TRUE(SameSample(block[i], static_cast<float>(wide[i]))) << "sample " << samples[i];
  }
}

// Grouped evaluation must not disturb samples around the block's end, whatever its length.
TEST(BlockCalibrator, EveryBlockLengthAndOnlyTheBlock) {
  const std::vector<float> samples = ProbeSamples();
  for (const FitCase& fit : FitCases()) {
    const BlockCalibrator calibrator(fit.fitType, fit.coefficients);
    for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 15u, 17u}) {
      std::vector<float> block(samples.begin() + 100, samples.begin() + 100 + n + 1);
      const float guard = block[n];
      calibrator.Apply(block.data(), n);
      EXPECT_EQ(std::bit_cast<std::uint32_t>(block[n]), std::bit_cast<std::uint32_t>(guard));
      for (std::size_t i = 0; i < n; ++i)
        EXPECT_TRUE(
            SameSample(block[i], Reference(fit.fitType, fit.coefficients, samples[100 + i])))
            << fit.name << ", length " << n << ", sample " << i;
    }
  }
}

TEST(BlockCalibrator, LogarithmOfNonPositiveIsTheFixedNaN) {
  float block[] = {0.0f, -1.0f, -0.0f, kNaN, -kInf, 1.0f};
  BlockCalibrator(MPCalibration::Logarithmic, {0.0, 1.0}).Apply(block, std::size(block));
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(std::bit_cast<std::uint32_t>(block[i]), 0x7FC30000u) << "sample " << i;
  EXPECT_EQ(block[5], 0.0f);
}

TEST(BlockCalibrator, DocumentedValues) {
  struct Case {
    std::int32_t fitType;
    std::vector<double> c;
    std::vector<float> in, out;
  } const cases[] = {
      {MPCalibration::Linear, {1, 2}, {0, 1, 2}, {1, 3, 5}},
      {MPCalibration::Linear, {3, 0.5}, {2}, {4}},
      {MPCalibration::PointToPoint,
       {0, 0, 1, 10, 2, 40},
       {0.5f, 1.5f, -1, 3, 1},
       {5, 25, -10, 70, 10}},
      {MPCalibration::PointToPoint,
       {0, 0, 1, 10, 3, 20},
       {-1, 0.5f, 1, 2, 4},
       {-10, 5, 10, 15, 25}},
      {MPCalibration::Exponential, {0.3}, {1, 2}, {1, 2}},
  };
  for (const Case& c : cases) {
    std::vector<float> block = c.in;
    BlockCalibrator(c.fitType, c.c).Apply(block.data(), block.size());
    EXPECT_EQ(block, c.out) << "fit type " << c.fitType;
  }
  float e = 2.7182817f;
  BlockCalibrator(MPCalibration::Logarithmic, {0.0, 1.0}).Apply(&e, 1);
  EXPECT_NEAR(e, 1.0f, 1e-7f);
  float fresh[] = {-2.5f, kInf};
  BlockCalibrator().Apply(fresh, 2);
  EXPECT_EQ(fresh[0], -2.5f);
  EXPECT_EQ(fresh[1], kInf);
}

} // namespace

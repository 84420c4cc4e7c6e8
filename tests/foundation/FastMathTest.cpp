#include "foundation/FastMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using Tarn::ExpDouble;
using Tarn::LogFloat;

constexpr float kFloatInf = std::numeric_limits<float>::infinity();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Position of a value on the line of all values of its type, so that neighbours differ by one.
std::int64_t Ordinal(float f) {
  const auto bits = static_cast<std::int64_t>(std::bit_cast<std::uint32_t>(f));
  return bits & 0x80000000 ? 0x80000000 - bits : bits;
}
std::int64_t Ordinal(double d) {
  const auto bits = std::bit_cast<std::int64_t>(d);
  return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
}

template <class T> std::int64_t UlpDistance(T a, T b) {
  const std::int64_t x = Ordinal(a), y = Ordinal(b);
  return x > y ? x - y : y - x;
}

// The same value, or both NaN.
template <class T> bool Same(T a, T b) {
  return std::isnan(a) ? std::isnan(b) : Ordinal(a) == Ordinal(b);
}

TEST(FastMath, LogOfExactAndSpecialArguments) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float denormMin = std::numeric_limits<float>::denorm_min();
  struct Case {
    float x;
    float expected;
  } const cases[] = {
      {1.0f, 0.0f},      {0.0f, -kFloatInf}, {-0.0f, -kFloatInf}, {kFloatInf, kFloatInf},
      {-kFloatInf, nan}, {-1.0f, nan},       {-denormMin, nan},   {-1e-30f, nan},
      {nan, nan},        {-nan, nan},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(Same(LogFloat(c.x), c.expected)) << c.x << " gives " << LogFloat(c.x);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(LogFloat(1.0f)), 0u) << "ln 1 is +0";
  // e rounded to float is a little below e: its logarithm is the float just below 1.
  EXPECT_EQ(LogFloat(2.7182817f), std::nextafter(1.0f, 0.0f));
}

TEST(FastMath, ExpOfExactAndSpecialArguments) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double x;
    double expected;
  } const cases[] = {
      {0.0, 1.0},     {-0.0, 1.0},   {kInf, kInf},   {-kInf, 0.0},   {nan, nan},
      {709.79, kInf}, {710.0, kInf}, {1e300, kInf},  {-745.2, 0.0},  {-746.0, 0.0},
      {-1e300, 0.0},  {1e-300, 1.0}, {-1e-300, 1.0}, {0x1p-54, 1.0},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(Same(ExpDouble(c.x), c.expected)) << c.x << " gives " << ExpDouble(c.x);
  // The largest argument with a finite result, and the smallest with a non-zero one.
  EXPECT_TRUE(std::isfinite(ExpDouble(0x1.62e42fefa39efp+9)));
  EXPECT_GT(ExpDouble(0x1.62e42fefa39efp+9), 1.7e308);
  EXPECT_EQ(ExpDouble(-745.13), std::numeric_limits<double>::denorm_min());
}

// Arguments for the logarithm: random bit patterns over all positive finite floats, the
// neighbourhood of 1 where the result is tiny, and subnormals.
std::vector<float> LogArguments() {
  std::mt19937 gen(20240611);
  std::vector<float> xs;
  std::uniform_int_distribution<std::uint32_t> anyPositive(1, 0x7f7fffff);
  std::uniform_int_distribution<std::int32_t> nearOne(-(1 << 20), 1 << 20);
  std::uniform_int_distribution<std::uint32_t> subnormal(1, 0x007fffff);
  for (int i = 0; i < 600000; ++i)
    xs.push_back(std::bit_cast<float>(anyPositive(gen)));
  for (int i = 0; i < 300000; ++i)
    xs.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(0x3f800000 + nearOne(gen))));
  for (int i = 0; i < 100000; ++i)
    xs.push_back(std::bit_cast<float>(subnormal(gen)));
  return xs;
}

// Arguments for the exponential: the whole finite range, small arguments where exp is close
// to 1, and the ends where it overflows or becomes subnormal.
std::vector<double> ExpArguments() {
  std::mt19937_64 gen(20240611);
  std::vector<double> xs;
  std::uniform_real_distribution<double> whole(-746.0, 710.0), small(-1.0, 1.0), top(700.0, 710.0),
      bottom(-746.0, -700.0);
  std::uniform_int_distribution<int> scale(-60, 0);
  for (int i = 0; i < 600000; ++i)
    xs.push_back(whole(gen));
  for (int i = 0; i < 200000; ++i)
    xs.push_back(std::ldexp(small(gen), scale(gen)));
  for (int i = 0; i < 100000; ++i)
    xs.push_back(top(gen));
  for (int i = 0; i < 100000; ++i)
    xs.push_back(bottom(gen));
  return xs;
}

// The float logarithm is within one ulp of the C library's, and it is the correctly rounded
// value: the double-precision logarithm rounded to float gives the same result except where the
// double rounding itself errs, which is rarer than once in 10^6.
TEST(FastMath, LogIsCorrectlyRoundedAndWithinOneUlpOfTheLibrary) {
  const std::vector<float> xs = LogArguments();
  std::size_t worst = 0, differentFromRounded = 0;
  for (float x : xs) {
    const float got = LogFloat(x);
    const auto d = static_cast<std::size_t>(UlpDistance(got, std::log(x)));
    worst = std::max(worst, d);
    if (d > 1)
      ADD_FAILURE() << std::hexfloat << x << ": " << got << " instead of " << std::log(x);
    differentFromRounded += got != static_cast<float>(std::log(static_cast<double>(x)));
    if (HasFailure())
      break;
  }
  EXPECT_LE(worst, 1u);
  EXPECT_LE(differentFromRounded, 2u);
}

// Against the C library's exponential: within one ulp everywhere, and identical nearly always
// with the GNU library. Under Wine the reference is the Windows toolchain's x87 code, which is
// accurate but rounds differently, so there only the bound is checked.
#ifdef _WIN32
constexpr double kMinExpIdenticalShare = 0.0;
#else
constexpr double kMinExpIdenticalShare = 0.99;
#endif

TEST(FastMath, ExpIsWithinOneUlpOfTheLibrary) {
  const std::vector<double> xs = ExpArguments();
  std::size_t exact = 0, worst = 0;
  for (double x : xs) {
    const double got = ExpDouble(x), want = std::exp(x);
    const auto d = static_cast<std::size_t>(UlpDistance(got, want));
    exact += d == 0;
    worst = std::max(worst, d);
    if (d > 1)
      ADD_FAILURE() << std::hexfloat << x << ": " << got << " instead of " << want;
    if (HasFailure())
      break;
  }
  EXPECT_LE(worst, 1u);
  EXPECT_GE(static_cast<double>(exact) / static_cast<double>(xs.size()), kMinExpIdenticalShare)
      << exact << " of " << xs.size() << " identical";
}

} // namespace

#include "multipointcalibration/BlockCalibrator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#include "fitting/FitType.h"
#include "fitting/Graticule.h"
#include "foundation/FastMath.h"

namespace MPCalibration {
namespace {

// The logarithm of a raw value that is not positive, and that NaN narrowed to a sample.
constexpr std::uint64_t kLogNaNBits = 0x7FF8600000000000ull;
const float kLogNaNSample = static_cast<float>(std::bit_cast<double>(kLogNaNBits));

// Two samples in double precision. Vector types of the compiler (GCC and Clang) rather than
// intrinsics: each lane does exactly the scalar operations, so the results are the same, and
// the code needs no instruction-set header. SSE2, the x86-64 baseline, has them all.
using Tarn::FastMathDetail::Double2;
using Tarn::FastMathDetail::Float2;

inline Double2 Widen2(const float* values) noexcept {
  Float2 f;
  std::memcpy(&f, values, sizeof f);
  return __builtin_convertvector(f, Double2);
}

inline void Narrow2(Double2 y, float* values) noexcept {
  const Float2 f = __builtin_convertvector(y, Float2);
  std::memcpy(values, &f, sizeof f);
}

// Horner's rule from the last coefficient down, unrolled:
// y = (...(c[K-1] x + c[K-2]) x ...) x + c[0].
template <std::size_t K, class T> inline T Horner(const double (&c)[K], T x) noexcept {
  T y;
  if constexpr (std::is_same_v<T, double>)
    y = c[K - 1];
  else
    y = T{c[K - 1], c[K - 1]};
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((y = y * x + c[K - 2 - I]), ...);
  }
  (std::make_index_sequence<K - 1>{});
  return y;
}

// One pass over the block, so each sample is widened, evaluated and narrowed while it sits in
// a register, eight at a time for independent work in flight.
template <std::size_t K>
void HornerFixed(const double* coefficients, float* values, std::size_t count) noexcept {
  double c[K];
  std::copy_n(coefficients, K, c);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const Double2 a = Widen2(values + i), b = Widen2(values + i + 2), d = Widen2(values + i + 4),
                  e = Widen2(values + i + 6);
    Narrow2(Horner(c, a), values + i);
    Narrow2(Horner(c, b), values + i + 2);
    Narrow2(Horner(c, d), values + i + 4);
    Narrow2(Horner(c, e), values + i + 6);
  }
  for (; i < count; ++i)
    values[i] = static_cast<float>(Horner(c, static_cast<double>(values[i])));
}

void HornerAny(const std::vector<double>& c, float* values, std::size_t count) noexcept {
  const std::size_t last = c.size() - 1;
  for (std::size_t i = 0; i < count; ++i) {
    const double x = values[i];
    double y = c[last];
    for (std::size_t k = last; k-- > 0;)
      y = y * x + c[k];
    values[i] = static_cast<float>(y);
  }
}

void LogarithmBlock(double c0, double c1, float* values, std::size_t count) noexcept {
  // Widening a float and narrowing it back is exact, so the sample itself is the argument.
  auto one = [c0, c1](float x) {
    return x > 0.0f ? static_cast<float>(c1 * static_cast<double>(Tarn::LogFloat(x)) + c0)
                    : kLogNaNSample;
  };
  std::size_t i = 0;
  for (; i + 2 <= count; i += 2) {
    const auto ix0 = std::bit_cast<std::uint32_t>(values[i]);
    const auto ix1 = std::bit_cast<std::uint32_t>(values[i + 1]);
    if (Tarn::FastMathDetail::IsPositiveNormal(ix0) &&
        Tarn::FastMathDetail::IsPositiveNormal(ix1)) {
      Narrow2(c1 * Tarn::FastMathDetail::LogOfNormal2(ix0, ix1) + c0, values + i);
    } else {
      values[i] = one(values[i]);
      values[i + 1] = one(values[i + 1]);
    }
  }
  for (; i < count; ++i)
    values[i] = one(values[i]);
}

void ExponentialBlock(double rate, double amplitude, float* values, std::size_t count) noexcept {
  for (std::size_t i = 0; i < count; ++i)
    values[i] =
        static_cast<float>(amplitude * Tarn::ExpDouble(rate * static_cast<double>(values[i])));
}

// The number of keys at or below x, for keys in ascending order padded with NaN to 2^Steps - 1
// entries: each step halves the range with a conditional add instead of a branch, so noisy
// samples cost no mispredictions.
template <int Steps> std::size_t SearchFixed(const double* keys, double x) noexcept {
  std::size_t pos = 0;
  for (std::size_t step = std::size_t{1} << (Steps - 1); step > 0; step >>= 1)
    pos += keys[pos + step - 1] <= x ? step : 0;
  return pos;
}

template <int Steps>
void PointToPointSearch(const double* keys, const double* factors, const double* offsets,
                        float* values, std::size_t count) noexcept {
  auto segment = [keys](double x) -> std::size_t {
    if constexpr (Steps > 0)
      return SearchFixed<Steps>(keys, x);
    static_cast<void>(keys); // a single segment needs no search
    static_cast<void>(x);
    return 0;
  };
  std::size_t i = 0;
  // Two samples per step: their searches overlap, and the lines are evaluated side by side.
  for (; i + 2 <= count; i += 2) {
    const Double2 x = Widen2(values + i);
    const std::size_t s0 = segment(x[0]), s1 = segment(x[1]);
    Narrow2(x * Double2{factors[s0], factors[s1]} + Double2{offsets[s0], offsets[s1]}, values + i);
  }
  for (; i < count; ++i) {
    const double x = values[i];
    const std::size_t s = segment(x);
    values[i] = static_cast<float>(x * factors[s] + offsets[s]);
  }
}

} // namespace

BlockCalibrator::BlockCalibrator() : BlockCalibrator(Linear, {0.0, 1.0}) {}

BlockCalibrator::BlockCalibrator(std::int32_t fitType, std::vector<double> coefficients)
    : fitType_(fitType), coefficients_(std::move(coefficients)) {
  const std::size_t k = coefficients_.size();
  switch (fitType_) {
  case Logarithmic:
    kernel_ = k >= 2 ? Kernel::Logarithm : Kernel::PassThrough;
    break;
  case Exponential:
    kernel_ = k >= 2 ? Kernel::Exponential : Kernel::PassThrough;
    break;
  case PointToPoint:
    kernel_ = k >= 4 ? Kernel::PointToPoint : Kernel::PassThrough;
    if (kernel_ == Kernel::PointToPoint)
      PreparePointToPoint();
    break;
  default:
    kernel_ = k >= 1 ? Kernel::Polynomial : Kernel::PassThrough;
    break;
  }
}

void BlockCalibrator::PreparePointToPoint() {
  const std::size_t points = coefficients_.size() / 2;
  const std::size_t segments = points - 1;
  factors_.resize(segments);
  offsets_.resize(segments);
  for (std::size_t i = 0; i < segments; ++i) {
    // The same two-point map as the fit evaluation's, refusals of empty ranges included.
    GUILib::Graticule map;
    map.SetFromRange(coefficients_[2 * i], coefficients_[2 * i + 2]);
    map.SetToRange(coefficients_[2 * i + 1], coefficients_[2 * i + 3]);
    factors_[i] = map.Factor();
    offsets_[i] = map.Offset();
    if (i > 0)
      breakPoints_.push_back(coefficients_[2 * i]);
  }
  // Strictly ascending and free of NaN, or the search would not find what counting finds.
  ascending_ =
      std::adjacent_find(breakPoints_.begin(), breakPoints_.end(),
                         [](double a, double b) { return !(a < b); }) == breakPoints_.end() &&
      std::none_of(breakPoints_.begin(), breakPoints_.end(),
                   [](double b) { return std::isnan(b); });
  if (!ascending_)
    return;
  searchSteps_ = std::bit_width(breakPoints_.size());
  searchKeys_ = breakPoints_;
  searchKeys_.resize((std::size_t{1} << searchSteps_) - 1,
                     std::numeric_limits<double>::quiet_NaN());
}

void BlockCalibrator::Apply(float* values, std::size_t count) const noexcept {
  switch (kernel_) {
  case Kernel::PassThrough:
    return;
  case Kernel::Polynomial:
    return ApplyPolynomial(values, count);
  case Kernel::Logarithm:
    return LogarithmBlock(coefficients_[0], coefficients_[1], values, count);
  case Kernel::Exponential:
    return ExponentialBlock(coefficients_[0], coefficients_[1], values, count);
  case Kernel::PointToPoint:
    return ApplyPointToPoint(values, count);
  }
}

void BlockCalibrator::ApplyPolynomial(float* values, std::size_t count) const noexcept {
  const double* c = coefficients_.data();
  switch (coefficients_.size()) {
  case 1:
    return HornerFixed<1>(c, values, count);
  case 2:
    return HornerFixed<2>(c, values, count);
  case 3:
    return HornerFixed<3>(c, values, count);
  case 4:
    return HornerFixed<4>(c, values, count);
  case 5:
    return HornerFixed<5>(c, values, count);
  case 6:
    return HornerFixed<6>(c, values, count);
  default:
    return HornerAny(coefficients_, values, count);
  }
}

void BlockCalibrator::ApplyPointToPoint(float* values, std::size_t count) const noexcept {
  const double* factors = factors_.data();
  const double* offsets = offsets_.data();
  if (ascending_) {
    const double* keys = searchKeys_.data();
    switch (searchSteps_) {
    case 0:
      return PointToPointSearch<0>(keys, factors, offsets, values, count);
    case 1:
      return PointToPointSearch<1>(keys, factors, offsets, values, count);
    case 2:
      return PointToPointSearch<2>(keys, factors, offsets, values, count);
    case 3:
      return PointToPointSearch<3>(keys, factors, offsets, values, count);
    case 4:
      return PointToPointSearch<4>(keys, factors, offsets, values, count);
    case 5:
      return PointToPointSearch<5>(keys, factors, offsets, values, count);
    default:
      break;
    }
  }
  // Break points out of order (a damaged text), or very many: count them one by one.
  for (std::size_t i = 0; i < count; ++i) {
    const double x = values[i];
    std::size_t s = 0;
    if (ascending_) {
      s = static_cast<std::size_t>(std::upper_bound(breakPoints_.begin(), breakPoints_.end(), x) -
                                   breakPoints_.begin());
    } else {
      for (const double breakPoint : breakPoints_)
        s += x >= breakPoint ? 1 : 0;
    }
    values[i] = static_cast<float>(x * factors[s] + offsets[s]);
  }
}

} // namespace MPCalibration

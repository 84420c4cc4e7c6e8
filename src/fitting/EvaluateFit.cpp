#include "fitting/EvaluateFit.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>

#include "fitting/FitType.h"
#include "fitting/Graticule.h"
#include "foundation/FastMath.h"

namespace MPCalibration {
namespace {

// The logarithm of a raw value that is not positive.
constexpr std::uint64_t kLogNaNBits = 0x7FF8600000000000ull;

#if defined(__GNUC__) || defined(__clang__)
// Two doubles per SSE2 register, the x86-64 baseline: no instruction beyond it is needed.
#define MPCAL_VECTOR_DOUBLES 1
typedef double Double2 __attribute__((vector_size(16)));
typedef long long Int2 __attribute__((vector_size(16)));

inline Double2 Load2(const double* p) noexcept {
  Double2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void Store2(double* p, Double2 v) noexcept {
  std::memcpy(p, &v, sizeof v);
}
#endif

// Horner's rule with the coefficients in registers, eight values in flight. The operations and
// their order are those of the scalar rule (no contraction, no reassociation), so every value is
// bit for bit what the scalar loop gives.
template <std::size_t K>
void HornerFixed(const double* coefficients, double* values, std::size_t count) noexcept {
  double c[K];
  std::copy_n(coefficients, K, c);
  std::size_t i = 0;
#ifdef MPCAL_VECTOR_DOUBLES
  Double2 cv[K];
  for (std::size_t k = 0; k < K; ++k)
    cv[k] = Double2{c[k], c[k]};
  for (; i + 8 <= count; i += 8) {
    const Double2 x0 = Load2(values + i), x1 = Load2(values + i + 2);
    const Double2 x2 = Load2(values + i + 4), x3 = Load2(values + i + 6);
    Double2 y0 = cv[K - 1], y1 = cv[K - 1], y2 = cv[K - 1], y3 = cv[K - 1];
    for (std::size_t k = K - 1; k-- > 0;) {
      y0 = y0 * x0 + cv[k];
      y1 = y1 * x1 + cv[k];
      y2 = y2 * x2 + cv[k];
      y3 = y3 * x3 + cv[k];
    }
    Store2(values + i, y0);
    Store2(values + i + 2, y1);
    Store2(values + i + 4, y2);
    Store2(values + i + 6, y3);
  }
#endif
  for (; i < count; ++i) {
    const double x = values[i];
    double y = c[K - 1];
    for (std::size_t k = K - 1; k-- > 0;)
      y = y * x + c[k];
    values[i] = y;
  }
}

void Horner(const std::vector<double>& c, double* values, std::size_t count) noexcept {
  switch (c.size()) {
  case 1:
    return HornerFixed<1>(c.data(), values, count);
  case 2:
    return HornerFixed<2>(c.data(), values, count);
  case 3:
    return HornerFixed<3>(c.data(), values, count);
  case 4:
    return HornerFixed<4>(c.data(), values, count);
  case 5:
    return HornerFixed<5>(c.data(), values, count);
  case 6:
    return HornerFixed<6>(c.data(), values, count);
  default:
    break;
  }
  const std::size_t last = c.size() - 1;
  for (std::size_t i = 0; i < count; ++i) {
    const double x = values[i];
    double y = c[last];
    for (std::size_t k = last; k-- > 0;)
      y = y * x + c[k];
    values[i] = y;
  }
}

void EvaluateLogarithm(double c0, double c1, double* values, std::size_t count) noexcept {
  const double nan = std::bit_cast<double>(kLogNaNBits);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = values[i];
    values[i] =
        x > 0.0 ? c1 * static_cast<double>(Tarn::LogFloat(static_cast<float>(x))) + c0 : nan;
  }
}

void EvaluateExponential(double rate, double amplitude, double* values,
                         std::size_t count) noexcept {
  for (std::size_t i = 0; i < count; ++i)
    values[i] = amplitude * Tarn::ExpDouble(rate * values[i]);
}

// Point to point: the segment of a value is the number of inner break points (x1 .. x(m-2)) at
// or below it. For break points in ascending order that is the segment whose interval holds the
// value, with the first segment extended to the left and the last to the right; a NaN counts no
// break point and stays NaN through the first segment's line.
class SegmentTable {
public:
  explicit SegmentTable(const std::vector<double>& c) {
    const std::size_t points = c.size() / 2;
    const std::size_t segments = points - 1;
    lines_.resize(2 * segments);
    inner_.reserve(segments - 1);
    for (std::size_t i = 0; i < segments; ++i) {
      GUILib::Graticule map;
      map.SetFromRange(c[2 * i], c[2 * i + 2]);
      map.SetToRange(c[2 * i + 1], c[2 * i + 3]);
      lines_[2 * i] = map.Factor();
      lines_[2 * i + 1] = map.Offset();
      if (i > 0)
        inner_.push_back(c[2 * i]);
    }
    ascending_ =
        std::adjacent_find(inner_.begin(), inner_.end(), std::greater_equal<>()) == inner_.end();
  }

  void Apply(double* values, std::size_t count) const {
    if (ascending_ && inner_.size() > kCountingLimit)
      ApplyBySearch(values, count);
    else
      ApplyByCounting(values, count);
  }

private:
  static constexpr std::size_t kCountingLimit = 24;

  double Line(std::size_t segment, double x) const noexcept {
    return x * lines_[2 * segment] + lines_[2 * segment + 1];
  }

  // Branch-free: one compare per break point and value, so noisy data costs no mispredictions.
  void ApplyByCounting(double* values, std::size_t count) const {
    std::size_t i = 0;
#ifdef MPCAL_VECTOR_DOUBLES
    std::vector<Double2> breaks;
    breaks.reserve(inner_.size());
    for (const double b : inner_)
      breaks.push_back(Double2{b, b});
    for (; i + 4 <= count; i += 4) {
      const Double2 x0 = Load2(values + i), x1 = Load2(values + i + 2);
      Int2 s0{0, 0}, s1{0, 0};
      for (const Double2& b : breaks) {
        s0 -= x0 >= b; // a true comparison is all ones, -1
        s1 -= x1 >= b;
      }
      values[i] = Line(static_cast<std::size_t>(s0[0]), x0[0]);
      values[i + 1] = Line(static_cast<std::size_t>(s0[1]), x0[1]);
      values[i + 2] = Line(static_cast<std::size_t>(s1[0]), x1[0]);
      values[i + 3] = Line(static_cast<std::size_t>(s1[1]), x1[1]);
    }
#endif
    for (; i < count; ++i) {
      const double x = values[i];
      std::size_t segment = 0;
      for (const double breakPoint : inner_)
        segment += x >= breakPoint ? 1 : 0;
      values[i] = Line(segment, x);
    }
  }

  void ApplyBySearch(double* values, std::size_t count) const noexcept {
    for (std::size_t i = 0; i < count; ++i) {
      const double x = values[i];
      const auto segment = static_cast<std::size_t>(
          std::upper_bound(inner_.begin(), inner_.end(), x) - inner_.begin());
      values[i] = Line(segment, x);
    }
  }

  std::vector<double> lines_; // factor and offset of each segment
  std::vector<double> inner_; // x1 .. x(m-2)
  bool ascending_ = true;
};

} // namespace

void EvaluateFit(std::int32_t fitType, const std::vector<double>& coefficients, double* values,
                 std::size_t count) {
  const std::size_t size = coefficients.size();
  switch (fitType) {
  case Linear:
  case Quadratic:
  case Cubic:
  case Quartic:
  case Quintic:
    if (size >= 1)
      Horner(coefficients, values, count);
    return;
  case Logarithmic:
    if (size >= 2)
      EvaluateLogarithm(coefficients[0], coefficients[1], values, count);
    return;
  case Exponential:
    if (size >= 2)
      EvaluateExponential(coefficients[0], coefficients[1], values, count);
    return;
  case PointToPoint:
    if (size >= 4)
      SegmentTable(coefficients).Apply(values, count);
    return;
  default:
    return;
  }
}

} // namespace MPCalibration

#pragma once
#include <cstddef>
#include <cstdint>

namespace MPCalibration {

// The kind of function fitted; stored as a plain 32-bit integer in the settings record.
enum FitType : std::int32_t {
  Linear = 0,
  Quadratic = 1,
  Cubic = 2,
  Quartic = 3,
  Quintic = 4,
  Logarithmic = 5,
  Exponential = 6,
  PointToPoint = 7,
};

inline constexpr std::int32_t kFitTypeCount = 8;

constexpr bool IsValidFitType(std::int32_t t) noexcept {
  return t >= 0 && t < kFitTypeCount;
}
constexpr bool IsPolynomialFitType(std::int32_t t) noexcept {
  return t >= Linear && t <= Quintic;
}

// Forcing the fit through the origin means something only for a polynomial; the check box keeps
// its state while disabled for the other types, which must not fix their amplitude at 0.
constexpr bool ForceOriginApplies(std::int32_t t, bool forceOriginChecked) noexcept {
  return forceOriginChecked && IsPolynomialFitType(t);
}

// String-table identifiers of the long ("2nd order polynomial (Quadratic)") and short
// ("Quadratic") names.
constexpr std::uint32_t FitTypeLongNameId(std::int32_t t) noexcept {
  return 257u + static_cast<std::uint32_t>(t);
}
constexpr std::uint32_t FitTypeShortNameId(std::int32_t t) noexcept {
  return 265u + static_cast<std::uint32_t>(t);
}

// Minimum number of points for the type; 0 for a type outside 0..7.
constexpr std::size_t MinimumPoints(std::int32_t t) noexcept {
  constexpr std::size_t table[kFitTypeCount] = {2, 3, 4, 5, 6, 2, 2, 2};
  return IsValidFitType(t) ? table[t] : 0;
}

} // namespace MPCalibration

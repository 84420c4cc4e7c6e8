#include "multipointcalibration/CalibrationSettings.h"

#include <algorithm>
#include <cfloat>

#include "multipointcalibration/ParameterText.h"

namespace MPCalibration {

namespace {
// UTF-16 order of one code point: supplementary characters come right after U+D7FF (where
// their surrogates would be), before U+E000..U+FFFF.
std::uint32_t Utf16Rank(wchar_t c) noexcept {
  const auto u = static_cast<std::uint32_t>(c);
  if (u >= 0x10000u) {
    return 0xD800u + ((u - 0x10000u) >> 10); // its lead surrogate
  }
  return u;
}

// Prefix indexes 1 and 8 both mean "no prefix".
std::int32_t NormalizedPrefix(std::int32_t prefixIndex) noexcept {
  return prefixIndex == 1 ? 8 : prefixIndex;
}

// `incoming` is the new record's unit, `current` the one it would replace.
bool UnitsEqualForApply(const Tarn::UnitInfo& incoming, const Tarn::UnitInfo& current) noexcept {
  if (incoming.name.empty()) {
    return current.name.empty();
  }
  return incoming.name == current.name &&
         NormalizedPrefix(incoming.prefixIndex) == NormalizedPrefix(current.prefixIndex) &&
         incoming.unitKind == current.unitKind;
}
} // namespace

bool Utf16Less::operator()(const std::wstring& a, const std::wstring& b) const noexcept {
  if constexpr (sizeof(wchar_t) == 2) {
    return a < b;
  } else {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
          const auto rx = Utf16Rank(x), ry = Utf16Rank(y);
          return rx != ry ? rx < ry : static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(y);
        });
  }
}

CalibrationSettings::CalibrationSettings() : rangeTop(DBL_MAX), rangeBottom(-DBL_MAX) {
  // The range starts at the extremes and is cleared before any caller sees the record.
  rangeTop = 0.0;
  rangeBottom = 0.0;
}

bool CalibrationSettings::EqualsForApply(const CalibrationSettings& other) const {
  // `this` is the new record, `other` the current one: only an empty new unit name ignores the
  // rest of the unit.
  return showCalculated == other.showCalculated && sourceChannel == other.sourceChannel &&
         decimalPlaces == other.decimalPlaces && forceOrigin == other.forceOrigin &&
         fitType == other.fitType && rawValues == other.rawValues &&
         calibratedValues == other.calibratedValues && UnitsEqualForApply(unit, other.unit) &&
         stringSet.size() == other.stringSet.size() &&
         std::equal(stringSet.begin(), stringSet.end(), other.stringSet.begin());
}

std::wstring CalibrationSettings::ToParameterText() const {
  return MPCalibration::ToParameterText(*this);
}

} // namespace MPCalibration

#include "multipointcalibration/CalibrationSettings.h"

#include <algorithm>
#include <cfloat>

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

} // namespace MPCalibration

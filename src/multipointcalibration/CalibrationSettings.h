#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fitting/FitRecord.h"
#include "units/UnitInfo.h"

namespace MPCalibration {

// Orders strings by UTF-16 code unit, as the host does, also where wchar_t is 32 bits wide
// (a supplementary character sorts as its lead surrogate would).
struct Utf16Less {
  bool operator()(const std::wstring& a, const std::wstring& b) const noexcept;
};

// The value record of one channel's calibration: its fit (points, type, results) and how the
// channel is shown. Copies are deep; the dialogs edit a copy and assign it back on OK.
class CalibrationSettings : public FitRecord {
public:
  CalibrationSettings();
  CalibrationSettings(const CalibrationSettings&) = default;
  CalibrationSettings& operator=(const CalibrationSettings&) = default;
  CalibrationSettings(CalibrationSettings&&) noexcept = default;
  CalibrationSettings& operator=(CalibrationSettings&&) noexcept = default;

  // The comparison made when settings are applied, called on the new record with the current
  // one as `other`: coefficients, fitError, sumSquaredError and the display range do not take
  // part; an empty new unit name matches only an empty current name, other units compare by
  // name, prefix (1 and 8 both meaning none) and kind.
  bool EqualsForApply(const CalibrationSettings& other) const;

  // The tab-separated parameter text (classic locale, 6 significant digits); see ParameterText.h.
  std::wstring ToParameterText() const;

  bool showCalculated = false;
  std::int32_t sourceChannel = -1;
  std::int32_t decimalPlaces = 3;
  Tarn::UnitInfo unit;
  double rangeTop;
  double rangeBottom;
  std::set<std::wstring, Utf16Less> stringSet;
};

} // namespace MPCalibration

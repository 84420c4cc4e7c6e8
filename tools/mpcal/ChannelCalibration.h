#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "multipointcalibration/BlockCalibrator.h"

namespace MPCalibration {
class CalibrationSettings;
}

namespace MPCalTool {

// The calibration a channel computes with: what the host's enumerator takes from a parameter
// text (fit type, unit and coefficients, the coefficients rounded to the 6 significant digits
// of the text) and the block calibrator that evaluates it on float samples.
class ChannelCalibration {
public:
  // Reads the head of a parameter text as the enumerator does: fit type, force origin, unit
  // token, placeholder, sum of squared errors, the coefficient count and the coefficients. The
  // enumerator would compute on with whatever it could read; here a text that does not hold
  // these items in full is refused with a ToolError, as it can only be a mistake on the command
  // line (tabs lost by the shell, a truncated copy).
  static ChannelCalibration FromParameterText(std::wstring_view text);

  // Loads a settings file (the typed-item form of the persisted settings) and takes the
  // parameter text the host would hand to its enumerators. ToolError for an unreadable or
  // damaged file.
  static ChannelCalibration FromSettingsFile(const std::filesystem::path& path);

  // Writes `settings` as a settings file, replacing any previous file only when complete.
  static void SaveSettingsFile(const MPCalibration::CalibrationSettings& settings,
                               const std::filesystem::path& path);

  const MPCalibration::BlockCalibrator& Calibrator() const noexcept { return calibrator_; }
  const std::wstring& UnitName() const noexcept { return unitName_; }
  const std::wstring& ParameterText() const noexcept { return parameterText_; }

  // The whole record the parameter text carries, points included; none when the text ends
  // after the coefficients.
  MPCalibration::CalibrationSettings Record() const;

private:
  MPCalibration::BlockCalibrator calibrator_;
  std::wstring unitName_;
  std::wstring parameterText_;
};

} // namespace MPCalTool

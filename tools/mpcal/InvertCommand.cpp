#include <algorithm>
#include <cmath>
#include <ostream>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "NumberText.h"
#include "ToolError.h"
#include "fitting/FitInverse.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalTool {

int RunInvert(std::span<const std::string> args, std::ostream& out) {
  const Arguments options(args, {}, {"params", "settings", "value"});
  const std::string* params = options.Value("params");
  const std::string* settingsPath = options.Value("settings");
  if ((params != nullptr) == (settingsPath != nullptr))
    throw ToolError("give either --params TEXT or --settings FILE");
  double value = 0;
  const std::string& valueText = options.Required("value");
  if (!ParseNumber(valueText, value) || !std::isfinite(value))
    throw ToolError("--value: \"" + valueText + "\" is not a finite number");

  // The coefficients as the channel computes with them: those of the parameter text.
  const ChannelCalibration calibration =
      params ? ChannelCalibration::FromParameterText(Tarn::FromUtf8(*params))
             : ChannelCalibration::FromSettingsFile(*settingsPath);
  const MPCalibration::CalibrationSettings settings = calibration.Record();
  if (settings.PointCount() == 0)
    throw ToolError("the calibration holds no points, so it has no calibrated range");

  const std::vector<double> raw = MPCalibration::RawValuesFor(settings, value);
  const auto [lo, hi] = std::minmax_element(settings.rawValues.begin(),
                                            settings.rawValues.begin() + settings.PointCount());
  std::string line;
  if (raw.size() == 1) {
    AppendShortestDouble(line, raw[0]);
    out << line << '\n';
    return kExitOk;
  }
  if (raw.empty()) {
    line = "none: the curve does not reach " + valueText + " between raw ";
    AppendShortestDouble(line, *lo);
    line += " and ";
    AppendShortestDouble(line, *hi);
  } else {
    line = "more than one:";
    for (const double x : raw) {
      line += ' ';
      AppendShortestDouble(line, x);
    }
  }
  out << line << '\n';
  return kExitRefused;
}

} // namespace MPCalTool

#include <algorithm>
#include <optional>
#include <ostream>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "RecordingConverter.h"
#include "ToolError.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalTool {
namespace {

RangeGuard::Policy ParseOutsidePolicy(const std::string* text) {
  if (text == nullptr || *text == "keep")
    return RangeGuard::Policy::Keep;
  if (*text == "clamp")
    return RangeGuard::Policy::Clamp;
  if (*text == "nan")
    return RangeGuard::Policy::NaN;
  throw ToolError("--outside: \"" + *text + "\" is not keep, clamp or nan");
}

} // namespace

int RunApply(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const Arguments options(args, {"no-calibrate"},
                          {"params", "settings", "in", "out", "columns", "outside"});
  const std::string* params = options.Value("params");
  const std::string* settings = options.Value("settings");
  if ((params != nullptr) == (settings != nullptr))
    throw ToolError("give either --params TEXT or --settings FILE");
  const std::string& input = options.Required("in");
  const std::string& output = options.Required("out");
  ColumnChoice columns;
  if (const std::string* list = options.Value("columns"))
    columns.list = *list;

  const ChannelCalibration calibration =
      params ? ChannelCalibration::FromParameterText(Tarn::FromUtf8(*params))
             : ChannelCalibration::FromSettingsFile(*settings);
  const bool calibrate = !options.Has("no-calibrate");
  std::optional<RangeGuard> guard;
  const MPCalibration::CalibrationSettings record = calibration.Record();
  const RangeGuard::Policy policy = ParseOutsidePolicy(options.Value("outside"));
  if (calibrate && record.PointCount() > 0) {
    const auto [lo, hi] = std::minmax_element(record.rawValues.begin(),
                                              record.rawValues.begin() + record.PointCount());
    guard = RangeGuard{*lo, *hi, policy};
  }
  const RecordingConverter converter(calibration.Calibrator(), columns, calibrate, guard);
  const ConversionSummary summary = converter.Convert(input, output);
  out << output << ": " << summary.rows << " rows, " << summary.samples << " samples in "
      << summary.columns << " column" << (summary.columns == 1 ? "" : "s")
      << (options.Has("no-calibrate") ? " copied without calibration" : " calibrated") << '\n';
  for (const OutsideCount& column : summary.outside)
    err << column.column << ": " << column.samples << " sample" << (column.samples == 1 ? "" : "s")
        << " outside the calibrated range\n";
  return kExitOk;
}

} // namespace MPCalTool

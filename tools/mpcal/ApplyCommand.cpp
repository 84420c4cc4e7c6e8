#include <ostream>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "RecordingConverter.h"
#include "ToolError.h"
#include "foundation/Utf8.h"

namespace MPCalTool {

int RunApply(std::span<const std::string> args, std::ostream& out) {
  const Arguments options(args, {"no-calibrate"}, {"params", "settings", "in", "out", "columns"});
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
  const RecordingConverter converter(calibration.Calibrator(), columns,
                                     !options.Has("no-calibrate"));
  const ConversionSummary summary = converter.Convert(input, output);
  out << output << ": " << summary.rows << " rows, " << summary.samples << " samples in "
      << summary.columns << " column" << (summary.columns == 1 ? "" : "s")
      << (options.Has("no-calibrate") ? " copied without calibration" : " calibrated") << '\n';
  return kExitOk;
}

} // namespace MPCalTool

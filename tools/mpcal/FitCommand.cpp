#include <array>
#include <locale>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "FitReport.h"
#include "JsonWriter.h"
#include "PointsFile.h"
#include "ReplacingFile.h"
#include "SvgPlot.h"
#include "ToolError.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalTool {
namespace {

constexpr std::array<std::string_view, MPCalibration::kFitTypeCount> kFitTypeNames = {
    "linear",  "quadratic",   "cubic",       "quartic",
    "quintic", "logarithmic", "exponential", "point-to-point"};

} // namespace

std::int32_t ParseFitType(std::string_view text) {
  for (std::size_t i = 0; i < kFitTypeNames.size(); ++i) {
    if (text == kFitTypeNames[i] || (text.size() == 1 && text[0] == static_cast<char>('0' + i)))
      return static_cast<std::int32_t>(i);
  }
  std::string known;
  for (const std::string_view name : kFitTypeNames)
    known += std::string(name) + ", ";
  throw ToolError("unknown fit type \"" + std::string(text) + "\" (use " + known + "or 0..7)");
}

int RunFit(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const Arguments options(args, {"force-origin", "as-given", "json"},
                          {"type", "points", "save", "unit", "raw-unit", "plot"});
  MPCalibration::CalibrationSettings settings;
  settings.fitType = ParseFitType(options.Required("type"));
  settings.forceOrigin = options.Has("force-origin");
  const std::string& pointsPath = options.Required("points");
  if (const std::string* unit = options.Value("unit"))
    settings.unit.name = Tarn::FromUtf8(*unit);
  const bool asGiven = options.Has("as-given");

  PointsFile::Collect(PointsFile::Read(pointsPath), pointsPath, asGiven, settings);
  // As the dialog does before fitting; --as-given leaves even this to the engine.
  if (!asGiven && !MPCalibration::HasEnoughPoints(settings))
    throw ToolError(Tarn::ToUtf8(Tarn::ModuleString(275)), kExitRefused);

  const bool fitted = MPCalibration::Fit(settings);
  // The record the dialog hands back on OK shows calibrated values.
  settings.showCalculated = true;
  const std::wstring name = Tarn::ModuleString(MPCalibration::FitTypeLongNameId(settings.fitType));
  // Read by programs: the classic locale whatever the process uses.
  const std::wstring equation = MPCalibration::FormatEquation(settings, std::locale::classic());
  const std::wstring fitErrorText = MPCalibration::FormatFitError(settings, std::locale::classic());
  const std::wstring parameterText = settings.ToParameterText();

  if (options.Has("json")) {
    JsonWriter json;
    json.Member("fitType", static_cast<int>(settings.fitType));
    json.Member("fitName", std::wstring_view(name));
    json.Member("forceOrigin", settings.forceOrigin);
    json.Member("result", fitted);
    json.Member("coefficients", settings.coefficients);
    json.Member("fitError", settings.fitError);
    json.Member("sumSquaredError", settings.sumSquaredError);
    json.Member("equation", std::wstring_view(equation));
    json.Member("fitErrorText", std::wstring_view(fitErrorText));
    json.Member("parameterText", std::wstring_view(parameterText));
    if (fitted)
      FitReport(settings, Tarn::ToUtf8(settings.unit.name)).WriteJson(json);
    out << json.Finish();
  } else if (fitted) {
    out << Tarn::ToUtf8(name) << '\n'
        << Tarn::ToUtf8(equation) << '\n'
        << Tarn::ToUtf8(fitErrorText) << '\n'
        << Tarn::ToUtf8(parameterText) << '\n';
    FitReport(settings, Tarn::ToUtf8(settings.unit.name)).WriteText(out);
  }
  out.flush();
  if (!fitted)
    throw ToolError(Tarn::ToUtf8(Tarn::ModuleString(273)), kExitRefused);
  if (const std::string* plot = options.Value("plot")) {
    const std::string* rawUnit = options.Value("raw-unit");
    ReplacingFile file(*plot);
    file.Write(
        SvgPlot(settings, rawUnit ? *rawUnit : std::string(), Tarn::ToUtf8(settings.unit.name))
            .Render());
    file.Commit();
    err << "plot written to " << *plot << '\n';
  }
  if (const std::string* save = options.Value("save")) {
    ChannelCalibration::SaveSettingsFile(settings, *save);
    err << "settings written to " << *save << '\n';
  }
  return kExitOk;
}

} // namespace MPCalTool

#include "ChannelCalibration.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "ReplacingFile.h"
#include "ToolError.h"
#include "foundation/ItemFile.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ParameterText.h"
#include "multipointcalibration/SettingsPersistence.h"

namespace MPCalTool {

ChannelCalibration ChannelCalibration::FromParameterText(std::wstring_view text) {
  MPCalibration::ParameterTextReader reader(text);
  std::int32_t fitType = 0;
  bool forceOrigin = false;
  std::wstring unit;
  double placeholder = 0.0;
  double sumSquaredError = 0.0;
  std::vector<double> coefficients;
  const char* failed = nullptr;
  if (!reader.ReadInt(fitType))
    failed = "the fit type";
  else if (!reader.ReadBool(forceOrigin))
    failed = "the force-origin flag";
  else if (!reader.ReadUnitToken(unit))
    failed = "the unit name";
  else if (!reader.ReadNumber(placeholder) || !reader.ReadNumber(sumSquaredError))
    failed = "the numbers after the unit name";
  else if (!reader.ReadNumbers(coefficients))
    failed = "the coefficients";
  if (failed)
    throw ToolError(std::string("the parameter text cannot be read at ") + failed +
                    " (its items must be separated by tabs)");
  ChannelCalibration result;
  result.calibrator_ = MPCalibration::BlockCalibrator(fitType, std::move(coefficients));
  result.unitName_ = std::move(unit);
  result.parameterText_ = std::wstring(text);
  return result;
}

ChannelCalibration ChannelCalibration::FromSettingsFile(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(path, ec))
    throw ToolError(name + ": cannot open the file for reading");
  // Settings files hold a few hundred bytes; a file far beyond that is not one.
  constexpr std::uintmax_t kMaxSize = std::uintmax_t{64} << 20;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxSize)
    throw ToolError(name + ": not a settings file");
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (in.bad())
    throw ToolError(name + ": read error");
  Tarn::ItemFileReader reader(bytes);
  MPCalibration::CalibrationSettings settings;
  const Tarn::HResult status = MPCalibration::LoadSettings(reader, settings);
  if (status < 0 || !reader.AtEnd())
    throw ToolError(name + ": not a settings file, or a damaged one");
  return FromParameterText(settings.ToParameterText());
}

void ChannelCalibration::SaveSettingsFile(const MPCalibration::CalibrationSettings& settings,
                                          const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  Tarn::ItemFileWriter writer(bytes);
  if (MPCalibration::SaveSettings(writer, settings) < 0)
    throw ToolError(path.string() + ": the settings could not be written");
  ReplacingFile file(path);
  file.Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  file.Commit();
}

MPCalibration::CalibrationSettings ChannelCalibration::Record() const {
  MPCalibration::CalibrationSettings settings;
  // The channel needs only the head; a text cut short after it simply carries no points.
  if (MPCalibration::ReadParameterText(parameterText_, settings) !=
      MPCalibration::ParameterTextResult::Complete) {
    settings.rawValues.clear();
    settings.calibratedValues.clear();
  }
  return settings;
}

} // namespace MPCalTool

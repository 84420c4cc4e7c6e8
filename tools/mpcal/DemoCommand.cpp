#include <algorithm>
#include <cmath>
#include <filesystem>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "DelimitedLine.h"
#include "DemoRecording.h"
#include "FitReport.h"
#include "LineReader.h"
#include "NumberText.h"
#include "PointsFile.h"
#include "RecordingConverter.h"
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

// The second column of a calibrated recording, read back as the host would display it.
std::vector<float> ReadCalibratedColumn(const std::filesystem::path& path) {
  LineReader reader(path);
  std::vector<float> values;
  std::vector<std::string_view> lines;
  std::vector<Field> fields;
  bool header = true;
  while (reader.NextBatch(lines)) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (std::exchange(header, false))
        continue;
      double value = 0.0;
      if (!DelimitedLine::Split(lines[i], ',', fields) || fields.size() != 2 ||
          !ParseNumber(DelimitedLine::Text(lines[i], fields[1]), value))
        throw ToolError(path.string() + ":" + std::to_string(reader.FirstLineNumber() + i) +
                        ": unexpected line in the calibrated recording");
      values.push_back(static_cast<float>(value));
    }
  }
  return values;
}

std::string Fixed(double value, int decimals) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.setf(std::ios::fixed);
  text.precision(decimals);
  text << value;
  return text.str();
}

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width)
    text.insert(0, width - text.size(), ' ');
  return text;
}

} // namespace

int RunDemo(std::span<const std::string> args, std::ostream& out) {
  const Arguments options(args, {}, {"out"});
  const std::filesystem::path dir = options.Value("out") ? *options.Value("out") : "mpcal-demo";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir))
    throw ToolError(dir.string() + ": cannot create the folder");
  const std::filesystem::path recordingPath = dir / "recording.csv";
  const std::filesystem::path pointsPath = dir / "points.csv";
  const std::filesystem::path settingsPath = dir / "calibration.mpcal";
  const std::filesystem::path calibratedPath = dir / "calibrated.csv";
  const std::filesystem::path reportPath = dir / "report.txt";
  const std::filesystem::path plotPath = dir / "calibration.svg";

  const DemoRecording recording;
  recording.Write(recordingPath);

  // The calibration points: the mean of each flat stretch, paired with its known pressure.
  std::vector<CalibrationPoint> points;
  std::string pointsText =
      "# mean of a flat stretch (V), known pressure (kPa)\nRaw (V),Pressure (kPa)\n";
  for (const FlatStretch& s : recording.Stretches()) {
    double sum = 0.0;
    for (std::size_t i = s.first; i < s.last; ++i)
      sum += recording.Volts()[i];
    CalibrationPoint p;
    p.raw = sum / static_cast<double>(s.last - s.first);
    p.calibrated = s.pressure;
    p.line = points.size() + 3;
    points.push_back(p);
    AppendShortestDouble(pointsText, p.raw);
    pointsText += ',';
    AppendShortestDouble(pointsText, p.calibrated);
    pointsText += '\n';
  }
  {
    ReplacingFile file(pointsPath);
    file.Write(pointsText);
    file.Commit();
  }

  MPCalibration::CalibrationSettings settings;
  settings.fitType = MPCalibration::Quadratic;
  settings.unit.name = L"kPa";
  PointsFile::Collect(points, pointsPath, false, settings);
  if (!MPCalibration::HasEnoughPoints(settings))
    throw ToolError(Tarn::ToUtf8(Tarn::ModuleString(275)), kExitRefused);
  if (!MPCalibration::Fit(settings))
    throw ToolError(Tarn::ToUtf8(Tarn::ModuleString(273)), kExitRefused);
  settings.showCalculated = true;
  ChannelCalibration::SaveSettingsFile(settings, settingsPath);

  // Calibrate as the host would: from the stored settings, through their parameter text.
  const ChannelCalibration calibration = ChannelCalibration::FromSettingsFile(settingsPath);
  const auto [rawLo, rawHi] =
      std::minmax_element(settings.rawValues.begin(), settings.rawValues.end());
  const ConversionSummary summary =
      RecordingConverter(calibration.Calibrator(), ColumnChoice{}, true,
                         RangeGuard{*rawLo, *rawHi, RangeGuard::Policy::Keep})
          .Convert(recordingPath, calibratedPath);
  const std::vector<float> calibrated = ReadCalibratedColumn(calibratedPath);
  if (calibrated.size() != recording.Volts().size())
    throw ToolError(calibratedPath.string() + ": the calibrated recording is incomplete");

  const FitReport fitReport(settings, "kPa");
  std::string report;
  report += "Multipoint Calibration demo: pressure transducer, " +
            std::to_string(recording.Volts().size()) + " samples at " +
            Fixed(DemoRecording::kSampleRate, 0) + " Hz\n\n";
  report += "Calibration points (mean of each flat stretch):\n";
  report += "      raw (V)   known (kPa)   fitted (kPa)   residual (kPa)   % of FS\n";
  for (std::size_t i = 0; i < settings.PointCount(); ++i) {
    float sample = static_cast<float>(settings.rawValues[i]);
    calibration.Calibrator().Apply(&sample, 1);
    report += Padded(Fixed(settings.rawValues[i], 6), 13) +
              Padded(Fixed(settings.calibratedValues[i], 3), 14) + Padded(Fixed(sample, 3), 15) +
              Padded(Fixed(sample - settings.calibratedValues[i], 4), 17) +
              Padded(Fixed(fitReport.Statistics().PercentOfFullScale(sample -
                                                                     settings.calibratedValues[i]),
                           3),
                     10) +
              "\n";
  }
  report += "\nFit:            " +
            Tarn::ToUtf8(Tarn::ModuleString(MPCalibration::FitTypeLongNameId(settings.fitType))) +
            "\n";
  report += "Equation:       " +
            Tarn::ToUtf8(MPCalibration::FormatEquation(settings, std::locale::classic())) + "\n";
  report += "Fit error:      " +
            Tarn::ToUtf8(MPCalibration::FormatFitError(settings, std::locale::classic())) + "\n";
  std::string parameterText = Tarn::ToUtf8(calibration.ParameterText());
  for (char& c : parameterText) {
    if (c == '\t')
      c = ' ';
  }
  report += "Parameter text: " + parameterText + "(tab separated)\n";
  std::ostringstream summaryText;
  fitReport.WriteSummary(summaryText);
  report += summaryText.str() + "\n";

  report += "Calibrated recording against the pressure at the transducer:\n";
  for (const FlatStretch& s : recording.Stretches()) {
    double sum = 0.0;
    for (std::size_t i = s.first; i < s.last; ++i)
      sum += calibrated[i];
    report += "  flat stretch at " + Padded(Fixed(s.pressure, 0), 3) + " kPa: mean " +
              Padded(Fixed(sum / static_cast<double>(s.last - s.first), 3), 8) + " kPa\n";
  }
  double worst = 0.0;
  double squares = 0.0;
  const std::size_t start = recording.MeasurementStart();
  for (std::size_t i = start; i < calibrated.size(); ++i) {
    const double error = calibrated[i] - recording.Pressure()[i];
    worst = std::max(worst, std::fabs(error));
    squares += error * error;
  }
  const double rms = std::sqrt(squares / static_cast<double>(calibrated.size() - start));
  report += "  pulsating part (" + std::to_string(calibrated.size() - start) +
            " samples): RMS error " + Fixed(rms, 3) + " kPa, largest " + Fixed(worst, 3) + " kPa\n";
  report += "  samples outside the calibrated range (extrapolated): " +
            std::to_string(summary.outside.empty() ? 0 : summary.outside[0].samples) + "\n";
  {
    ReplacingFile file(plotPath);
    file.Write(SvgPlot(settings, "V", "kPa").Render());
    file.Commit();
  }
  {
    ReplacingFile file(reportPath);
    file.Write(report);
    file.Commit();
  }

  out << report << "\nFiles (" << summary.rows << " rows calibrated):\n"
      << "  raw recording         " << recordingPath.string() << "\n"
      << "  calibration points    " << pointsPath.string() << "\n"
      << "  settings              " << settingsPath.string() << "\n"
      << "  calibrated recording  " << calibratedPath.string() << "\n"
      << "  report                " << reportPath.string() << "\n"
      << "  plot                  " << plotPath.string() << "\n";
  return kExitOk;
}

} // namespace MPCalTool

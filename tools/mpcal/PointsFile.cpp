#include "PointsFile.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "DelimitedLine.h"
#include "LineReader.h"
#include "NumberText.h"
#include "ToolError.h"
#include "foundation/ModuleStrings.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalTool {
namespace {

std::string Where(const std::string& file, std::uint64_t line) {
  return file + ":" + std::to_string(line) + ": ";
}

bool AllNumeric(std::string_view line, const std::vector<Field>& fields) {
  double value = 0.0;
  return std::all_of(fields.begin(), fields.end(), [&](const Field& f) {
    return ParseNumber(DelimitedLine::Text(line, f), value);
  });
}

} // namespace

std::vector<CalibrationPoint> PointsFile::Read(const std::filesystem::path& path) {
  LineReader reader(path);
  const std::string& name = reader.DisplayName();
  std::vector<CalibrationPoint> points;
  std::vector<std::string_view> lines;
  std::vector<Field> fields;
  bool sawContent = false;
  bool sawAnything = false;
  char separator = ',';
  while (reader.NextBatch(lines)) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string_view line = lines[i];
      const std::uint64_t number = reader.FirstLineNumber() + i;
      sawAnything = sawAnything || !line.empty();
      if (DelimitedLine::IsSkippable(line))
        continue;
      if (!sawContent)
        separator = DelimitedLine::DetectSeparator(line);
      if (!DelimitedLine::Split(line, separator, fields))
        throw ToolError(Where(name, number) + "a quoted field is not closed");
      while (fields.size() > 2 && DelimitedLine::Text(line, fields.back()).empty())
        fields.pop_back();
      if (!sawContent) {
        sawContent = true;
        if (!AllNumeric(line, fields))
          continue; // the header line
      }
      if (fields.size() != 2)
        throw ToolError(Where(name, number) + "expected 2 fields (raw value, calibrated value), " +
                        "found " + std::to_string(fields.size()));
      CalibrationPoint point;
      point.line = number;
      double* targets[2] = {&point.raw, &point.calibrated};
      for (std::size_t column = 0; column < 2; ++column) {
        const std::string text = DelimitedLine::Text(line, fields[column]);
        if (!ParseNumber(text, *targets[column]))
          throw ToolError(Where(name, number) + "column " + std::to_string(column + 1) + ": \"" +
                          text + "\" is not a number");
      }
      points.push_back(point);
    }
  }
  if (!sawAnything)
    throw ToolError(name + ": the file is empty");
  if (points.empty())
    throw ToolError(name + ": the file holds no calibration points");
  return points;
}

void PointsFile::Collect(const std::vector<CalibrationPoint>& points,
                         const std::filesystem::path& path, bool asGiven,
                         MPCalibration::CalibrationSettings& settings) {
  std::vector<CalibrationPoint> ordered = points;
  if (!asGiven) {
    for (const CalibrationPoint& p : ordered) {
      if (!std::isfinite(p.raw) || !std::isfinite(p.calibrated))
        throw ToolError(Where(path.string(), p.line) +
                        "a calibration point must be finite (use --as-given to pass it on)");
    }
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const CalibrationPoint& a, const CalibrationPoint& b) { return a.raw < b.raw; });
    const auto repeated = std::adjacent_find(
        ordered.begin(), ordered.end(),
        [](const CalibrationPoint& a, const CalibrationPoint& b) { return a.raw == b.raw; });
    if (repeated != ordered.end())
      throw ToolError(Tarn::ToUtf8(Tarn::ModuleString(277)) + " (" + path.string() + ", lines " +
                          std::to_string(std::min(repeated->line, (repeated + 1)->line)) + " and " +
                          std::to_string(std::max(repeated->line, (repeated + 1)->line)) + ")",
                      1);
  }
  settings.rawValues.clear();
  settings.calibratedValues.clear();
  for (const CalibrationPoint& p : ordered) {
    settings.rawValues.push_back(p.raw);
    settings.calibratedValues.push_back(p.calibrated);
  }
}

} // namespace MPCalTool

#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace MPCalibration {
class CalibrationSettings;
}

namespace MPCalTool {

// One calibration point as read, with the line it came from.
struct CalibrationPoint {
  double raw = 0.0;
  double calibrated = 0.0;
  std::uint64_t line = 0;
};

// A file of calibration points: CSV or TSV, one point per line (raw value, calibrated value),
// '#' comments and blank lines allowed, and a header line when the first content line is not
// numeric.
class PointsFile {
public:
  // Reads every point in file order, NaN and repeats included. ToolError (naming file, line and
  // column) for an unreadable file, a field that is not a number, a line without exactly two
  // fields, and a file without points.
  static std::vector<CalibrationPoint> Read(const std::filesystem::path& path);

  // Puts the points into the record the way the calibration dialog collects its rows: ascending
  // by raw value, a repeated raw value refused (with the dialog's text), and a value that is not
  // finite refused, since no row of the dialog can hold one. With `asGiven` the points go into
  // the record unchanged, in file order.
  static void Collect(const std::vector<CalibrationPoint>& points,
                      const std::filesystem::path& path, bool asGiven,
                      MPCalibration::CalibrationSettings& settings);
};

} // namespace MPCalTool

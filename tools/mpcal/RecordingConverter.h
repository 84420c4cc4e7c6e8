#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "multipointcalibration/BlockCalibrator.h"

namespace MPCalTool {

// Which columns of a recording are calibrated: by default every column but the first (exported
// recordings start with their time axis), or the only column of a one-column file. A list names
// columns by 1-based number, by range ("2-4") or by header text, separated by commas; an empty
// list calibrates nothing and copies the file.
struct ColumnChoice {
  std::optional<std::string> list; // none: the default
};

// The calibrated raw range (the smallest to the largest raw point) and what to write for a
// sample outside it: the extrapolated value as the channel computes it, the value at the nearer
// end of the range, or NaN.
struct RangeGuard {
  enum class Policy { Keep, Clamp, NaN };
  double lowest = 0.0;
  double highest = 0.0;
  Policy policy = Policy::Keep;
};

// How many samples of one chosen column lay outside the calibrated range.
struct OutsideCount {
  std::string column; // "column 2" or "column 2 ("p (kPa)")"
  std::uint64_t samples = 0;
};

// What a conversion did.
struct ConversionSummary {
  std::uint64_t lines = 0;           // lines of the input, of every kind
  std::uint64_t rows = 0;            // data lines (not header, comment or blank)
  std::uint64_t samples = 0;         // fields calibrated (empty fields excluded)
  std::size_t columns = 0;           // columns chosen
  double calibrationSeconds = 0.0;   // time spent in the calibrator itself
  std::vector<OutsideCount> outside; // per chosen column, with a range guard only
};

// Streams a CSV or TSV recording through the channel arithmetic: every chosen field is read as a
// double, narrowed to float as the host's channels hold it, calibrated in blocks and written as
// the shortest text that reads back as the same float. Everything else (other columns, the
// header line, comments, blank lines) is copied unchanged; line ends become "\n". Memory stays
// bounded by the reader's chunk whatever the file's length. The output appears only when
// complete (ReplacingFile); on any error it is left as it was.
class RecordingConverter {
public:
  // `calibrate` false reads and writes the chosen columns as floats without calibrating them:
  // the cost of the text handling alone, to set against a real conversion.
  RecordingConverter(MPCalibration::BlockCalibrator calibrator, ColumnChoice columns,
                     bool calibrate = true, std::optional<RangeGuard> guard = std::nullopt)
      : calibrator_(std::move(calibrator)), columns_(std::move(columns)), calibrate_(calibrate),
        guard_(guard) {}

  // Throws ToolError (naming file, line and column) on a field that is not a number, a line
  // that lacks a chosen column, an unknown column and any read or write failure.
  ConversionSummary Convert(const std::filesystem::path& input,
                            const std::filesystem::path& output) const;

private:
  MPCalibration::BlockCalibrator calibrator_;
  ColumnChoice columns_;
  bool calibrate_;
  std::optional<RangeGuard> guard_;
};

} // namespace MPCalTool

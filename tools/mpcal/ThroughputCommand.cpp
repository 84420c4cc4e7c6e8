#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>

#include "Arguments.h"
#include "ChannelCalibration.h"
#include "Commands.h"
#include "DemoRecording.h"
#include "NumberText.h"
#include "RecordingConverter.h"
#include "ReplacingFile.h"
#include "ToolError.h"

namespace MPCalTool {
namespace {

// Removes the generated files however the measurement ends.
struct RemoveOnExit {
  std::filesystem::path path;
  ~RemoveOnExit() {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
};

std::string Fixed3(double value) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.setf(std::ios::fixed);
  text.precision(3);
  text << value;
  return text.str();
}

void WriteRecording(const std::filesystem::path& path, std::uint64_t rows) {
  ReplacingFile file(path);
  file.Write("Time (s),A (V),B (V),C (V)\n");
  std::string& buffer = file.Buffer();
  NoiseSource noise(7);
  for (std::uint64_t i = 0; i < rows; ++i) {
    AppendShortestDouble(buffer, static_cast<double>(i) * 1e-3);
    for (int c = 0; c < 3; ++c) {
      buffer += ',';
      AppendShortestFloat(buffer, static_cast<float>(0.5 + 4.0 * noise.NextUniform()));
    }
    buffer += '\n';
    file.FlushIfFull();
  }
  file.Commit();
}

} // namespace

int RunThroughput(std::span<const std::string> args, std::ostream& out) {
  const Arguments options(args, {}, {"rows", "dir"});
  std::uint64_t rows = 10'000'000;
  if (const std::string* text = options.Value("rows")) {
    double value = 0.0;
    if (!ParseNumber(*text, value) || !(value >= 1.0 && value <= 1e10) ||
        value != std::floor(value))
      throw ToolError("--rows: \"" + *text + "\" is not a whole number from 1 to 10^10");
    rows = static_cast<std::uint64_t>(value);
  }
  const std::filesystem::path dir = options.Value("dir")
                                        ? std::filesystem::path(*options.Value("dir"))
                                        : std::filesystem::temp_directory_path();
  const RemoveOnExit input{dir / "mpcal-throughput-in.csv"};
  const RemoveOnExit output{dir / "mpcal-throughput-out.csv"};
  WriteRecording(input.path, rows);
  out << "apply on " << rows << " rows x 4 columns ("
      << std::filesystem::file_size(input.path) / 1000000 << " MB), 3 columns chosen:\n";

  struct Case {
    const char* label;
    const wchar_t* parameters;
    const char* columns; // null: the default (all but the time axis)
    bool calibrate;
  };
  const Case cases[] = {
      {"copy only (--columns \"\")", L"0\t0\tV\t0\t0\t2\t0\t1\t0\t", "", false},
      {"read+write, no calibration", L"0\t0\tV\t0\t0\t2\t0\t1\t0\t", nullptr, false},
      {"quadratic", L"1\t0\tkPa\t0\t0\t3\t-25.1\t50.2\t0.31\t0\t", nullptr, true},
      {"logarithmic", L"5\t0\tkPa\t0\t0\t2\t3\t2\t0\t", nullptr, true},
      {"exponential", L"6\t0\tkPa\t0\t0\t2\t0.3\t2.5\t0\t", nullptr, true},
      {"point to point (12)",
       L"7\t0\tkPa\t0\t0\t24\t0\t0\t0.4\t1\t0.8\t3\t1.2\t4\t1.6\t7\t2\t9\t2.4\t10\t2.8\t12\t3.2\t"
       L"15\t3.6\t16\t4\t19\t4.4\t20\t0\t",
       nullptr, true},
  };
  double baseline = 0.0;
  double baselineCpu = 0.0;
  for (const Case& c : cases) {
    ColumnChoice columns;
    if (c.columns)
      columns.list = c.columns;
    const RecordingConverter converter(
        ChannelCalibration::FromParameterText(c.parameters).Calibrator(), columns, c.calibrate);
    // Every case writes a new file rather than replacing the last case's output.
    std::error_code ec;
    std::filesystem::remove(output.path, ec);
    // Wall time, and the processor time of the process, which other load on the machine
    // disturbs far less.
    const auto begin = std::chrono::steady_clock::now();
    const std::clock_t cpuBegin = std::clock();
    const ConversionSummary summary = converter.Convert(input.path, output.path);
    const double cpu = static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!c.columns && !c.calibrate) {
      baseline = seconds;
      baselineCpu = cpu;
    }
    out << "  " << c.label << ": " << Fixed3(seconds) << " s, "
        << static_cast<std::uint64_t>(static_cast<double>(rows) / seconds) << " rows/s (CPU "
        << Fixed3(cpu) << " s)";
    if (c.calibrate && baseline > 0.0 && baselineCpu > 0.0 && cpu > 0.0) {
      // Both figures against the processor time: the wall time of a run also holds waiting for
      // the disk and for other processes, which would make the calibration's share look small
      // and the difference between two runs large.
      out << "\n      calibrating: " << Fixed3(summary.calibrationSeconds)
          << " s = " << Fixed3(100.0 * summary.calibrationSeconds / cpu)
          << " % of the CPU time; CPU time over the run without calibration: "
          << Fixed3(cpu - baselineCpu) << " s = " << Fixed3(100.0 * (cpu - baselineCpu) / cpu)
          << " % (wall time: " << Fixed3(100.0 * (seconds - baseline) / seconds) << " %)";
    }
    out << '\n';
  }
  return kExitOk;
}

} // namespace MPCalTool

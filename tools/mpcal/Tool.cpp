#include <exception>
#include <new>
#include <ostream>

#include "Commands.h"
#include "ToolError.h"

namespace MPCalTool {
namespace {

constexpr const char* kUsage =
    "usage: mpcal <command> [options]\n"
    "\n"
    "  fit --type TYPE [--force-origin] --points FILE [--as-given] [--json] [--unit NAME]\n"
    "      [--save SETTINGS] [--plot FILE.svg [--raw-unit NAME]]\n"
    "      Fits TYPE (linear, quadratic, cubic, quartic, quintic, logarithmic, exponential,\n"
    "      point-to-point, or 0..7) to the points of FILE (CSV or TSV: raw value, calibrated\n"
    "      value). Prints the fit name, the equation, the fit error and the parameter text,\n"
    "      then the residuals, the fit's statistics and its warnings. --plot draws the points,\n"
    "      the curve and the residuals as an SVG picture.\n"
    "  apply (--params TEXT | --settings FILE) --in RAW.csv --out CAL.csv [--columns LIST]\n"
    "      [--outside keep|clamp|nan] [--no-calibrate]\n"
    "      Calibrates the chosen columns (default: all but the first, the time axis) with the\n"
    "      channel arithmetic; the other columns pass through. LIST: numbers from 1, ranges\n"
    "      (2-4) or header names, comma separated; an empty list copies the file. Samples\n"
    "      outside the calibrated raw range are counted per column on standard error and\n"
    "      written extrapolated (keep, the default), at the range's end (clamp) or as nan.\n"
    "  invert (--params TEXT | --settings FILE) --value V\n"
    "      Prints the raw value between the smallest and the largest raw point that the\n"
    "      calibration turns into V, or says that there is none or more than one (exit 1).\n"
    "  demo [--out DIR]\n"
    "      Generates a pressure-transducer recording, calibrates it from five flat stretches\n"
    "      and writes the calibrated recording and a report into DIR (default mpcal-demo).\n"
    "  throughput [--rows N] [--dir DIR]\n"
    "      Times apply on a generated N-row, 4-column recording, with and without calibration.\n"
    "\n"
    "Exit status: 0 done, 1 calibration refused (too few points, repeated raw value, fit\n"
    "failed), 2 bad usage or bad input.\n";

} // namespace

int RunTool(std::span<const std::string> args, std::ostream& out, std::ostream& err) noexcept {
  try {
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
      (args.empty() ? err : out) << kUsage;
      return args.empty() ? kExitBadInput : kExitOk;
    }
    const std::string& command = args[0];
    const auto rest = args.subspan(1);
    if (command == "fit")
      return RunFit(rest, out, err);
    if (command == "apply")
      return RunApply(rest, out, err);
    if (command == "invert")
      return RunInvert(rest, out);
    if (command == "demo")
      return RunDemo(rest, out);
    if (command == "throughput")
      return RunThroughput(rest, out);
    throw ToolError("unknown command \"" + command + "\" (see mpcal help)");
  } catch (const ToolError& e) {
    out.flush();
    err << "mpcal: " << e.what() << '\n';
    return e.ExitCode();
  } catch (const std::bad_alloc&) {
    err << "mpcal: out of memory\n";
  } catch (const std::exception& e) {
    err << "mpcal: " << e.what() << '\n';
  } catch (...) {
    err << "mpcal: unexpected failure\n";
  }
  return kExitBadInput;
}

} // namespace MPCalTool

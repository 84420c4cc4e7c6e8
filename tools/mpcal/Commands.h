#pragma once
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace MPCalTool {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // too few points, a repeated raw value, a failed fit
inline constexpr int kExitBadInput = 2; // bad usage, unreadable or malformed input, write errors

// Runs one command line, without the program's name: "fit ...", "apply ...", "demo ...",
// "throughput ..." or "help". Results go to `out` (UTF-8), failures as one line to `err`.
// Never throws.
int RunTool(std::span<const std::string> args, std::ostream& out, std::ostream& err) noexcept;

// The commands; each throws ToolError for the failures RunTool reports.
int RunFit(std::span<const std::string> args, std::ostream& out, std::ostream& err);
int RunApply(std::span<const std::string> args, std::ostream& out, std::ostream& err);
// Prints the raw value that gives the calibrated value; "none: ..." or "more than one: ..."
// with exit code 1 when there is not exactly one within the calibrated range.
int RunInvert(std::span<const std::string> args, std::ostream& out);
int RunDemo(std::span<const std::string> args, std::ostream& out);
int RunThroughput(std::span<const std::string> args, std::ostream& out);

// A fit type by name ("linear", "quadratic", ..., "point-to-point") or number 0..7; ToolError
// for anything else.
std::int32_t ParseFitType(std::string_view text);

} // namespace MPCalTool

#pragma once
#include <stdexcept>
#include <string>

namespace MPCalTool {

// A failure of a command that ends it: the message is the one line the user sees on stderr.
// `exitCode` tells the failures apart for scripts (see Tool.h).
class ToolError : public std::runtime_error {
public:
  explicit ToolError(const std::string& message, int exitCode = 2)
      : std::runtime_error(message), exitCode_(exitCode) {}
  int ExitCode() const noexcept { return exitCode_; }

private:
  int exitCode_;
};

} // namespace MPCalTool

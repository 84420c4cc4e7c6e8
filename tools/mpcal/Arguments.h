#pragma once
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace MPCalTool {

// The options of one command: "--name" flags and "--name VALUE" (or "--name=VALUE") options.
// Unknown options, repeated options, a missing value and stray words are refused with a
// ToolError that names them.
class Arguments {
public:
  Arguments(std::span<const std::string> args, std::vector<std::string_view> flags,
            std::vector<std::string_view> options);

  bool Has(std::string_view name) const { return values_.contains(std::string(name)); }
  // The option's value, or null when it was not given.
  const std::string* Value(std::string_view name) const;
  // The option's value; ToolError "missing option --name" when it was not given.
  const std::string& Required(std::string_view name) const;

private:
  std::map<std::string, std::string> values_;
};

} // namespace MPCalTool

#include "Arguments.h"

#include <algorithm>

#include "ToolError.h"

namespace MPCalTool {

Arguments::Arguments(std::span<const std::string> args, std::vector<std::string_view> flags,
                     std::vector<std::string_view> options) {
  const auto contains = [](const std::vector<std::string_view>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0)
      throw ToolError("unexpected argument \"" + arg + "\"");
    std::string name = arg.substr(2);
    std::string value;
    bool inlineValue = false;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      inlineValue = true;
    }
    if (values_.contains(name))
      throw ToolError("option --" + name + " given twice");
    if (contains(flags, name)) {
      if (inlineValue)
        throw ToolError("option --" + name + " takes no value");
    } else if (contains(options, name)) {
      if (!inlineValue) {
        if (i + 1 >= args.size())
          throw ToolError("option --" + name + " needs a value");
        value = args[++i];
      }
    } else {
      throw ToolError("unknown option --" + name);
    }
    values_.emplace(std::move(name), std::move(value));
  }
}

const std::string* Arguments::Value(std::string_view name) const {
  const auto it = values_.find(std::string(name));
  return it == values_.end() ? nullptr : &it->second;
}

const std::string& Arguments::Required(std::string_view name) const {
  if (const std::string* value = Value(name))
    return *value;
  throw ToolError("missing option --" + std::string(name));
}

} // namespace MPCalTool

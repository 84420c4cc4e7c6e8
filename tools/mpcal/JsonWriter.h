#pragma once
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace MPCalTool {

// Builds one JSON object, member by member in the order given, as UTF-8 text. Numbers are
// written so that they read back as the same double; NaN and the infinities, which JSON cannot
// hold as numbers, become the strings "NaN", "Infinity" and "-Infinity".
class JsonWriter {
public:
  void Member(std::string_view name, bool value);
  void Member(std::string_view name, int value);
  void Member(std::string_view name, double value);
  void Member(std::string_view name, const std::vector<double>& values);
  void Member(std::string_view name, std::wstring_view value);
  void Member(std::string_view name, const std::vector<std::string>& values);

  // The finished object, indented by two, with a line end.
  std::string Finish() const;

private:
  nlohmann::ordered_json object_ = nlohmann::ordered_json::object();
};

} // namespace MPCalTool

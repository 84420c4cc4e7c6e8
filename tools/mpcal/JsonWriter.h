#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace MPCalTool {

// Builds one JSON object, member by member, as UTF-8 text. Numbers carry 17 significant digits
// so that they read back exactly; NaN and the infinities, which JSON cannot hold as numbers, are
// written as the strings "NaN", "Infinity" and "-Infinity".
class JsonWriter {
public:
  JsonWriter() : text_("{") {}

  void Member(std::string_view name, bool value);
  void Member(std::string_view name, int value);
  void Member(std::string_view name, double value);
  void Member(std::string_view name, const std::vector<double>& values);
  void Member(std::string_view name, std::wstring_view value);
  void Member(std::string_view name, const std::vector<std::string>& values);

  // The finished object, with a line end.
  std::string Finish() const { return text_ + "\n}\n"; }

  static void AppendString(std::string& out, std::string_view utf8);
  static void AppendNumber(std::string& out, double value);

private:
  void Name(std::string_view name);
  std::string text_;
  bool first_ = true;
};

} // namespace MPCalTool

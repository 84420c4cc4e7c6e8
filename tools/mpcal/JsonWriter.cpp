#include "JsonWriter.h"

#include <cmath>

#include "foundation/Utf8.h"

namespace MPCalTool {
namespace {

nlohmann::ordered_json Number(double value) {
  if (std::isnan(value))
    return "NaN";
  if (std::isinf(value))
    return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

} // namespace

void JsonWriter::Member(std::string_view name, bool value) {
  object_[std::string(name)] = value;
}

void JsonWriter::Member(std::string_view name, int value) {
  object_[std::string(name)] = value;
}

void JsonWriter::Member(std::string_view name, double value) {
  object_[std::string(name)] = Number(value);
}

void JsonWriter::Member(std::string_view name, const std::vector<double>& values) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const double v : values)
    array.push_back(Number(v));
  object_[std::string(name)] = std::move(array);
}

void JsonWriter::Member(std::string_view name, std::wstring_view value) {
  object_[std::string(name)] = Tarn::ToUtf8(value);
}

void JsonWriter::Member(std::string_view name, const std::vector<std::string>& values) {
  object_[std::string(name)] = values;
}

std::string JsonWriter::Finish() const {
  // Text from the user's files may hold broken UTF-8: replaced, not a failure.
  return object_.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace MPCalTool

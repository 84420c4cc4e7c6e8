#include "JsonWriter.h"

#include <cmath>

#include "NumberText.h"
#include "foundation/Utf8.h"

namespace MPCalTool {

void JsonWriter::AppendString(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    case '\b':
      out += "\\b";
      break;
    case '\f':
      out += "\\f";
      break;
    default:
      if (c < 0x20) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 15];
      } else {
        out += ch;
      }
    }
  }
  out += '"';
}

void JsonWriter::AppendNumber(std::string& out, double value) {
  if (std::isnan(value))
    out += "\"NaN\"";
  else if (std::isinf(value))
    out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  else
    AppendPrecise(out, value);
}

void JsonWriter::Name(std::string_view name) {
  text_ += first_ ? "\n  " : ",\n  ";
  first_ = false;
  AppendString(text_, name);
  text_ += ": ";
}

void JsonWriter::Member(std::string_view name, bool value) {
  Name(name);
  text_ += value ? "true" : "false";
}

void JsonWriter::Member(std::string_view name, int value) {
  Name(name);
  text_ += std::to_string(value);
}

void JsonWriter::Member(std::string_view name, double value) {
  Name(name);
  AppendNumber(text_, value);
}

void JsonWriter::Member(std::string_view name, const std::vector<double>& values) {
  Name(name);
  text_ += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0)
      text_ += ", ";
    AppendNumber(text_, values[i]);
  }
  text_ += ']';
}

void JsonWriter::Member(std::string_view name, std::wstring_view value) {
  Name(name);
  AppendString(text_, Tarn::ToUtf8(value));
}

void JsonWriter::Member(std::string_view name, const std::vector<std::string>& values) {
  Name(name);
  text_ += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0)
      text_ += ", ";
    AppendString(text_, values[i]);
  }
  text_ += ']';
}

} // namespace MPCalTool

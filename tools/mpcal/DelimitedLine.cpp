#include "DelimitedLine.h"

#include <cstring>

namespace MPCalTool {

char DelimitedLine::DetectSeparator(std::string_view line) noexcept {
  return line.find('\t') != std::string_view::npos ? '\t' : ',';
}

bool DelimitedLine::IsSkippable(std::string_view line) noexcept {
  for (const char c : line) {
    if (c == '#')
      return true;
    if (c != ' ' && c != '\t' && c != '\r')
      return false;
  }
  return true;
}

bool DelimitedLine::Split(std::string_view line, char separator, std::vector<Field>& fields) {
  fields.clear();
  std::size_t pos = 0;
  const std::size_t size = line.size();
  for (;;) {
    Field field;
    field.begin = pos;
    std::size_t look = pos;
    while (look < size && line[look] == ' ')
      ++look;
    if (look < size && line[look] == '"') {
      field.quoted = true;
      std::size_t i = look + 1;
      for (;;) {
        if (i >= size)
          return false;
        if (line[i] == '"') {
          if (i + 1 < size && line[i + 1] == '"') {
            i += 2;
            continue;
          }
          break;
        }
        ++i;
      }
      pos = i + 1;
      while (pos < size && line[pos] != separator)
        ++pos;
    } else {
      // The common case, kept tight: the apply command splits every line of a recording here.
      const void* hit =
          pos < size ? std::memchr(line.data() + pos, separator, size - pos) : nullptr;
      pos = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - line.data()) : size;
    }
    field.end = pos;
    fields.push_back(field);
    if (pos >= size)
      return true;
    ++pos;
  }
}

std::string DelimitedLine::Text(std::string_view line, const Field& field) {
  std::string_view raw = line.substr(field.begin, field.end - field.begin);
  const auto first = raw.find_first_not_of(" \t\r");
  if (first == std::string_view::npos)
    return {};
  raw = raw.substr(first, raw.find_last_not_of(" \t\r") - first + 1);
  if (!field.quoted)
    return std::string(raw);
  std::string text;
  // Between the opening quote and the closing one; anything after the closing quote is dropped.
  for (std::size_t i = 1; i < raw.size(); ++i) {
    if (raw[i] == '"') {
      if (i + 1 < raw.size() && raw[i + 1] == '"') {
        text += '"';
        ++i;
        continue;
      }
      break;
    }
    text += raw[i];
  }
  return text;
}

} // namespace MPCalTool

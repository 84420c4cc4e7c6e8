#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace MPCalTool {
namespace {

bool IsBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r';
}

template <class... Args> void AppendChars(std::string& out, Args... args) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, args...);
  out.append(buffer, result.ptr);
}

} // namespace

bool ParseNumber(std::string_view text, double& value) noexcept {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  if (begin == end)
    return false;
  bool negative = false;
  if (text[begin] == '+' || text[begin] == '-') {
    negative = text[begin] == '-';
    ++begin;
    // from_chars takes the minus itself; a second sign ("+-1") must still fail.
    if (begin == end || text[begin] == '+' || text[begin] == '-')
      return false;
  }
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  double parsed = 0.0;
  const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
  if (result.ec != std::errc{} || result.ptr != last) {
    // Underflow is reported as out of range although the value is merely tiny: read it as the
    // C library would, as zero or a subnormal value (the tool never leaves the "C" locale, so
    // strtod reads the classic form). Overflow stays an error.
    if (result.ec != std::errc::result_out_of_range || result.ptr != last)
      return false;
    const std::string copy(first, last);
    parsed = std::strtod(copy.c_str(), nullptr);
    if (std::isinf(parsed))
      return false;
  }
  value = negative ? -parsed : parsed;
  return true;
}

void AppendShortestFloat(std::string& out, float value) {
  AppendChars(out, value);
}

void AppendShortestDouble(std::string& out, double value) {
  AppendChars(out, value);
}

void AppendPrecise(std::string& out, double value) {
  AppendChars(out, value, std::chars_format::general, std::numeric_limits<double>::max_digits10);
}

} // namespace MPCalTool

#include "controls/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <sstream>
#include <system_error>
#include <vector>

namespace TarnControls {
namespace {

bool IsBlank(wchar_t c) noexcept {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::size_t SkipBlanks(std::wstring_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  return i;
}

bool IsAsciiAlnum(wchar_t c) noexcept {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// An out-of-range number overflowed when its exponent is positive, else it underflowed.
double OutOfRangeValue(const std::string& digits, bool negative) {
  const std::size_t e = digits.find_first_of("eE");
  const bool underflow = e != std::string::npos && e + 1 < digits.size() && digits[e + 1] == '-';
  const double magnitude = underflow ? 0.0 : std::numeric_limits<double>::infinity();
  return negative ? -magnitude : magnitude;
}

} // namespace

ParsedNumber ParseDisplayedNumber(std::wstring_view text, std::wstring_view decimalSeparator) {
  const std::size_t start = SkipBlanks(text);
  // The number's characters in the classic form, each with the text position just behind it.
  std::string ascii;
  std::vector<std::size_t> ends;
  std::size_t i = start;
  while (i < text.size()) {
    if (!decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
      ascii += '.';
      i += decimalSeparator.size();
    } else if (IsAsciiAlnum(text[i]) || text[i] == L'+' || text[i] == L'-') {
      ascii += static_cast<char>(text[i]);
      ++i;
    } else {
      break;
    }
    ends.push_back(i);
  }

  std::size_t signLength = 0;
  bool negative = false;
  if (!ascii.empty() && (ascii[0] == '+' || ascii[0] == '-')) {
    negative = ascii[0] == '-';
    signLength = 1;
  }
  if (ascii.size() <= signLength || ascii[signLength] == '+' || ascii[signLength] == '-')
    return {};

  const char* first = ascii.data() + signLength;
  const char* last = ascii.data() + ascii.size();
  double magnitude = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (ec == std::errc::invalid_argument || ptr == first)
    return {};
  const std::size_t read = static_cast<std::size_t>(ptr - ascii.data());
  ParsedNumber out;
  out.consumed = ends[read - 1];
  if (ec == std::errc::result_out_of_range)
    out.value = OutOfRangeValue(std::string(first, ptr), negative);
  else
    out.value = negative ? -magnitude : magnitude;
  return out;
}

ParsedInteger ParseWholeNumber(std::wstring_view text) {
  std::size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  const std::size_t digitsStart = i;
  std::int64_t magnitude = 0;
  constexpr std::int64_t kLimit = std::int64_t{1} << 32;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    if (magnitude < kLimit)
      magnitude = magnitude * 10 + (text[i] - L'0');
    ++i;
  }
  if (i == digitsStart)
    return {};
  const std::int64_t value = negative ? -magnitude : magnitude;
  const std::int64_t clamped = std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  return {static_cast<long>(clamped), i};
}

bool IsWholeNumberText(std::wstring_view text) {
  const std::wstring_view head = text.substr(0, kParsedTextLength);
  const ParsedInteger parsed = ParseWholeNumber(head);
  return parsed.consumed > 0 && parsed.consumed == head.size();
}

bool IsDecimalNumberText(std::wstring_view text, std::wstring_view decimalSeparator) {
  const std::wstring_view head = text.substr(0, kParsedTextLength);
  const ParsedNumber parsed = ParseDisplayedNumber(head, decimalSeparator);
  return parsed.consumed > 0 && parsed.consumed == head.size();
}

int EffectivePrecision(int precision) noexcept {
  return precision < 1 ? 9 : precision;
}

namespace {

std::wstring WithSeparator(std::wstring text, std::wstring_view decimalSeparator) {
  const std::size_t point = text.find(L'.');
  if (point != std::wstring::npos)
    text.replace(point, 1, decimalSeparator);
  return text;
}

} // namespace

std::wstring FormatEditValue(double value, int precision, bool fixed,
                             std::wstring_view decimalSeparator) {
  std::wostringstream out;
  out.imbue(std::locale::classic());
  out.precision(EffectivePrecision(precision));
  if (fixed)
    out << std::fixed << std::showpoint;
  out << value;
  return WithSeparator(out.str(), decimalSeparator);
}

std::wstring FormatDisplayedNumber(double value, std::wstring_view decimalSeparator) {
  std::wostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return WithSeparator(out.str(), decimalSeparator);
}

double RoundToSignificant(double value, int precision) {
  if (value == 0.0 || !std::isfinite(value))
    return value;
  const int digits = EffectivePrecision(precision);
  const int exponent =
      static_cast<int>(std::floor(std::log(std::fabs(value)) / std::log(10.0) + 0.5));
  // In extended precision 10^(digits - exponent) stays finite down to the smallest subnormal,
  // and the scaled value keeps the digits that double arithmetic would lose.
  const long double scale = std::pow(10.0L, digits - exponent);
  if (!std::isfinite(scale))
    return value;
  const long double rounded = std::floor(scale * value + 0.5L) / scale;
  const double result = static_cast<double>(rounded);
  return std::isfinite(result) ? result : value;
}

} // namespace TarnControls

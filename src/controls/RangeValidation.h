#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace TarnControls {

// The checks of the range validators, apart from their windows.

struct WholeRange {
  std::int32_t min = 0;
  std::int32_t max = 0;
  // Both ends belong to the range.
  bool Contains(long value) const noexcept { return value >= min && value <= max; }
};

struct DecimalRange {
  double min = 0.0;
  double max = 0.0;
  // Both ends belong to the range; NaN does not.
  bool Contains(double value) const noexcept { return value >= min && value <= max; }
};

// The characters a whole-number range validator lets through.
std::wstring WholeFilterCharacters();
// The characters a decimal range validator lets through: "-+eE0-9" and every character of the
// user's decimal separator.
std::wstring DecimalFilterCharacters(std::wstring_view decimalSeparator);
bool PassesFilter(std::wstring_view text, std::wstring_view allowed) noexcept;

// The whole-text checks (without reporting): the text passes the filter and the number it starts
// with (0 when none, as the run-time library's converters give) lies in the range.
bool IsValidWholeText(std::wstring_view text, WholeRange range);
bool IsValidDecimalText(std::wstring_view text, DecimalRange range,
                        std::wstring_view decimalSeparator);
// The number a decimal validator transfers from its text (0 when the text starts with none).
double DecimalTransferValue(std::wstring_view text, std::wstring_view decimalSeparator);

// A range message: `format` with the minimum at %1 and the maximum at %2.
std::wstring RangeMessage(std::wstring_view format, WholeRange range);
std::wstring RangeMessage(std::wstring_view format, DecimalRange range,
                          std::wstring_view decimalSeparator);

} // namespace TarnControls

#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace TarnControls {

// Displayed numbers: parsed and written with the user's decimal separator, independent of the
// run-time library's locale (which the locale information may have switched to the user's).

// The edits look at no more than this many characters of their text.
constexpr std::size_t kParsedTextLength = 30;

struct ParsedNumber {
  double value = 0.0;
  // Characters read, leading blanks included; 0 when no number starts the text.
  std::size_t consumed = 0;
};

struct ParsedInteger {
  long value = 0;
  std::size_t consumed = 0;
};

// Reads the number at the start of `text` as wcstod would, with `decimalSeparator` as the only
// decimal point: leading blanks, an optional sign, digits with one separator, an optional
// exponent. An out-of-range number is read whole (infinity or zero).
ParsedNumber ParseDisplayedNumber(std::wstring_view text, std::wstring_view decimalSeparator);
// Reads a base-10 whole number at the start of `text` as wcstol does (32-bit, clamped).
ParsedInteger ParseWholeNumber(std::wstring_view text);

// A field's text is valid when the parser read at least one character of its first 30 and
// stopped exactly at their end: leading blanks pass, trailing blanks or letters do not.
bool IsWholeNumberText(std::wstring_view text);
bool IsDecimalNumberText(std::wstring_view text, std::wstring_view decimalSeparator);

// The precision a double edit uses: any value below 1 means 9.
int EffectivePrecision(int precision) noexcept;

// The text a double edit shows for `value`: `precision` digits (9 when below 1), in fixed
// notation with the point always shown when `fixed`, else in general notation.
std::wstring FormatEditValue(double value, int precision, bool fixed,
                             std::wstring_view decimalSeparator);
// A number in general notation with 6 significant digits (a message argument, a transferred
// value), with the user's separator.
std::wstring FormatDisplayedNumber(double value, std::wstring_view decimalSeparator);

// `value` rounded to `precision` significant digits (9 when below 1), the decimal exponent taken
// as round-half-up of log10|value|, so values keep one digit more above the half decade. Zero,
// infinities and NaN come back unchanged, and tiny values stay finite.
double RoundToSignificant(double value, int precision);

} // namespace TarnControls

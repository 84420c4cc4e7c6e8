#pragma once
#include <cstdint>
#include <iosfwd>
#include <locale>
#include <set>
#include <string>

namespace Tarn {

// A number with an engineering exponent (a multiple of 3) and a unit:
// the value is mantissa x 10^exponent in `unit`.
struct Quantity {
  double mantissa = 0.0;
  std::int32_t exponent = 0;
  std::wstring unit;

  friend bool operator==(const Quantity&, const Quantity&) = default;
};

// mantissa 0, exponent 0, unit "Invalid".
Quantity InvalidQuantity();

// Splits `value` into an engineering mantissa and exponent; the mantissa's magnitude lies in
// [1, 1000). Zero gives 0, 0; a value that is not finite is kept as the mantissa with exponent 0.
Quantity MakeQuantity(double value, const std::wstring& unit);

// Reads a number (in the stream's locale) and an optional unit token ("5 mV", "1 L/min", "7");
// bad input, or a value out of the range of a double, gives the invalid quantity. A missing unit
// token leaves the stream at its end without the fail state.
Quantity ParseQuantity(std::wistream& in);

// As above, and a token in `wholeUnits` is taken whole too: user units such as "psi", "atm" or
// "Torr" whose first letter happens to be a prefix letter. "mV" still splits unless "mV" itself
// is in the set.
Quantity ParseQuantity(std::wistream& in, const std::set<std::wstring>& wholeUnits);

// Writes the quantity with the stream's own format settings: without a unit the plain value,
// with a known unit "mantissa prefix+unit", with any other unit "value unit". A known unit whose
// exponent has no prefix letter (beyond +-24) is written as "value unit" too.
void WriteQuantity(std::wostream& out, const Quantity& q);

// Writes mantissa x 10^(exponent - targetExponent) in general notation (precision 0 = 6
// significant digits, negative = stream default), then " ", the prefix letter of the target
// exponent and the unit (unitOverride when not empty, else q.unit) when there is a unit.
// The target exponent is clamped to -24..24. The number uses the global C++ locale, as a fresh
// wide string stream does.
std::wstring FormatQuantity(const Quantity& q, int targetExponent, int precision,
                            const std::wstring& unitOverride = {});

// As above with the number in `numberLocale` (the user's decimal separator for text shown to the
// user, the classic locale for text that is stored).
std::wstring FormatQuantity(const Quantity& q, int targetExponent, int precision,
                            const std::wstring& unitOverride, const std::locale& numberLocale);

// The value the quantity stands for, mantissa x 10^exponent, in its unit.
double QuantityValue(const Quantity& q) noexcept;

} // namespace Tarn

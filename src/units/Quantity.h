#pragma once
#include <cstdint>
#include <iosfwd>
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

// Splits `value` into an engineering mantissa and exponent; for positive powers the mantissa
// lies in [1, 1000).
Quantity MakeQuantity(double value, const std::wstring& unit);

// Reads a number and an optional unit token ("5 mV", "1 L/min", "7"); bad input gives the
// invalid quantity.
Quantity ParseQuantity(std::wistream& in);

// Writes the quantity with the stream's own format settings: without a unit the plain value,
// with a known unit "mantissa prefix+unit", with any other unit "value unit".
void WriteQuantity(std::wostream& out, const Quantity& q);

// Writes mantissa x 10^(exponent - targetExponent) in general notation (precision 0 = 6
// significant digits, negative = stream default), then " ", the prefix letter of the target
// exponent and the unit (unitOverride when not empty, else q.unit) when there is a unit.
std::wstring FormatQuantity(const Quantity& q, int targetExponent, int precision,
                            const std::wstring& unitOverride = {});

} // namespace Tarn

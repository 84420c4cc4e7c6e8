#include "units/Quantity.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>

#include "foundation/NoDestroy.h"
#include "units/KnownUnits.h"
#include "units/UnitPrefixes.h"

namespace Tarn {

Quantity InvalidQuantity() {
  return Quantity{0.0, 0, L"Invalid"};
}

double QuantityValue(const Quantity& q) noexcept {
  return ScaleByPowerOfTen(q.mantissa, q.exponent);
}

Quantity MakeQuantity(double value, const std::wstring& unit) {
  Quantity q{value, 0, unit};
  if (value == 0.0 || !std::isfinite(value))
    return q;
  const auto power = static_cast<std::int32_t>(std::floor(std::log10(std::fabs(value))));
  // Truncation toward zero: 0.042 (power -2) starts at exponent 0 and is moved down below.
  std::int32_t exponent = power / 3 * 3;
  double mantissa = ScaleByPowerOfTen(value, -exponent);
  // log10 may land on the wrong side of a power of ten; both corrections keep [1, 1000).
  if (std::fabs(mantissa) < 1.0) {
    exponent -= 3;
    mantissa = ScaleByPowerOfTen(value, -exponent);
  } else if (std::fabs(mantissa) >= 1000.0) {
    exponent += 3;
    mantissa = ScaleByPowerOfTen(value, -exponent);
  }
  q.mantissa = mantissa;
  q.exponent = exponent;
  return q;
}

Quantity ParseQuantity(std::wistream& in) {
  static const NoDestroy<std::set<std::wstring>> none;
  return ParseQuantity(in, none.get());
}

Quantity ParseQuantity(std::wistream& in, const std::set<std::wstring>& wholeUnits) {
  double value = 0.0;
  if (!(in >> value))
    return InvalidQuantity();
  std::wstring token;
  if (!(in >> token)) {
    // Only the unit is missing: the number itself was read.
    in.clear(in.rdstate() & ~std::ios_base::failbit);
    return MakeQuantity(value, std::wstring());
  }
  if (token.size() < 2 || IsKnownUnit(token) || wholeUnits.contains(token))
    return MakeQuantity(value, token);
  const std::int32_t power = PrefixLetterPower(token.front());
  if (power == 0)
    return MakeQuantity(value, token);
  const double scaled = ScaleByPowerOfTen(value, power);
  if (!std::isfinite(scaled))
    return InvalidQuantity();
  return MakeQuantity(scaled, token.substr(1));
}

void WriteQuantity(std::wostream& out, const Quantity& q) {
  if (q.unit.empty()) {
    out << QuantityValue(q);
    return;
  }
  const wchar_t letter = PrefixLetterForPower(q.exponent);
  if (IsKnownUnit(q.unit) && (letter != 0 || q.exponent == 0)) {
    out << q.mantissa << L' ';
    if (letter != 0)
      out << letter;
    out << q.unit;
    return;
  }
  out << QuantityValue(q) << L' ' << q.unit;
}

std::wstring FormatQuantity(const Quantity& q, int targetExponent, int precision,
                            const std::wstring& unitOverride) {
  return FormatQuantity(q, targetExponent, precision, unitOverride, std::locale());
}

std::wstring FormatQuantity(const Quantity& q, int targetExponent, int precision,
                            const std::wstring& unitOverride, const std::locale& numberLocale) {
  std::int32_t target = std::clamp(targetExponent, -24, 24);
  const wchar_t letter = PrefixLetterForPower(target);
  // An exponent without a prefix letter would show a number that disagrees with its unit.
  if (letter == 0)
    target = 0;
  std::wostringstream text;
  text.imbue(numberLocale);
  text.unsetf(std::ios_base::floatfield);
  if (precision >= 0)
    text.precision(precision == 0 ? 6 : precision);
  const auto shift = std::clamp<std::int64_t>(std::int64_t{q.exponent} - target, -1000, 1000);
  text << ScaleByPowerOfTen(q.mantissa, static_cast<std::int32_t>(shift));
  const std::wstring& unit = unitOverride.empty() ? q.unit : unitOverride;
  if (!unit.empty()) {
    text << L' ';
    if (letter != 0)
      text << letter;
    text << unit;
  }
  return text.str();
}

} // namespace Tarn

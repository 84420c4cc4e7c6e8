#include "units/UnitInfo.h"

#include <locale>
#include <sstream>

#include "foundation/ModuleStrings.h"
#include "units/Quantity.h"
#include "units/UnitPrefixes.h"

namespace Tarn {
namespace {

constexpr std::uint32_t noUnitStringId = 281;

std::wstring DisplayNameFor(std::int32_t prefixIndex, const std::wstring& name) {
  return PrefixCharacter(prefixIndex) + name;
}

// The prefix index that FormatValue works with: index 0 is resolved from the value when asked
// to, and means no prefix otherwise.
std::int32_t EffectivePrefixIndex(std::int32_t prefixIndex, std::int32_t flags, double value) {
  if (prefixIndex != 0)
    return prefixIndex;
  if ((flags & formatValue::choosePrefix) == 0 || value == 0.0)
    return 1;
  const std::int32_t chosen = 8 + MakeQuantity(value, std::wstring()).exponent / 3;
  return chosen >= 2 && chosen <= 14 ? chosen : 1;
}

} // namespace

std::wstring UnitDisplayName(const UnitInfo& unit) {
  return DisplayNameFor(unit.prefixIndex, unit.name);
}

void ResetUnit(UnitInfo& unit) {
  unit.unitKind = 0;
  unit.prefixIndex = 1;
  unit.name.clear();
}

std::wstring NoUnitText() {
  return ModuleString(noUnitStringId);
}

std::wstring FormatValue(const UnitInfo& unit, std::int32_t flags, double value) {
  const std::int32_t prefixIndex = EffectivePrefixIndex(unit.prefixIndex, flags, value);
  const bool scale = (flags & formatValue::scaleToPrefix) != 0;
  std::wostringstream text;
  if ((flags & formatValue::writeValue) != 0) {
    const int precision = flags & formatValue::precisionMask;
    text.imbue(std::locale::classic());
    text.precision(precision == 0 ? 7 : precision);
    text << (scale ? ScaleByPowerOfTen(value, -PrefixPower(prefixIndex)) : value);
    if ((flags & formatValue::writeUnit) != 0)
      text << L' ';
  }
  if ((flags & formatValue::writeUnit) != 0)
    text << (scale ? DisplayNameFor(prefixIndex, unit.name) : unit.name);
  return text.str();
}

} // namespace Tarn

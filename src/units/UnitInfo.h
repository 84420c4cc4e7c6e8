#pragma once
#include <cstdint>
#include <string>

namespace Tarn {

// A unit's kind and SI prefix. prefixIndex indexes the prefix table (0 = chosen from the value,
// 1 and 8 = no prefix, 2..7 = a..m, 9..14 = k..E).
struct UnitPrefixInfo {
  std::int32_t unitKind = 0;
  std::int32_t prefixIndex = 1;

  friend bool operator==(const UnitPrefixInfo&, const UnitPrefixInfo&) = default;
};

// A unit value. An empty name means "no unit".
struct UnitInfo : UnitPrefixInfo {
  std::wstring name;

  friend bool operator==(const UnitInfo&, const UnitInfo&) = default;
};

// Flags of FormatValue; the low byte is the precision (0 means 7 significant digits).
namespace formatValue {
inline constexpr std::int32_t precisionMask = 0xFF;
inline constexpr std::int32_t writeValue = 0x100;
inline constexpr std::int32_t writeUnit = 0x200;
inline constexpr std::int32_t scaleToPrefix = 0x400;
inline constexpr std::int32_t choosePrefix = 0x800;
} // namespace formatValue

// The prefix character of the unit's prefix index ("?" for 0, nothing for 1 and 8) and the name.
std::wstring UnitDisplayName(const UnitInfo& unit);

// unitKind 0, prefixIndex 1, no name.
void ResetUnit(UnitInfo& unit);

// "[No unit]": how a unit with an empty name is shown to the user.
std::wstring NoUnitText();

// The value and/or unit text the host asks a unit entry for (flags from `formatValue`). The number
// is written in the classic locale, general notation.
std::wstring FormatValue(const UnitInfo& unit, std::int32_t flags, double value);

} // namespace Tarn

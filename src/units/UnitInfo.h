#pragma once
#include <cstdint>
#include <string>

namespace Tarn {

// A unit's kind and SI prefix. prefixIndex indexes the prefix table (0 = chosen from the value,
// 1 and 8 = no prefix, 2..7 = a..m, 9..14 = k..E).
struct UnitPrefixInfo {
  std::int32_t unitKind = 0;
  std::int32_t prefixIndex = 1;
};

// A unit value. An empty name means "no unit".
struct UnitInfo : UnitPrefixInfo {
  std::wstring name;
};

} // namespace Tarn

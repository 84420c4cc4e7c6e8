#include "units/KnownUnits.h"

namespace Tarn {

const std::set<std::wstring>& KnownUnits() {
  static const std::set<std::wstring> units{L"V", L"g",  L"Hz", L"m",   L"Ohms",  L"L",
                                            L"N", L"Pa", L"A",  L"L/s", L"L/min", L"mmHg"};
  return units;
}

bool IsKnownUnit(const std::wstring& name) {
  return KnownUnits().contains(name);
}

} // namespace Tarn

#include "units/KnownUnits.h"

#include "foundation/NoDestroy.h"

namespace Tarn {

const std::set<std::wstring>& KnownUnits() {
  static const NoDestroy<std::set<std::wstring>> units(std::initializer_list<std::wstring>{
      L"V", L"g", L"Hz", L"m", L"Ohms", L"L", L"N", L"Pa", L"A", L"L/s", L"L/min", L"mmHg"});
  return units.get();
}

bool IsKnownUnit(const std::wstring& name) {
  return KnownUnits().contains(name);
}

} // namespace Tarn

#include "HostUnitService.h"

#include "HostUnit.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {

HRESULT HostUnitService::MakeUnit(std::int32_t prefixIndex, ITarnString* name,
                                  std::int32_t unitKind, Host::IUnitName** unit) noexcept {
  if (!unit)
    return E_INVALIDARG;
  *unit = nullptr;
  return Tarn::Guard([&] {
    // The caller owns the one reference of the new unit.
    *unit = HostUnit::Create(prefixIndex, Tarn::TarnString::FromHost(name).str(), unitKind);
  });
}

} // namespace Vela

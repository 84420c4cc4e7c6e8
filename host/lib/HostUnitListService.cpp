#include "HostUnitListService.h"

namespace Vela {

HostUnitListService* HostUnitListService::Create(Host::IUnitCollection* list) {
  auto* s = new HostUnitListService;
  s->list_.reset(list);
  return s;
}

HRESULT HostUnitListService::GetUnitList(Host::IUnitCollection** list) noexcept {
  if (!list)
    return E_INVALIDARG;
  // The caller owns the added reference.
  list_.CopyTo(list);
  return *list ? S_OK : E_FAIL;
}

} // namespace Vela

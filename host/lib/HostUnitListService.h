#pragma once
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The unit-list service's class object: slot 3 gives the host's unit list.
class HostUnitListService final
    : public Tarn::ComObject<HostUnitListService, Host::IUnitListService> {
public:
  // A new service over `list` (the service keeps a reference) with one reference for the caller.
  static HostUnitListService* Create(Host::IUnitCollection* list);

  HRESULT STDMETHODCALLTYPE GetUnitList(Host::IUnitCollection** list) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnitListService, Host::IUnitListService>;
  friend Base;
  HostUnitListService() = default;
  ~HostUnitListService() = default;
  Tarn::ComPtr<Host::IUnitCollection> list_;
};

} // namespace Vela

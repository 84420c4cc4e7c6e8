#pragma once
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The document's print manager: hands out print jobs.
class HostPrintManager final : public Tarn::ComObject<HostPrintManager, Host::IVelaPrintManager> {
public:
  // A new manager with one reference, owned by the caller.
  static HostPrintManager* Create() { return new HostPrintManager; }

  HRESULT STDMETHODCALLTYPE CreateJob(Host::IVelaPrintJob** job) noexcept override;

private:
  using Base = Tarn::ComObject<HostPrintManager, Host::IVelaPrintManager>;
  friend Base;
  HostPrintManager() = default;
  ~HostPrintManager() = default;
};

} // namespace Vela

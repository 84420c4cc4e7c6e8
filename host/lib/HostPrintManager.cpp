#include "HostPrintManager.h"

#include "HostPrintJob.h"
#include "foundation/win/HostBoundary.h"

namespace Vela {

HRESULT HostPrintManager::CreateJob(Host::IVelaPrintJob** job) noexcept {
  if (!job)
    return E_INVALIDARG;
  *job = nullptr;
  return Tarn::Guard([&] { *job = HostPrintJob::Create(); });
}

} // namespace Vela

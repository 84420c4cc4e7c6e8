#include "InProcessHost.h"

#include <ole2.h>

#include "HostApplication.h"

namespace Vela {

InProcessHost::InProcessHost() {
  const HRESULT init = OleInitialize(nullptr);
  initialised_ = SUCCEEDED(init);
  if (!initialised_) {
    status_ = init;
    return;
  }
  HostApplication& host = HostApplication::Instance();
  status_ =
      CoRegisterClassObject(Host::CLSID_HostApplication, static_cast<Host::IRegistrarBase*>(&host),
                            CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &hostCookie_);
  if (SUCCEEDED(status_))
    status_ = CoRegisterClassObject(Host::CLSID_UnitListService, host.UnitListServiceObject(),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &unitListCookie_);
}

InProcessHost::~InProcessHost() {
  if (unitListCookie_)
    CoRevokeClassObject(unitListCookie_);
  if (hostCookie_)
    CoRevokeClassObject(hostCookie_);
  HostApplication::Instance().Clear();
  if (initialised_)
    OleUninitialize();
}

} // namespace Vela

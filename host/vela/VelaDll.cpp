// The host library: serves the host application class to extensions that load it themselves
// when the host's classes are not registered in their process.
#include <windows.h>

#include <mutex>

#include "HostApplication.h"

namespace {

// The host library's own services come up with its class object: the unit-list service class
// is registered for the life of the process on the first request.
void RegisterCompanionClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    DWORD cookie = 0;
    CoRegisterClassObject(Host::CLSID_UnitListService,
                          Vela::HostApplication::Instance().UnitListServiceObject(),
                          CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  });
}

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, Host::CLSID_HostApplication))
    return CLASS_E_CLASSNOTAVAILABLE;
  try {
    RegisterCompanionClasses();
  } catch (...) {
    return E_FAIL;
  }
  return Vela::HostApplication::Instance().QueryInterface(iid, out);
}

// The host application object lives for the whole process.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return S_FALSE;
}

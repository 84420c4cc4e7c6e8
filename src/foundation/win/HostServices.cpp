#include "foundation/win/HostServices.h"

#include <windows.h>

#include <mutex>
#include <optional>
#include <string>

#include "foundation/NoDestroy.h"
#include "foundation/XHResult.h"

namespace MPCalibration::HostServices {
namespace {

using Tarn::ComPtr;
using Tarn::ThrowIfFailed;

// The last resort when the host's classes are not registered in this process: initialise the
// object system once, load the host library from the executable's folder and register its class
// object for the host class.
void RegisterHostLibrary() {
  static std::mutex lock;
  static bool done = false;
  // The object system is initialised once per process, whatever happens after: asking again
  // would only answer S_FALSE, hide why the first attempt failed and add an initialisation that
  // is never balanced.
  static std::optional<HRESULT> init;
  std::lock_guard guard(lock);
  if (done)
    return;
  if (!init)
    init = OleInitialize(nullptr);
  if (*init != S_OK)
    throw Tarn::XHResult(FAILED(*init) ? *init : E_UNEXPECTED);

  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0)
      throw Tarn::XHResult(HRESULT_FROM_WIN32(GetLastError()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L"\\/") + 1);
  path += L"Vela.dll";
  // The library stays loaded for the life of the process: its class object is registered.
  const HMODULE library = LoadLibraryW(path.c_str());
  if (!library)
    throw Tarn::XHResult(HRESULT_FROM_WIN32(GetLastError()));
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  if (!getClassObject)
    throw Tarn::XHResult(HRESULT_FROM_WIN32(GetLastError()));
  ComPtr<IUnknown> classObject;
  ThrowIfFailed(getClassObject(Host::CLSID_HostApplication, IID_IUnknown, classObject.put_void()));
  DWORD cookie = 0;
  ThrowIfFailed(CoRegisterClassObject(Host::CLSID_HostApplication, classObject.get(),
                                      CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
  done = true;
}

HRESULT TryHostClass(REFCLSID clsid, REFIID iid, void** out) {
  return CoGetClassObject(clsid, Host::kServiceContext, nullptr, iid, out);
}

// Asks the host class for a service; on a first failure applies the fallback and asks once more.
template <class I> ComPtr<I> RequestFromClass(REFCLSID clsid) {
  ComPtr<I> service;
  if (SUCCEEDED(TryHostClass(clsid, I::iid, service.put_void())))
    return service;
  ComPtr<IUnknown> host;
  if (FAILED(TryHostClass(Host::CLSID_HostApplication, IID_IUnknown, host.put_void())))
    RegisterHostLibrary();
  ThrowIfFailed(TryHostClass(clsid, I::iid, service.put_void()));
  return service;
}

// One cached service: fetched on first use under its own lock; a failed fetch is not cached, so
// a later call tries again.
template <class I> class Cached {
public:
  template <class Fetch> ComPtr<I> Get(Fetch&& fetch) {
    std::lock_guard guard(lock_);
    if (!service_)
      service_ = fetch();
    return service_;
  }
  void Reset() noexcept {
    std::lock_guard guard(lock_);
    service_.reset();
  }

private:
  std::mutex lock_;
  ComPtr<I> service_;
};

// The caches live for the whole process and are deliberately never destroyed: releasing host
// objects from a static destructor would run after the host may have unloaded them.
struct Caches {
  Cached<Host::IRegistrarBase> registrar;
  Cached<Host::IClassCodeRegistry> registry;
  Cached<Host::IMessageDispatcher> dispatcher;
  Cached<Host::IMessageFactory> factory;
  Cached<Host::IUnitService> units;
  Cached<Host::IUnitListService> unitList;
};

Caches& TheCaches() {
  static Tarn::NoDestroy<Caches> caches;
  return caches.get();
}

} // namespace

ComPtr<Host::IRegistrarBase> Registrar() {
  return TheCaches().registrar.Get(
      [] { return RequestFromClass<Host::IRegistrarBase>(Host::CLSID_HostApplication); });
}

ComPtr<Host::IClassCodeRegistry> ClassCodeRegistry() {
  return TheCaches().registry.Get(
      [] { return RequestFromClass<Host::IClassCodeRegistry>(Host::CLSID_HostApplication); });
}

ComPtr<Host::IMessageDispatcher> MessageDispatcher() {
  return TheCaches().dispatcher.Get(
      [] { return RequestFromClass<Host::IMessageDispatcher>(Host::CLSID_HostApplication); });
}

ComPtr<Host::IMessageFactory> MessageFactory() {
  return TheCaches().factory.Get([] {
    ComPtr<Host::IMessageFactory> factory;
    ThrowIfFailed(Registrar()->GetClassObject(Host::kMessageFactoryClassCode,
                                              Host::IMessageFactory::iid, factory.put_void()));
    return factory;
  });
}

ComPtr<Host::IUnitService> UnitService() {
  return TheCaches().units.Get([] {
    const auto code = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(RegistryCode(Host::CLSID_UnitService)) << 16);
    ComPtr<Host::IUnitService> units;
    ThrowIfFailed(Registrar()->GetClassObject(code, Host::IUnitService::iid, units.put_void()));
    return units;
  });
}

ComPtr<Host::IUnitListService> UnitListService() {
  return TheCaches().unitList.Get(
      [] { return RequestFromClass<Host::IUnitListService>(Host::CLSID_UnitListService); });
}

std::int32_t RegistryCode(REFGUID clsid) {
  std::int32_t code = 0;
  ThrowIfFailed(ClassCodeRegistry()->GetClassCode(clsid, &code));
  return code & 0xFFFF;
}

void ResetForTesting() noexcept {
  Caches& c = TheCaches();
  c.registrar.Reset();
  c.registry.Reset();
  c.dispatcher.Reset();
  c.factory.Reset();
  c.units.Reset();
  c.unitList.Reset();
}

} // namespace MPCalibration::HostServices

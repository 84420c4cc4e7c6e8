#include "ModuleHost.h"

#include <utility>

#include "MemoryObjectStream.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {
namespace {

std::wstring ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0)
      return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L"\\/") + 1);
  return path;
}

template <class I> Tarn::ComPtr<I> FromHostClass() noexcept {
  Tarn::ComPtr<I> service;
  if (FAILED(CoGetClassObject(Host::CLSID_HostApplication, Host::kServiceContext, nullptr, I::iid,
                              service.put_void())))
    service.reset();
  return service;
}

} // namespace

// Without Unload the library stays loaded: its class objects stay registered with the host until
// the process ends.
ModuleHost::~ModuleHost() {
  (void)module_.release();
}

HRESULT ModuleHost::Load(const wchar_t* fileName) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    if (module_)
      return S_FALSE;
    const std::wstring path = ExecutableFolder() + fileName;
    Tarn::unique_hmodule module(LoadLibraryW(path.c_str()));
    if (!module)
      return HRESULT_FROM_WIN32(GetLastError());
    const auto registerFn = reinterpret_cast<Host::DllRegisterClassObjectsFn>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "DllRegisterClassObjects")));
    if (!registerFn)
      return HRESULT_FROM_WIN32(GetLastError());
    module_ = std::move(module);
    return registerFn();
  });
}

void ModuleHost::Unload() noexcept {
  module_.reset();
}

std::int32_t ModuleHost::LiveObjects() const noexcept {
  if (!module_)
    return -1;
  using CountFn = std::int32_t(STDAPICALLTYPE*)();
  const auto count = reinterpret_cast<CountFn>(
      reinterpret_cast<void*>(GetProcAddress(module_.get(), "MpcalLiveObjectCount")));
  return count ? count() : -1;
}

Tarn::ComPtr<Host::IRegistrarBase> ModuleHost::Registrar() const noexcept {
  return FromHostClass<Host::IRegistrarBase>();
}

std::int32_t ModuleHost::ClassCode(REFGUID clsid, std::int32_t lowWord) const noexcept {
  const auto registry = FromHostClass<Host::IClassCodeRegistry>();
  std::int32_t code = 0;
  if (!registry || FAILED(registry->GetClassCode(clsid, &code)))
    return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(code & 0xFFFF) << 16) + lowWord;
}

namespace {
template <class I> Tarn::ComPtr<I> ClassObject(const ModuleHost& host, REFGUID clsid, int low) {
  Tarn::ComPtr<I> object;
  const auto registrar = host.Registrar();
  if (!registrar ||
      FAILED(registrar->GetClassObject(host.ClassCode(clsid, low), I::iid, object.put_void())))
    object.reset();
  return object;
}
} // namespace

Tarn::ComPtr<Host::ICalculationClass> ModuleHost::CalculationClass() const noexcept {
  return ClassObject<Host::ICalculationClass>(*this, Host::CLSID_MPCalibration, 0);
}

Tarn::ComPtr<Host::IPersistClassObject> ModuleHost::SettingsClass() const noexcept {
  return ClassObject<Host::IPersistClassObject>(*this, Host::CLSID_MPCalibration, 1);
}

Tarn::ComPtr<Host::ICalcEnumClass2> ModuleHost::EnumClass() const noexcept {
  return ClassObject<Host::ICalcEnumClass2>(*this, Host::CLSID_MPCalibrationEnum, 0);
}

HRESULT ModuleHost::CreateCalculation(std::int32_t channel, IUnknown* dataSource,
                                      Tarn::ComPtr<IUnknown>& result,
                                      Tarn::ComPtr<Host::IChannelCalc>& calc) const noexcept {
  result.reset();
  calc.reset();
  const auto calcClass = CalculationClass();
  if (!calcClass)
    return REGDB_E_CLASSNOTREG;
  const HRESULT hr = calcClass->CreateCalculation(channel, dataSource, result.put());
  if (FAILED(hr))
    return hr;
  return result.QueryTo(Host::IID_IChannelCalc, calc);
}

HRESULT ModuleHost::MakeSettings(const Calibration& calibration,
                                 Tarn::ComPtr<Host::IPersistObject>& settings) const noexcept {
  settings.reset();
  return Tarn::Guard([&]() -> HRESULT {
    const auto settingsClass = SettingsClass();
    if (!settingsClass)
      return REGDB_E_CLASSNOTREG;
    const auto stream = Tarn::ComPtr<MemoryObjectStream>::Adopt(
        MemoryObjectStream::Create(calibration.PersistedItems()));
    return settingsClass->CreateAndLoad(stream.get(), settings.put());
  });
}

HRESULT ModuleHost::PullCalibrated(const std::wstring& parameterText, IUnknown* params,
                                   Host::IEnumFloatEx* source, std::vector<float>& samples,
                                   std::uint32_t blockSize) const noexcept {
  samples.clear();
  if (!source || blockSize == 0)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    const auto enumClass = EnumClass();
    if (!enumClass)
      return REGDB_E_CLASSNOTREG;
    Tarn::ComPtr<Host::ICalcEnum> calcEnum;
    HRESULT hr = enumClass->CreateEnum(params, calcEnum.put());
    if (FAILED(hr))
      return hr;
    const Tarn::TarnString text(parameterText);
    std::int32_t flags = 0;
    if (FAILED(hr = calcEnum->SetParameters(text.get(), &flags)))
      return hr;
    IUnknown* sources[] = {source};
    IUnknown* extras[] = {nullptr};
    if (FAILED(hr = calcEnum->SetSources(nullptr, 1, sources, extras, nullptr)))
      return hr;
    Tarn::ComPtr<Host::IEnumFloatEx> values;
    if (FAILED(hr = calcEnum.QueryTo(Host::IID_IEnumFloatEx, values)))
      return hr;
    std::vector<float> block(blockSize);
    for (;;) {
      std::uint32_t fetched = 0;
      hr = values->Next(blockSize, block.data(), &fetched);
      samples.insert(samples.end(), block.begin(), block.begin() + fetched);
      if (hr != S_OK || fetched < blockSize)
        break;
    }
    return FAILED(hr) ? hr : S_OK;
  });
}

} // namespace Vela

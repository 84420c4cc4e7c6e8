#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Calibration.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's side of one loaded extension module: loads the library from the executable's
// folder, calls DllRegisterClassObjects, and reaches the module's class objects through the
// host registrar (found with CoGetClassObject, so it works with the in-process host and with
// the host library the module loads itself). Helpers make calculations, settings and calibrated
// samples the way the host does.
class ModuleHost {
public:
  ModuleHost() = default;
  ~ModuleHost();
  ModuleHost(const ModuleHost&) = delete;
  ModuleHost& operator=(const ModuleHost&) = delete;

  // Loads `fileName` from the executable's folder and registers its class objects once.
  [[nodiscard]] HRESULT Load(const wchar_t* fileName = L"MultipointCalibration.dll") noexcept;
  // Drops the class objects this holder keeps and frees the library (the caller has released
  // every module object first).
  void Unload() noexcept;
  HMODULE Module() const noexcept { return module_.get(); }
  // The module's count of live objects (its MpcalLiveObjectCount export in test builds), or -1.
  std::int32_t LiveObjects() const noexcept;

  Tarn::ComPtr<Host::IRegistrarBase> Registrar() const noexcept;
  // (registry code of `clsid`) x 65536 + lowWord; 0 when the registry is not reachable.
  std::int32_t ClassCode(REFGUID clsid, std::int32_t lowWord) const noexcept;
  Tarn::ComPtr<Host::ICalculationClass> CalculationClass() const noexcept;
  Tarn::ComPtr<Host::IPersistClassObject> SettingsClass() const noexcept;
  Tarn::ComPtr<Host::ICalcEnumClass2> EnumClass() const noexcept;

  // A calculation for `channel` of `dataSource`: the object CreateCalculation returns and its
  // IChannelCalc face.
  [[nodiscard]] HRESULT CreateCalculation(std::int32_t channel, IUnknown* dataSource,
                                          Tarn::ComPtr<IUnknown>& result,
                                          Tarn::ComPtr<Host::IChannelCalc>& calc) const noexcept;
  // A settings object of the module loaded from the calibration's persisted items.
  [[nodiscard]] HRESULT MakeSettings(const Calibration& calibration,
                                     Tarn::ComPtr<Host::IPersistObject>& settings) const noexcept;
  // An enumerator made through the enumerator class (via the registrar), given the parameter
  // text and `source`, pulled in blocks of `blockSize` until the source ends.
  [[nodiscard]] HRESULT PullCalibrated(const std::wstring& parameterText, IUnknown* params,
                                       Host::IEnumFloatEx* source, std::vector<float>& samples,
                                       std::uint32_t blockSize = 256) const noexcept;

private:
  Tarn::unique_hmodule module_;
};

} // namespace Vela

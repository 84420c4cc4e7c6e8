#include "multipointcalibration/win/ModuleObjects.h"

#include "foundation/NoDestroy.h"
#include "foundation/win/ResourceStrings.h"
#include "multipointcalibration/win/CalcClass.h"
#include "multipointcalibration/win/CalcEnumClass2.h"
#include "multipointcalibration/win/MPCalibrationEnum.h"
#include "multipointcalibration/win/MPCalibrationExt.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "multipointcalibration/win/VelaClassObject.h"

namespace MPCalibration::ModuleObjects {
namespace {

constexpr UINT kCalculationNameId = 250;
constexpr UINT kCalculationDescriptionId = 251;

using CalculationClassType = CalcClass<MPCalibrationExt>;
using SettingsClassType = CalcClass<MPCalibrationExt>::SettingsClass;
using EnumeratorClassType = CalcEnums::CalcEnumClass2<MPCalibrationEnum>;

// Static initialisation runs before DllMain, so the names come from the module
// that holds this code rather than from the resource module DllMain installs.
Tarn::TarnString CalculationName() {
  return Tarn::LoadResourceString(ThisModule(), kCalculationNameId);
}

// The calculation's name with "Settings" joined to it, without a space.
Tarn::TarnString SettingsName() {
  Tarn::TarnString name = CalculationName();
  name += L"Settings";
  return name;
}

// Definition order is construction order, and so the reverse of the
// registration order. None of them is ever destroyed: the host may still call
// the class objects, and release objects that refer to them, after this
// module's static destructors have run.
Tarn::NoDestroy<VelaClassInfo>
    g_calculationInfo(CalculationName(),
                      Tarn::LoadResourceString(ThisModule(), kCalculationDescriptionId),
                      Host::CLSID_MPCalibration, Host::KIND_CalculationClass, std::uint16_t{0});
Tarn::NoDestroy<VelaClassInfo> g_settingsInfo(SettingsName(), Tarn::TarnString(),
                                              Host::CLSID_MPCalibration, Host::KIND_SettingsClass,
                                              std::uint16_t{1});
Tarn::NoDestroy<VelaClassInfo>
    g_enumeratorInfo(Tarn::TarnString(L"MPCalibrationCalcEnum"),
                     Tarn::TarnString(L"Fits curves using a Least Squares approximation"),
                     Host::CLSID_MPCalibrationEnum, Host::KIND_EnumeratorClass, std::uint16_t{0});

Tarn::NoDestroy<CalculationClassType> g_calculationClass(g_calculationInfo.get());
// The module's reference, held for as long as the process runs: the
// registration list points into the object.
SettingsClassType* const g_settingsClass = new SettingsClassType(g_settingsInfo.get());
Tarn::NoDestroy<EnumeratorClassType> g_enumeratorClass(g_enumeratorInfo.get());

} // namespace

HMODULE ThisModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

const VelaClassInfo& CalculationClassInfo() noexcept {
  return g_calculationInfo.get();
}
const VelaClassInfo& SettingsClassInfo() noexcept {
  return g_settingsInfo.get();
}
const VelaClassInfo& EnumeratorClassInfo() noexcept {
  return g_enumeratorInfo.get();
}

Host::ICalculationClass* CalculationClass() noexcept {
  return &g_calculationClass.get();
}
Host::IPersistClassObject* SettingsClass() noexcept {
  return g_settingsClass;
}
Host::ICalcEnumClass2* EnumeratorClass() noexcept {
  return &g_enumeratorClass.get();
}

HRESULT RegisterClassObjects(Host::IRegistrarBase& registrar) noexcept {
  HRESULT result = S_OK;
  for (const VelaClassObject* node = VelaClassObject::Head(); node; node = node->Next()) {
    const HRESULT status = registrar.RegisterClassObject(node->ClassObject());
    if (FAILED(status) && SUCCEEDED(result))
      result = status;
  }
  return result;
}

} // namespace MPCalibration::ModuleObjects

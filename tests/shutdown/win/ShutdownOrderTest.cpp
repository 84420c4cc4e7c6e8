// A host that releases the module's objects, or asks its class objects, after the module's static
// destructors have run (documents released at exit, or from the detach of a library loaded
// before the module).
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "multipointcalibration/win/ModuleObjects.h"

namespace {

using MPCalibration::MPCalibrationExt;
namespace Module = MPCalibration::ModuleObjects;

std::wstring DisplayName(Host::ICalculationClass* calculation) {
  ITarnString* name = nullptr;
  if (FAILED(calculation->GetDisplayName(&name)))
    return L"(failed)";
  return Tarn::TarnString::AdoptHost(name).str();
}

std::wstring ClassName(Host::IVelaClassObject* object) {
  BSTR name = nullptr;
  if (FAILED(object->GetName(&name)))
    return L"(failed)";
  std::wstring text(name ? name : L"", name ? SysStringLen(name) : 0);
  SysFreeString(name);
  return text;
}

bool Check(bool ok, const char* what) {
  if (!ok)
    std::fprintf(stderr, "late use after static destructors: %s\n", what);
  return ok;
}

// Constructed before every other static object of the program, so destroyed after all of them.
struct LateUse {
  MPCalibrationExt::Settings* settings = nullptr;
  std::wstring calculationName;

  ~LateUse() {
    bool ok = Check(settings != nullptr, "main did not finish");
    if (ok) {
      ok &= Check(MPCalibrationExt::Settings::FromPersistObject(settings) == settings,
                  "the settings object is no longer recognised");
      ok &= Check(DisplayName(Module::CalculationClass()) == calculationName,
                  "the calculation class lost its name");
      ok &= Check(ClassName(Module::EnumeratorClass()) == L"MPCalibrationCalcEnum",
                  "the enumerator class lost its name");
      const void* address = settings;
      ok &= Check(settings->Release() == 0, "the settings object is still referenced");
      ok &= Check(!MPCalibrationExt::Settings::FromPersistObject(
                      static_cast<Host::IPersistObject*>(const_cast<void*>(address))),
                  "a released settings object is still taken for one");
#ifdef MPCAL_COUNT_OBJECTS
      ok &= Check(MPCalibration::LiveObjectCounter::Count() == 0, "a module object is alive");
#endif
    }
    std::fputs(ok ? "late use after static destructors: ok\n" : "", stderr);
    std::_Exit(ok ? EXIT_SUCCESS : EXIT_FAILURE);
  }
};

__attribute__((init_priority(101))) LateUse g_late;

} // namespace

int main() {
  g_late.calculationName = DisplayName(Module::CalculationClass());
  if (g_late.calculationName != L"Multipoint Calibration")
    return EXIT_FAILURE;
  // The host's reference, released only after the module's static destructors.
  g_late.settings = MPCalibrationExt::Settings::Create().release();
  // Success is reported by g_late alone.
  return 3;
}

#include <windows.h>

#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/ResourceStrings.h"
#include "multipointcalibration/ui/MPCalibrationDialog.h"
#include "multipointcalibration/ui/SettingsEditing.h"
#include "multipointcalibration/win/CalcClassBase.h"
#include "multipointcalibration/win/ModuleObjects.h"

#ifdef MPCAL_COUNT_OBJECTS
#include "multipointcalibration/win/LiveObjectCounter.h"
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    // Texts of portable code and status messages come from this module's string
    // table.
    Tarn::SetResourceModule(instance);
    // The calculation class sits below the dialogs, so its settings entry is handed to it here.
    MPCalibration::CalcClassBase::SetSettingsEditor(&MPCalibration::EditCalibrationSettings);
    MPCalibration::SetCalibrationDialogRunner(&MPCalibration::RunCalibrationDialog);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

// Called once by the host after loading: every class object goes to the host's
// registrar.
extern "C" HRESULT STDAPICALLTYPE DllRegisterClassObjects() {
  return Tarn::Guard([] {
    return MPCalibration::ModuleObjects::RegisterClassObjects(
        *MPCalibration::HostServices::Registrar());
  });
}

#ifdef MPCAL_COUNT_OBJECTS
// Test builds: how many extension, settings and enumerator objects are still
// alive, so that a host can check after a run that everything was released.
extern "C" __declspec(dllexport) LONG STDAPICALLTYPE MpcalLiveObjectCount() {
  return MPCalibration::LiveObjectCounter::Count();
}
#endif

// The module-wide tables stay usable after the program's static destructors have run.
#include <cstdio>
#include <cstdlib>

#include "multipointcalibration/LiveSettings.h"
#include "units/KnownUnits.h"

namespace {

// Constructed before every other static object of the program, so destroyed after all of them.
struct LateUse {
  const void* object = nullptr;

  ~LateUse() {
    auto& live = MPCalibration::LiveSettings();
    bool ok = object != nullptr && live.Contains(object);
    // A settings object released at this point takes itself off the table.
    live.Remove(object);
    ok = ok && !live.Contains(object) && Tarn::IsKnownUnit(L"mmHg") && !Tarn::IsKnownUnit(L"mV");
    std::fputs(ok ? "late use after static destructors: ok\n"
                  : "late use after static destructors: FAILED\n",
               stderr);
    std::_Exit(ok ? EXIT_SUCCESS : EXIT_FAILURE);
  }
};

__attribute__((init_priority(101))) LateUse g_late;

} // namespace

int main() {
  // Both tables are built here, after g_late, as a running module builds them on first use.
  static int settingsObject;
  MPCalibration::LiveSettings().Add(&settingsObject);
  if (!Tarn::IsKnownUnit(L"V"))
    return EXIT_FAILURE;
  g_late.object = &settingsObject;
  // Success is reported by g_late alone.
  return 3;
}

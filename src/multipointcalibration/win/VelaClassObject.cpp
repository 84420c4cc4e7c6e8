#include "multipointcalibration/win/VelaClassObject.h"

namespace MPCalibration {
namespace {

// Constant-initialised: it is null before any class object's dynamic initialisation runs,
// whatever order the translation units are initialised in.
constinit const VelaClassObject* g_head = nullptr;

} // namespace

// Static initialisation runs on one thread (the loader's), so the push needs no lock.
VelaClassObject::VelaClassObject(IUnknown* classObject) noexcept
    : classObject_(classObject), next_(g_head) {
  g_head = this;
}

const VelaClassObject* VelaClassObject::Head() noexcept {
  return g_head;
}

} // namespace MPCalibration

#pragma once
#include <unknwn.h>

namespace MPCalibration {

// The registration node every class object of the module owns. Constructing one pushes it onto
// the front of the module-wide list, so the list holds the class objects in the reverse order of
// their construction; DllRegisterClassObjects walks it from the head. Nodes live as long as the
// module and are never unlinked.
class VelaClassObject {
public:
  explicit VelaClassObject(IUnknown* classObject) noexcept;
  VelaClassObject(const VelaClassObject&) = delete;
  VelaClassObject& operator=(const VelaClassObject&) = delete;

  IUnknown* ClassObject() const noexcept { return classObject_; }
  const VelaClassObject* Next() const noexcept { return next_; }

  // The most recently constructed node; null before static initialisation reaches the first.
  static const VelaClassObject* Head() noexcept;

private:
  IUnknown* classObject_;
  const VelaClassObject* next_;
};

} // namespace MPCalibration

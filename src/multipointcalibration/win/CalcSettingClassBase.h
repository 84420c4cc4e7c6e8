#pragma once
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/VelaClassObjectImp.h"

namespace MPCalibration {

// The settings class object's slots that do not depend on the settings it creates. Unlike the
// other class objects it lives on the heap and is reference counted; the module holds the first
// reference for as long as it is loaded.
class CalcSettingClassBase : public VelaClassObjectImp<Host::IPersistClassObject> {
public:
  [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

protected:
  using VelaClassObjectImp::VelaClassObjectImp;
  virtual ~CalcSettingClassBase() = default;

private:
  // Interlocked; starts at 1, the module's own reference.
  LONG refCount_ = 1;
};

} // namespace MPCalibration

#pragma once
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/VelaClassObjectImp.h"

namespace CalcEnums {

// The enumerator class object's slots that do not depend on the enumerator it creates. The
// object is static: AddRef and Release return 1 and never destroy it.
class CalcEnumClassBase2 : public MPCalibration::VelaClassObjectImp<Host::ICalcEnumClass2> {
public:
  [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetDisplayName(ITarnString** name) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE
  GetDescription(ITarnString** description) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE NotImplemented10(void** out) noexcept override;

protected:
  using VelaClassObjectImp::VelaClassObjectImp;
  ~CalcEnumClassBase2() = default;
};

} // namespace CalcEnums

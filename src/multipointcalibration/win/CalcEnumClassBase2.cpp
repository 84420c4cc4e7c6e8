#include "multipointcalibration/win/CalcEnumClassBase2.h"

namespace CalcEnums {

HRESULT CalcEnumClassBase2::QueryInterface(REFIID iid, void** out) noexcept {
  return AnswerFromTable(iid, Host::IID_IVelaClassObject, Host::IID_ICalcEnumClass2, out);
}

HRESULT CalcEnumClassBase2::GetDisplayName(ITarnString** name) noexcept {
  if (!name)
    return E_INVALIDARG;
  // The copy shares the representation; its reference goes to the caller.
  *name = Tarn::TarnString(Info().Name()).release();
  return S_OK;
}

HRESULT CalcEnumClassBase2::GetDescription(ITarnString** description) noexcept {
  if (!description)
    return E_INVALIDARG;
  // The copy shares the representation; its reference goes to the caller.
  *description = Tarn::TarnString(Info().Description()).release();
  return S_OK;
}

HRESULT CalcEnumClassBase2::GetFlags(std::int32_t* flags) noexcept {
  if (!flags)
    return E_INVALIDARG;
  *flags = 0;
  return S_OK;
}

HRESULT CalcEnumClassBase2::NotImplemented10(void** out) noexcept {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

} // namespace CalcEnums

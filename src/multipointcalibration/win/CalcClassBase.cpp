#include "multipointcalibration/win/CalcClassBase.h"

namespace MPCalibration {
namespace {

HRESULT GiveString(const Tarn::TarnString& text, ITarnString** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  // The copy shares the representation; its reference goes to the caller.
  *out = Tarn::TarnString(text).release();
  return S_OK;
}

} // namespace

HRESULT CalcClassBase::QueryInterface(REFIID iid, void** out) noexcept {
  return AnswerFromTable(iid, Host::IID_IVelaClassObject, Host::IID_ICalculationClass, out);
}

HRESULT CalcClassBase::GetDisplayName(ITarnString** name) noexcept {
  return GiveString(Info().Name(), name);
}

HRESULT CalcClassBase::GetDescription(ITarnString** description) noexcept {
  return GiveString(Info().Description(), description);
}

HRESULT CalcClassBase::GetFlags(std::int32_t* flags) noexcept {
  if (!flags)
    return E_INVALIDARG;
  *flags = 0;
  return S_OK;
}

// The settings dialogs are not part of the module yet: the host gets no settings object and
// keeps the channel's current ones.
HRESULT CalcClassBase::EditSettings(HWND, void*, IUnknown*, void*, std::int32_t,
                                    Host::IPersistObject*, Host::IPersistObject** out) noexcept {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

} // namespace MPCalibration

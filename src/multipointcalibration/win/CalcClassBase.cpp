#include "multipointcalibration/win/CalcClassBase.h"

#include <atomic>

namespace MPCalibration {
namespace {

std::atomic<CalcClassBase::SettingsEditor> installedEditor{nullptr};

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

CalcClassBase::SettingsEditor CalcClassBase::SetSettingsEditor(SettingsEditor editor) noexcept {
  return installedEditor.exchange(editor);
}

HRESULT CalcClassBase::EditSettings(HWND parent, void*, IUnknown* document, void*,
                                    std::int32_t channel, Host::IPersistObject* existing,
                                    Host::IPersistObject** out) noexcept {
  if (!out || !document)
    return E_INVALIDARG;
  const SettingsEditor editor = installedEditor.load();
  if (!editor)
    return E_NOTIMPL;
  return editor(parent, document, channel, existing, out);
}

} // namespace MPCalibration

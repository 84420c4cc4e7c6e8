#pragma once
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/VelaClassObjectImp.h"

namespace MPCalibration {

// The calculation class object's slots that do not depend on the calculation it creates. The
// object is static: AddRef and Release return 1 and never destroy it.
class CalcClassBase : public VelaClassObjectImp<Host::ICalculationClass> {
public:
  // What slot 10 runs once its arguments are checked: the settings dialog's entry, which lives
  // with the dialogs above this layer (SettingsEditing.h) and is installed when the module
  // starts. `out` and `document` are not null.
  using SettingsEditor = HRESULT (*)(HWND parent, IUnknown* document, std::int32_t channel,
                                     Host::IPersistObject* existing,
                                     Host::IPersistObject** out) noexcept;
  // Installs the entry (null: none); returns the one it replaces.
  static SettingsEditor SetSettingsEditor(SettingsEditor editor) noexcept;

  [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetDisplayName(ITarnString** name) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE
  GetDescription(ITarnString** description) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) noexcept override;
  // E_INVALIDARG for a null `out` or `document`, E_NOTIMPL when no entry is installed; else
  // the entry's result. `out` is written only when settings are returned.
  [[nodiscard]] HRESULT STDMETHODCALLTYPE
  EditSettings(HWND parent, void* unused1, IUnknown* document, void* unused2, std::int32_t channel,
               Host::IPersistObject* existing, Host::IPersistObject** out) noexcept override;

protected:
  using VelaClassObjectImp::VelaClassObjectImp;
  ~CalcClassBase() = default;
};

} // namespace MPCalibration

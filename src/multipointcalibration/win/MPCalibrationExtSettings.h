#pragma once
#include <atomic>
#include <cstdint>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationExt.h"

namespace MPCalibration {

// One channel's calibration as the host persists it: a CalibrationSettings record behind the
// host's IPersistObject. Load and Save use the version-2 item sequence of SettingsPersistence.h.
// The reference count starts at 0; the creator's first AddRef (Create's holder) makes it 1.
class MPCalibrationExt::Settings final : public Host::IPersistObject {
public:
  // The low word of the persistence class code.
  static constexpr std::int32_t classCodeLowWord = 1;

  // A new object holding a fresh record, or a copy of `record`; the holder has the only
  // reference.
  [[nodiscard]] static Tarn::ComPtr<Settings> Create();
  [[nodiscard]] static Tarn::ComPtr<Settings> Create(const CalibrationSettings& record);

  // The Settings object behind an IPersistObject the host hands back, borrowed (no reference
  // is added), or null when the object is not a live Settings object of this module; a foreign
  // object is never taken for one.
  [[nodiscard]] static Settings* FromPersistObject(Host::IPersistObject* object) noexcept;

  // The persistence class code: the registry code of the calculation class identifier in the
  // high word, classCodeLowWord in the low word. Looked up on first use and kept for the life
  // of the module; raises Tarn::XHResult when the registry cannot give it.
  [[nodiscard]] static std::int32_t ClassCode();

  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  CalibrationSettings& Record() noexcept { return record_; }
  const CalibrationSettings& Record() const noexcept { return record_; }

  // IUnknown: IUnknown and IPersistObject only.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IPersistObject
  HRESULT STDMETHODCALLTYPE Load(Host::IObjectStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(Host::IObjectStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;

private:
  explicit Settings(const CalibrationSettings& record);
  // Virtual so that it follows GetClassCode in the table, as the host's layout has it.
  virtual ~Settings();

  CalibrationSettings record_;
  std::atomic<ULONG> refs_{0};
  LiveObjectCounter counter_;
};

} // namespace MPCalibration

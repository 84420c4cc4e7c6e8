#pragma once
#include <cstdint>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationExt.h"

namespace MPCalibration {

// One channel's calibration as the host persists it: a CalibrationSettings record behind the
// host's IPersistObject. Load and Save use the version-2 item sequence of SettingsPersistence.h.
// QueryInterface answers IUnknown and IPersistObject only; slot 6 is the host's destructor slot.
class MPCalibrationExt::Settings final
    : public Tarn::ComObject<MPCalibrationExt::Settings, Host::IPersistObject> {
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

  // IPersistObject
  [[nodiscard]] HRESULT STDMETHODCALLTYPE Load(Host::IObjectStream* stream) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE Save(Host::IObjectStream* stream) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;

private:
  friend ComObject;
  explicit Settings(const CalibrationSettings& record);
  // Not virtual: the destructor slot (DeletingDestructor) is the table's only destructor entry.
  ~Settings();

  CalibrationSettings record_;
  LiveObjectCounter counter_;
};

} // namespace MPCalibration

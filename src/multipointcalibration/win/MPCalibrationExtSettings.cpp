#include "multipointcalibration/win/MPCalibrationExtSettings.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/ObjectStreamItemReader.h"
#include "foundation/win/ObjectStreamItemWriter.h"
#include "multipointcalibration/LiveSettings.h"
#include "multipointcalibration/SettingsPersistence.h"

namespace MPCalibration {

MPCalibrationExt::Settings::Settings(const CalibrationSettings& record) : record_(record) {
  LiveSettings().Add(this);
}

MPCalibrationExt::Settings::~Settings() {
  LiveSettings().Remove(this);
}

Tarn::ComPtr<MPCalibrationExt::Settings> MPCalibrationExt::Settings::Create() {
  return Create(CalibrationSettings());
}

Tarn::ComPtr<MPCalibrationExt::Settings>
MPCalibrationExt::Settings::Create(const CalibrationSettings& record) {
  // The holder takes over the creation reference.
  return Tarn::ComPtr<Settings>::Adopt(new Settings(record));
}

MPCalibrationExt::Settings*
MPCalibrationExt::Settings::FromPersistObject(Host::IPersistObject* object) noexcept {
  if (!object)
    return nullptr;
  // Settings derives from IPersistObject alone, so the interface pointer is the object.
  auto* candidate = static_cast<Settings*>(object);
  return LiveSettings().Contains(candidate) ? candidate : nullptr;
}

std::int32_t MPCalibrationExt::Settings::ClassCode() {
  // A lookup that throws leaves the static uninitialised, so the next call asks again.
  static const std::int32_t code = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(HostServices::RegistryCode(Host::CLSID_MPCalibration)) << 16 |
      static_cast<std::uint32_t>(classCodeLowWord));
  return code;
}

HRESULT MPCalibrationExt::Settings::Load(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  Tarn::ObjectStreamItemReader reader(*stream);
  return LoadSettings(reader, record_);
}

HRESULT MPCalibrationExt::Settings::Save(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  Tarn::ObjectStreamItemWriter writer(*stream);
  return SaveSettings(writer, record_);
}

HRESULT MPCalibrationExt::Settings::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  return Tarn::Guard([&] { *code = ClassCode(); });
}

} // namespace MPCalibration

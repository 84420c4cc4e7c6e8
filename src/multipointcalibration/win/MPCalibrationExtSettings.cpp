#include "multipointcalibration/win/MPCalibrationExtSettings.h"

#include <mutex>
#include <unordered_set>

#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/SettingsPersistence.h"
#include "multipointcalibration/win/HostServices.h"
#include "multipointcalibration/win/ObjectStreamItemReader.h"
#include "multipointcalibration/win/ObjectStreamItemWriter.h"

namespace MPCalibration {

namespace {

// The live Settings objects, so that an IPersistObject from elsewhere is never cast to one.
class LiveSettings {
public:
  static LiveSettings& Instance() {
    static LiveSettings instance;
    return instance;
  }
  void Add(const void* object) {
    const std::lock_guard lock(mutex_);
    objects_.insert(object);
  }
  void Remove(const void* object) noexcept {
    const std::lock_guard lock(mutex_);
    objects_.erase(object);
  }
  bool Contains(const void* object) const noexcept {
    const std::lock_guard lock(mutex_);
    return objects_.count(object) != 0;
  }

private:
  mutable std::mutex mutex_;
  std::unordered_set<const void*> objects_;
};

} // namespace

MPCalibrationExt::Settings::Settings(const CalibrationSettings& record) : record_(record) {
  LiveSettings::Instance().Add(this);
}

MPCalibrationExt::Settings::~Settings() {
  LiveSettings::Instance().Remove(this);
}

Tarn::ComPtr<MPCalibrationExt::Settings> MPCalibrationExt::Settings::Create() {
  return Create(CalibrationSettings());
}

Tarn::ComPtr<MPCalibrationExt::Settings>
MPCalibrationExt::Settings::Create(const CalibrationSettings& record) {
  // The count starts at 0; the holder takes the first reference.
  return Tarn::ComPtr<Settings>(new Settings(record));
}

MPCalibrationExt::Settings*
MPCalibrationExt::Settings::FromPersistObject(Host::IPersistObject* object) noexcept {
  if (!object)
    return nullptr;
  // Settings derives from IPersistObject alone, so the interface pointer is the object.
  auto* candidate = static_cast<Settings*>(object);
  return LiveSettings::Instance().Contains(candidate) ? candidate : nullptr;
}

std::int32_t MPCalibrationExt::Settings::ClassCode() {
  // A lookup that throws leaves the static uninitialised, so the next call asks again.
  static const std::int32_t code = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(HostServices::RegistryCode(Host::CLSID_MPCalibration)) << 16 |
      static_cast<std::uint32_t>(classCodeLowWord));
  return code;
}

HRESULT MPCalibrationExt::Settings::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  if (iid == IID_IUnknown || iid == Host::IID_IPersistObject) {
    *out = static_cast<Host::IPersistObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG MPCalibrationExt::Settings::AddRef() noexcept {
  return refs_.fetch_add(1, std::memory_order_relaxed) + 1;
}

ULONG MPCalibrationExt::Settings::Release() noexcept {
  const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0)
    delete this;
  return left;
}

HRESULT MPCalibrationExt::Settings::Load(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  ObjectStreamItemReader reader(*stream);
  return LoadSettings(reader, record_);
}

HRESULT MPCalibrationExt::Settings::Save(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  ObjectStreamItemWriter writer(*stream);
  return SaveSettings(writer, record_);
}

HRESULT MPCalibrationExt::Settings::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  return Tarn::Guard([&] { *code = ClassCode(); });
}

} // namespace MPCalibration

#pragma once
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/win/CalcClassBase.h"
#include "multipointcalibration/win/CalcSettingClassBase.h"

namespace MPCalibration {

// The class object of a channel calculation T: it creates T for a channel. T is constructed
// from (creator, data source, channel) with one reference and answers the host's calculation
// result interface; T::Settings is its persisted settings object.
template <class T> class CalcClass final : public CalcClassBase {
public:
  class SettingsClass;

  explicit CalcClass(const VelaClassInfo& info) noexcept : CalcClassBase(info) {}

  [[nodiscard]] HRESULT STDMETHODCALLTYPE CreateCalculation(std::int32_t channel,
                                                            IUnknown* dataSource,
                                                            IUnknown** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    *out = nullptr;
    if (!dataSource)
      return E_FAIL;
    return Tarn::Guard([&] {
      const auto calc = Tarn::ComPtr<T>::Adopt(new T(this, dataSource, channel));
      // Answered by the aggregated host object, so the caller's reference is one on `calc`.
      return calc->QueryInterface(Host::IID_IHostCalcResult, reinterpret_cast<void**>(out));
    });
  }
};

// The class object that creates and loads T::Settings objects.
template <class T> class CalcClass<T>::SettingsClass final : public CalcSettingClassBase {
public:
  explicit SettingsClass(const VelaClassInfo& info) noexcept : CalcSettingClassBase(info) {}

  [[nodiscard]] HRESULT STDMETHODCALLTYPE CreateInstance(REFIID iid, void** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    *out = nullptr;
    return Tarn::Guard([&] { return Settings::Create()->QueryInterface(iid, out); });
  }

  // The caller receives the object even when it could not be loaded, with Load's status.
  [[nodiscard]] HRESULT STDMETHODCALLTYPE
  CreateAndLoad(Host::IObjectStream* stream, Host::IPersistObject** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    *out = nullptr;
    return Tarn::Guard([&] {
      Tarn::ComPtr<Settings> settings = Settings::Create();
      const HRESULT status = settings->Load(stream);
      // The caller owns this reference now.
      *out = settings.release();
      return status;
    });
  }

private:
  using Settings = typename T::Settings;
};

} // namespace MPCalibration

#pragma once
#include <cstddef>
#include <memory>

#include "Recording.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// A channel's settings object (the channel data source's slot 17): whether the host's units
// conversion is active on it, read at each call.
class HostChannelSettings final
    : public Tarn::ComObject<HostChannelSettings, Host::IChannelSettings> {
public:
  // A new object with one reference, owned by the caller; `channel` exists in `recording`.
  static HostChannelSettings* Create(std::shared_ptr<const Recording> recording,
                                     std::size_t channel) {
    auto* s = new HostChannelSettings;
    s->recording_ = std::move(recording);
    s->channel_ = channel;
    return s;
  }

  HRESULT STDMETHODCALLTYPE IsUnitsConversionActive(BOOL* active) noexcept override {
    if (!active)
      return E_INVALIDARG;
    *active = Conversion().active ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConversion(double* factor, double* offset) noexcept override {
    if (!factor || !offset)
      return E_INVALIDARG;
    const Recording::UnitsConversion& c = Conversion();
    *factor = c.active ? c.factor : 1.0;
    *offset = c.active ? c.offset : 0.0;
    return S_OK;
  }

private:
  using Base = Tarn::ComObject<HostChannelSettings, Host::IChannelSettings>;
  friend Base;
  HostChannelSettings() = default;
  ~HostChannelSettings() = default;
  const Recording::UnitsConversion& Conversion() const {
    return recording_->Channels()[channel_].conversion;
  }

  std::shared_ptr<const Recording> recording_;
  std::size_t channel_ = 0;
};

} // namespace Vela

#pragma once
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// A block's timing as the channel data source hands it out (its slot 13): a copy taken when it
// was asked for.
class HostBlockTiming final : public Tarn::ComObject<HostBlockTiming, Host::IBlockTiming> {
public:
  // A new object with one reference, owned by the caller.
  static HostBlockTiming* Create(double start, double interval) {
    auto* t = new HostBlockTiming;
    t->start_ = start;
    t->interval_ = interval;
    return t;
  }

  HRESULT STDMETHODCALLTYPE GetTiming(double* start, double* interval) noexcept override {
    if (!start || !interval)
      return E_INVALIDARG;
    *start = start_;
    *interval = interval_;
    return S_OK;
  }

private:
  using Base = Tarn::ComObject<HostBlockTiming, Host::IBlockTiming>;
  friend Base;
  HostBlockTiming() = default;
  ~HostBlockTiming() = default;

  double start_ = 0.0;
  double interval_ = 1.0;
};

} // namespace Vela

#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's source enumerator over one block of a channel: Next fills floats from the current
// position; SkipEx moves by a count in either direction, stopping at the ends; Clone copies the
// position. `online` is what GetState16 reports (-1 or 0).
class ChannelEnum final : public Tarn::ComObject<ChannelEnum, Host::IEnumFloatEx> {
public:
  // A new enumerator with one reference, owned by the caller.
  static ChannelEnum* Create(std::shared_ptr<const std::vector<float>> samples,
                             Host::RateInfo rate = {1, 1, 0.0}, bool online = false);

  std::size_t Position() const noexcept { return position_; }
  // Calls of Next so far, for tests of how the module reads its source.
  int NextCalls() const noexcept { return nextCalls_; }

  HRESULT STDMETHODCALLTYPE Clone(Host::IEnumFloatEx** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE SkipEx(std::int32_t count, std::int32_t* skipped) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPosition(std::int32_t* position) noexcept override;
  HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE GetRate(Host::RateInfo* rate) noexcept override;
  HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                 std::uint32_t* fetched) noexcept override;

private:
  using Base = Tarn::ComObject<ChannelEnum, Host::IEnumFloatEx>;
  friend Base;
  ChannelEnum() = default;
  ~ChannelEnum() = default;
  void* QueryExtra(REFIID iid) noexcept {
    return iid == Host::IID_IEnumExBase ? static_cast<Host::IEnumExBase*>(this) : nullptr;
  }

  std::shared_ptr<const std::vector<float>> samples_;
  std::size_t position_ = 0;
  Host::RateInfo rate_{1, 1, 0.0};
  bool online_ = false;
  int nextCalls_ = 0;
};

} // namespace Vela

#include "ChannelEnum.h"

#include <algorithm>

#include "foundation/win/HostBoundary.h"

namespace Vela {

ChannelEnum* ChannelEnum::Create(std::shared_ptr<const std::vector<float>> samples,
                                 Host::RateInfo rate, bool online) {
  auto* e = new ChannelEnum;
  e->samples_ = samples ? std::move(samples) : std::make_shared<const std::vector<float>>();
  e->rate_ = rate;
  e->online_ = online;
  return e;
}

HRESULT ChannelEnum::Clone(Host::IEnumFloatEx** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  *copy = nullptr;
  return Tarn::Guard([&] {
    ChannelEnum* e = Create(samples_, rate_, online_);
    e->position_ = position_;
    // The caller owns the reference of the copy.
    *copy = e;
  });
}

HRESULT ChannelEnum::SkipEx(std::int32_t count, std::int32_t* skipped) noexcept {
  const auto size = static_cast<std::int64_t>(samples_->size());
  const auto from = static_cast<std::int64_t>(position_);
  const std::int64_t to = std::clamp<std::int64_t>(from + count, 0, size);
  position_ = static_cast<std::size_t>(to);
  if (skipped)
    *skipped = static_cast<std::int32_t>(to - from);
  return to - from == count ? S_OK : S_FALSE;
}

HRESULT ChannelEnum::GetPosition(std::int32_t* position) noexcept {
  if (!position)
    return E_INVALIDARG;
  *position = static_cast<std::int32_t>(position_);
  return S_OK;
}

HRESULT ChannelEnum::GetState16(std::int16_t* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  *value = online_ ? -1 : 0;
  return S_OK;
}

HRESULT ChannelEnum::GetRate(Host::RateInfo* rate) noexcept {
  if (!rate)
    return E_INVALIDARG;
  *rate = rate_;
  return S_OK;
}

HRESULT ChannelEnum::Next(std::uint32_t count, float* values, std::uint32_t* fetched) noexcept {
  ++nextCalls_;
  if (fetched)
    *fetched = 0;
  if (!values && count)
    return E_INVALIDARG;
  const std::size_t n = std::min<std::size_t>(count, samples_->size() - position_);
  std::copy_n(samples_->begin() + static_cast<std::ptrdiff_t>(position_), n, values);
  position_ += n;
  if (fetched)
    *fetched = static_cast<std::uint32_t>(n);
  return n == count ? S_OK : S_FALSE;
}

} // namespace Vela

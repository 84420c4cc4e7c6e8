#include "ChannelDataSource.h"

#include <algorithm>
#include <vector>

#include "ChannelEnum.h"
#include "HostBlockTiming.h"
#include "HostChannelInformation.h"
#include "HostChannelSettings.h"
#include "foundation/win/HostBoundary.h"

namespace Vela {

ChannelDataSource* ChannelDataSource::Create(std::shared_ptr<const Recording> recording) {
  auto* s = new ChannelDataSource;
  s->recording_ = std::move(recording);
  return s;
}

bool ChannelDataSource::IsBlock(std::int32_t block) const noexcept {
  return block >= 0 && static_cast<std::size_t>(block) < recording_->BlockCount();
}

bool ChannelDataSource::IsChannel(std::int32_t channel) const noexcept {
  return channel >= 0 && static_cast<std::size_t>(channel) < recording_->ChannelCount();
}

HRESULT ChannelDataSource::GetBlockLength(std::int32_t block, std::int32_t* length) noexcept {
  if (!length)
    return E_INVALIDARG;
  if (!IsBlock(block))
    return E_INVALIDARG;
  *length = static_cast<std::int32_t>(recording_->BlockAt(static_cast<std::size_t>(block)).length);
  return S_OK;
}

HRESULT ChannelDataSource::HasData(std::uint32_t, std::int32_t block, std::int32_t channel,
                                   BOOL* has) noexcept {
  if (!has)
    return E_INVALIDARG;
  if (!IsBlock(block) || !IsChannel(channel))
    return E_INVALIDARG;
  *has = recording_->HasData(static_cast<std::size_t>(block), static_cast<std::size_t>(channel))
             ? TRUE
             : FALSE;
  return S_OK;
}

HRESULT ChannelDataSource::OpenReader(std::uint32_t kind, std::int32_t channel, std::int32_t block,
                                      std::int32_t start, std::int32_t end,
                                      Host::IEnumFloatEx** reader) noexcept {
  if (!reader)
    return E_INVALIDARG;
  *reader = nullptr;
  if ((kind != Host::kDataKindRaw && kind != Host::kDataKindCalculated) || !IsBlock(block) ||
      !IsChannel(channel))
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    const auto b = static_cast<std::size_t>(block);
    const auto c = static_cast<std::size_t>(channel);
    const std::vector<float>& samples = recording_->Samples(b, c);
    if (samples.empty())
      return E_FAIL;
    const auto last = static_cast<std::int64_t>(samples.size()) - 1;
    if (start < 0 || start > last || end < start)
      return E_INVALIDARG;
    const std::int64_t stop = std::min<std::int64_t>(end, last);
    // The reader keeps its own copy, so the recording may change while it is read.
    auto slice =
        std::make_shared<std::vector<float>>(samples.begin() + start, samples.begin() + stop + 1);
    if (kind == Host::kDataKindCalculated)
      HostChannelInformation::ToCalculationInput(recording_->ChannelAt(c), *slice);
    // The caller owns the reference of the new reader.
    *reader = ChannelEnum::Create(std::move(slice));
    return S_OK;
  });
}

HRESULT ChannelDataSource::GetBlockChannelInfo(std::uint32_t kind, std::int32_t block,
                                               std::int32_t channel,
                                               Host::IChannelInformation** info) noexcept {
  if (!info)
    return E_INVALIDARG;
  *info = nullptr;
  if (kind != Host::kDataKindRaw || !IsBlock(block) || !IsChannel(channel))
    return E_INVALIDARG;
  // The caller owns the reference of the new object.
  return Tarn::Guard([&] {
    *info = HostChannelInformation::Create(recording_, static_cast<std::size_t>(channel));
  });
}

HRESULT ChannelDataSource::GetTimingInfo(std::uint32_t kind, std::int32_t block,
                                         IUnknown** timing) noexcept {
  if (!timing)
    return E_INVALIDARG;
  *timing = nullptr;
  if (kind != Host::kDataKindCalculated || !IsBlock(block))
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    const Recording::Block& b = recording_->BlockAt(static_cast<std::size_t>(block));
    // The caller owns the reference of the new object.
    *timing = static_cast<Host::IBlockTiming*>(HostBlockTiming::Create(b.start, b.interval));
  });
}

HRESULT ChannelDataSource::GetChannelSettings(std::uint32_t kind, std::int32_t block,
                                              std::int32_t channel,
                                              Host::IChannelSettings** settings) noexcept {
  if (!settings)
    return E_INVALIDARG;
  *settings = nullptr;
  // Without a selection the block is -2; the settings are the channel's in every block.
  if (kind != Host::kChannelSettingsKind || !IsChannel(channel) || (block != -2 && !IsBlock(block)))
    return E_INVALIDARG;
  // The caller owns the reference of the new object.
  return Tarn::Guard([&] {
    *settings = HostChannelSettings::Create(recording_, static_cast<std::size_t>(channel));
  });
}

} // namespace Vela

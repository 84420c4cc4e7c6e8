#include "HostDocument.h"

#include <cstring>

#include "HostChannelInformation.h"
#include "HostMessage.h"
#include "HostPrintManager.h"
#include "foundation/win/HostBoundary.h"

namespace Vela {

HostDocument* HostDocument::Create(std::shared_ptr<Recording> recording) {
  auto* d = new HostDocument;
  d->recording_ = recording ? std::move(recording) : std::make_shared<Recording>();
  d->selection_.Attach(HostSelection::Create(d->recording_));
  d->source_.Attach(ChannelDataSource::Create(d->recording_));
  return d;
}

bool HostDocument::IsChannel(std::int32_t channel) const noexcept {
  return channel >= 0 && static_cast<std::size_t>(channel) < recording_->ChannelCount();
}

HRESULT HostDocument::GetTraceColour(std::int32_t channel, COLORREF* colour) noexcept {
  if (!colour)
    return E_INVALIDARG;
  if (!IsChannel(channel))
    return S_FALSE;
  *colour = recording_->ChannelAt(static_cast<std::size_t>(channel)).colour;
  return S_OK;
}

HRESULT HostDocument::GetDisplayRange(std::int32_t, std::int32_t channel, std::int32_t, double* top,
                                      double* bottom) noexcept {
  if (!top || !bottom)
    return E_INVALIDARG;
  if (!IsChannel(channel))
    return S_FALSE;
  const Recording::Channel& c = recording_->ChannelAt(static_cast<std::size_t>(channel));
  *top = c.top;
  *bottom = c.bottom;
  return S_OK;
}

HRESULT HostDocument::GetChannelInfo(std::int32_t, std::int32_t channel,
                                     Host::IChannelInformation** info) noexcept {
  if (!info)
    return E_INVALIDARG;
  *info = nullptr;
  if (!IsChannel(channel))
    return E_INVALIDARG;
  // The caller owns the reference of the new object.
  return Tarn::Guard([&] {
    *info = HostChannelInformation::Create(recording_, static_cast<std::size_t>(channel));
  });
}

HRESULT HostDocument::GetSelection(Host::IHostSelection** selection) noexcept {
  if (!selection)
    return E_INVALIDARG;
  selection_.CopyTo(selection);
  return S_OK;
}

HRESULT HostDocument::GetDataSource(std::uint32_t, Host::IChannelDataSource** source) noexcept {
  if (!source)
    return E_INVALIDARG;
  source_.CopyTo(source);
  return S_OK;
}

std::vector<Host::DisplayRangePayload> HostDocument::DisplayRanges(std::size_t from) const {
  std::vector<Host::DisplayRangePayload> found;
  for (std::size_t i = from; i < received_.size(); ++i) {
    const Delivery& d = received_[i];
    Host::DisplayRangePayload payload{};
    if (d.id != Host::kDisplayRangeMessage || d.payload.size() != sizeof payload)
      continue;
    std::memcpy(&payload, d.payload.data(), sizeof payload);
    found.push_back(payload);
  }
  return found;
}

HRESULT HostDocument::Receive(IUnknown* message) noexcept {
  if (!message)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    Tarn::ComPtr<IHostMessage> own;
    if (FAILED(message->QueryInterface(IHostMessage::iid, own.put_void())))
      return E_INVALIDARG;
    Delivery d = own->Contents();
    d.target = static_cast<Host::IDocumentTarget*>(this);
    received_.push_back(std::move(d));
    return S_OK;
  });
}

HRESULT HostDocument::GetPrintManager(Host::IVelaPrintManager** manager) noexcept {
  if (!manager)
    return E_INVALIDARG;
  *manager = nullptr;
  return Tarn::Guard([&] { *manager = HostPrintManager::Create(); });
}

} // namespace Vela

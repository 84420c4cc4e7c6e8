#include "HostMessage.h"

#include "foundation/win/HostBoundary.h"

namespace Vela {

HostMessage* HostMessage::Create(std::uint32_t id, std::uint32_t flags, const void* payload,
                                 std::uint32_t bytes) {
  auto* m = new HostMessage;
  m->contents_.id = id;
  m->contents_.flags = flags;
  if (payload && bytes) {
    const auto* p = static_cast<const std::uint8_t*>(payload);
    m->contents_.payload.assign(p, p + bytes);
  }
  return m;
}

HRESULT HostMessageFactory::MakeMessage(std::uint32_t id, std::uint32_t flags, const void* payload,
                                        std::uint32_t payloadBytes, IUnknown** message) noexcept {
  if (!message)
    return E_INVALIDARG;
  *message = nullptr;
  if (!payload && payloadBytes)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    // The caller owns the one reference of the new message.
    *message = HostMessage::Create(id, flags, payload, payloadBytes);
  });
}

} // namespace Vela

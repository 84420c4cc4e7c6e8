#pragma once
#include <cstdint>
#include <vector>

#include "HostRecords.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's own face of a message, so that the dispatcher can read what it delivers.
struct IHostMessage : IUnknown {
  static constexpr GUID iid = {
      0x6B0F2C31, 0x1E0D, 0x4F3A, {0x9B, 0x7E, 0x41, 0xC2, 0x55, 0x0A, 0x8D, 0x13}};
  virtual const Delivery& Contents() noexcept = 0;
};

// A message made by the message factory: id, flags and a copy of the payload.
class HostMessage final : public Tarn::ComObject<HostMessage, IHostMessage> {
public:
  // A new message with one reference, owned by the caller.
  static HostMessage* Create(std::uint32_t id, std::uint32_t flags, const void* payload,
                             std::uint32_t bytes);
  const Delivery& Contents() noexcept override { return contents_; }

private:
  using Base = Tarn::ComObject<HostMessage, IHostMessage>;
  friend Base;
  HostMessage() = default;
  ~HostMessage() = default;
  Delivery contents_;
};

// The message factory (registrar class code 0x80000007): slot 9 makes a HostMessage.
class HostMessageFactory final : public Tarn::ComObject<HostMessageFactory, Host::IMessageFactory> {
public:
  static HostMessageFactory* Create() { return new HostMessageFactory; }

  HRESULT STDMETHODCALLTYPE Reserved3() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved4() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved5() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MakeMessage(std::uint32_t id, std::uint32_t flags, const void* payload,
                                        std::uint32_t payloadBytes,
                                        IUnknown** message) noexcept override;

private:
  using Base = Tarn::ComObject<HostMessageFactory, Host::IMessageFactory>;
  friend Base;
  HostMessageFactory() = default;
  ~HostMessageFactory() = default;
};

} // namespace Vela

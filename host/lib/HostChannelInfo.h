#pragma once
#include <vector>

#include "HostRecords.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The channel information a data source hands out (its slot 12). Answers IChannelInfo and
// IChannelInfoEx with itself and records the calls of slot 9.
class HostChannelInfo final : public Tarn::ComObject<HostChannelInfo, Host::IChannelInfoEx> {
public:
  static HostChannelInfo* Create() { return new HostChannelInfo; }

  const std::vector<OutputInfoNote>& Notes() const noexcept { return notes_; }

  HRESULT STDMETHODCALLTYPE Reserved3() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved4() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved5() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NoteOutputInfo(std::int32_t zero, std::int32_t a,
                                           void* b) noexcept override;

private:
  using Base = Tarn::ComObject<HostChannelInfo, Host::IChannelInfoEx>;
  friend Base;
  HostChannelInfo() = default;
  ~HostChannelInfo() = default;
  void* QueryExtra(REFIID iid) noexcept {
    return iid == Host::IID_IChannelInfo ? static_cast<Host::IChannelInfoEx*>(this) : nullptr;
  }

  std::vector<OutputInfoNote> notes_;
};

} // namespace Vela

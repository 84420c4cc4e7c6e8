#pragma once
#include <memory>

#include "Recording.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The document's channel data source (the document's slot 54) over a recording: block lengths,
// whether a channel has data, sample readers inside one block, and the channel settings,
// channel information and block timing objects.
class ChannelDataSource final
    : public Tarn::ComObject<ChannelDataSource, Host::IChannelDataSource> {
public:
  // A new data source with one reference, owned by the caller.
  static ChannelDataSource* Create(std::shared_ptr<const Recording> recording);

  HRESULT STDMETHODCALLTYPE Reserved3() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved4() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved5() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBlockLength(std::int32_t block,
                                           std::int32_t* length) noexcept override;
  HRESULT STDMETHODCALLTYPE HasData(std::uint32_t zero, std::int32_t block, std::int32_t channel,
                                    BOOL* has) noexcept override;
  HRESULT STDMETHODCALLTYPE OpenReader(std::uint32_t kind, std::int32_t channel, std::int32_t block,
                                       std::int32_t start, std::int32_t end,
                                       Host::IEnumFloatEx** reader) noexcept override;
  HRESULT STDMETHODCALLTYPE GetBlockChannelInfo(std::uint32_t kind, std::int32_t block,
                                                std::int32_t channel,
                                                Host::IChannelInformation** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTimingInfo(std::uint32_t kind, std::int32_t block,
                                          IUnknown** timing) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved14() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved15() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved16() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelSettings(std::uint32_t kind, std::int32_t block,
                                               std::int32_t channel,
                                               Host::IChannelSettings** settings) noexcept override;

private:
  using Base = Tarn::ComObject<ChannelDataSource, Host::IChannelDataSource>;
  friend Base;
  ChannelDataSource() = default;
  ~ChannelDataSource() = default;
  bool IsBlock(std::int32_t block) const noexcept;
  bool IsChannel(std::int32_t channel) const noexcept;

  std::shared_ptr<const Recording> recording_;
};

} // namespace Vela

#pragma once
#include <memory>
#include <vector>

#include "Document.h"
#include "HostChannelInfo.h"
#include "HostRecords.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// A document's data source as extensions see it: slot 4 makes an output unit from the field
// block and unit name it is given, slot 9 records the channel-changed call, slot 12 hands out the
// source's one channel-information object (kept alive by the source, since extensions keep it
// without a reference). Source enumerators over the document's channels come from Source().
class HostDataSource final : public Tarn::ComObject<HostDataSource, Host::IHostDataSource> {
public:
  // A new data source with one reference, owned by the caller.
  static HostDataSource* Create(std::shared_ptr<const Document> document);

  const Document& Doc() const noexcept { return *document_; }
  // A source enumerator over one channel's block of one record, as a calculation receives it: in
  // the channel's unit without its prefix (one reference for the caller).
  Tarn::ComPtr<Host::IEnumFloatEx> Source(std::size_t record, std::size_t channel) const;
  HostChannelInfo& ChannelInfo() noexcept { return *info_; }

  const std::vector<OutputUnitRequest>& OutputUnitRequests() const noexcept { return units_; }
  const std::vector<ChannelChange>& ChannelChanges() const noexcept { return changes_; }

  HRESULT STDMETHODCALLTYPE Reserved3() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputUnit(Host::OutputFieldBlock* fields, ITarnString* unitName,
                                          std::int32_t zero1, std::int32_t zero2,
                                          Host::IUnitName** unit) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved5() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved8() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ChannelChanged(std::int32_t channel, std::uint32_t flags,
                                           IUnknown* calc) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved10() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved11() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelInfo(IUnknown** info) noexcept override;

private:
  using Base = Tarn::ComObject<HostDataSource, Host::IHostDataSource>;
  friend Base;
  HostDataSource() = default;
  ~HostDataSource() = default;

  std::shared_ptr<const Document> document_;
  Tarn::ComPtr<HostChannelInfo> info_;
  std::vector<OutputUnitRequest> units_;
  std::vector<ChannelChange> changes_;
};

} // namespace Vela

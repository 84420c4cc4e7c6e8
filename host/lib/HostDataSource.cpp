#include "HostDataSource.h"

#include "ChannelEnum.h"
#include "HostChannelInformation.h"
#include "HostUnit.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {

HostDataSource* HostDataSource::Create(std::shared_ptr<const Document> document) {
  auto* s = new HostDataSource;
  s->document_ = document ? std::move(document) : std::make_shared<const Document>();
  s->info_.Attach(HostChannelInfo::Create());
  return s;
}

Tarn::ComPtr<Host::IEnumFloatEx> HostDataSource::Source(std::size_t record,
                                                        std::size_t channel) const {
  std::shared_ptr<const Document::Block> samples = document_->Samples(record, channel);
  const std::wstring& unit = document_->ChannelAt(channel).unit;
  if (samples && HostChannelInformation::CalculationInputPower(unit) != 0) {
    auto scaled = std::make_shared<Document::Block>(*samples);
    HostChannelInformation::ToCalculationInput(unit, *scaled);
    samples = std::move(scaled);
  }
  return Tarn::ComPtr<Host::IEnumFloatEx>::Adopt(ChannelEnum::Create(std::move(samples)));
}

HRESULT HostDataSource::GetOutputUnit(Host::OutputFieldBlock* fields, ITarnString* unitName,
                                      std::int32_t, std::int32_t, Host::IUnitName** unit) noexcept {
  if (!fields || !unit)
    return E_INVALIDARG;
  *unit = nullptr;
  return Tarn::Guard([&] {
    OutputUnitRequest request{*fields, Tarn::TarnString::FromHost(unitName).str()};
    // The caller owns the reference of the new unit.
    *unit = HostUnit::Create(fields->prefixIndex, request.unitName, fields->unitFlag ? 1 : 0);
    units_.push_back(std::move(request));
  });
}

HRESULT HostDataSource::ChannelChanged(std::int32_t channel, std::uint32_t flags,
                                       IUnknown* calc) noexcept {
  return Tarn::Guard([&] {
    Tarn::ComPtr<IUnknown> notify;
    const bool answered =
        calc && SUCCEEDED(calc->QueryInterface(Host::IID_IHostCalcNotify, notify.put_void()));
    changes_.push_back({channel, flags, answered});
  });
}

HRESULT HostDataSource::GetChannelInfo(IUnknown** info) noexcept {
  if (!info)
    return E_INVALIDARG;
  info_.CopyTo(info);
  return S_OK;
}

} // namespace Vela

#include "multipointcalibration/win/ChannelCalcBase.h"

#include "foundation/XHResult.h"
#include "foundation/win/HostServices.h"

namespace MPCalibration {

ChannelCalcBase::ChannelCalcBase(IUnknown* creator, IUnknown* dataSource,
                                 std::int32_t channel) noexcept
    : dataSource(static_cast<Host::IHostDataSource*>(dataSource)), creator(creator),
      channel(channel) {}

ChannelCalcBase::~ChannelCalcBase() {
  outputUnit.reset();
  inner.reset();
}

void ChannelCalcBase::Connect() {
  if (dataSource) {
    // The data source keeps its channel information alive; the references these requests add
    // are given back at once.
    Tarn::ComPtr<IUnknown> info;
    if (SUCCEEDED(dataSource->GetChannelInfo(info.put())) && info) {
      channelInfo = info.get();
      Tarn::ComPtr<Host::IChannelInfoEx> infoEx;
      if (SUCCEEDED(info.QueryTo(infoEx)))
        channelInfoEx = infoEx.get();
    }
  }

  const auto code = static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(HostServices::RegistryCode(Host::CLSID_HostChannelCalc)) << 16) +
      static_cast<std::uint32_t>(Host::kHostChannelCalcLowWord));
  Tarn::ThrowIfFailed(HostServices::Registrar()->CreateAggregated(
      static_cast<Host::IChannelCalc*>(this), code, IID_IUnknown, inner.put_void()));
  if (!inner)
    throw Tarn::XHResult(E_FAIL);

  // The reference this request adds is one on this object (the aggregate's outer); it goes with
  // `calc` at the end of the scope.
  Tarn::ComPtr<Host::IHostChannelCalc> calc;
  if (SUCCEEDED(inner.QueryTo(calc)))
    hostCalc = calc.get();
}

HRESULT ChannelCalcBase::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out)
    return Host::IChannelCalc::nullOut;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, Host::IID_IChannelCalc)) {
    *out = static_cast<Host::IChannelCalc*>(this);
    AddRef();
    return S_OK;
  }
  if (!inner)
    return E_NOINTERFACE;
  const HRESULT status = inner->QueryInterface(iid, out);
  if (FAILED(status)) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  return status;
}

ULONG ChannelCalcBase::AddRef() noexcept {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG ChannelCalcBase::Release() noexcept {
  const LONG left = InterlockedDecrement(&refCount_);
  if (left == 0) {
    // Held at one while the object is torn down, so that `inner` calling back through this
    // object's IUnknown during its own destruction cannot destroy it a second time.
    refCount_ = 1;
    DeletingDestructor(1);
  }
  return static_cast<ULONG>(left);
}

} // namespace MPCalibration

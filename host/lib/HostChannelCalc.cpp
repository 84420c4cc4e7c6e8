#include "HostChannelCalc.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {

HostChannelCalc::HostChannelCalc(IUnknown* outer, std::shared_ptr<CalcRecord> record)
    : outer_(outer ? outer : &inner_), record_(std::move(record)) {}

HRESULT HostChannelCalc::Create(IUnknown* outer, REFIID riid, void** out,
                                std::shared_ptr<CalcRecord> record) noexcept {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (outer && riid != IID_IUnknown)
    return CLASS_E_NOAGGREGATION;
  return Tarn::Guard([&] {
    auto* calc =
        new HostChannelCalc(outer, record ? std::move(record) : std::make_shared<CalcRecord>());
    // The creation reference is the Inner one; QueryInterface adds the caller's, then the
    // creation reference is dropped, so a failed request destroys the object.
    const HRESULT hr = calc->inner_.QueryInterface(riid, out);
    calc->inner_.Release();
    return hr;
  });
}

HostChannelCalc* HostChannelCalc::From(IUnknown* any) noexcept {
  if (!any)
    return nullptr;
  void* p = nullptr;
  if (FAILED(any->QueryInterface(kSelfIid, &p)) || !p)
    return nullptr;
  auto* calc = static_cast<HostChannelCalc*>(static_cast<Host::IHostChannelCalc*>(p));
  // The caller's own reference keeps the object alive; the one QueryInterface added goes back.
  calc->Release();
  return calc;
}

HRESULT HostChannelCalc::QueryInterface(REFIID iid, void** out) noexcept {
  return outer_->QueryInterface(iid, out);
}

HRESULT HostChannelCalc::Inner::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out)
    return Host::IHostChannelCalc::nullOut;
  *out = nullptr;
  if (iid == IID_IUnknown) {
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
  }
  if (iid == Host::IID_IHostChannelCalc || iid == Host::IID_IHostCalcResult ||
      iid == Host::IID_IHostCalcNotify || iid == kSelfIid) {
    auto* face = static_cast<Host::IHostChannelCalc*>(self);
    *out = face;
    face->AddRef(); // through the controlling object, as COM aggregation requires
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG HostChannelCalc::Inner::AddRef() noexcept {
  return static_cast<ULONG>(InterlockedIncrement(&self->refCount_));
}

ULONG HostChannelCalc::Inner::Release() noexcept {
  const LONG n = InterlockedDecrement(&self->refCount_);
  if (n == 0)
    delete self;
  return static_cast<ULONG>(n);
}

HRESULT HostChannelCalc::SetSource(std::int32_t one, const Host::SourceSpec* source,
                                   const Host::OutputScaling* scaling) noexcept {
  if (!source || !scaling)
    return E_INVALIDARG;
  ++record_->sourceCalls;
  record_->sourceFirst = one;
  record_->source = *source;
  record_->scaling = *scaling;
  return S_OK;
}

HRESULT HostChannelCalc::SetParameterText(ITarnString* text) noexcept {
  return Tarn::Guard([&] {
    record_->parameterText = Tarn::TarnString::FromHost(text).str();
    ++record_->parameterTextCalls;
  });
}

HRESULT HostChannelCalc::SetEnumerator(IUnknown* creator, std::int32_t channel,
                                       IUnknown* dataSource, Host::ICalcEnum* enumerator) noexcept {
  ++record_->enumeratorCalls;
  record_->enumeratorChannel = channel;
  record_->enumeratorHadCreator = creator != nullptr;
  record_->enumeratorHadDataSource = dataSource != nullptr;
  record_->enumeratorHadEnumerator = enumerator != nullptr;
  enumerator_.reset(enumerator);
  return S_OK;
}

} // namespace Vela

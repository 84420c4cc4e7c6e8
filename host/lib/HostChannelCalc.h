#pragma once
#include <memory>

#include "HostRecords.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's channel-calculation object, made by the registrar aggregated under an extension.
// Its non-delegating IUnknown is what the registrar returns; every other face delegates its
// IUnknown calls to the outer object. It answers IHostChannelCalc, the result face
// (IID_IHostCalcResult) and the notification face (IID_IHostCalcNotify) with itself, and keeps
// what the extension hands it in a CalcRecord shared with the host application.
class HostChannelCalc final : public Host::IHostChannelCalc {
public:
  // A host-private identifier that answers the object itself, so that tests can reach the
  // record through the extension.
  static constexpr GUID kSelfIid = {
      0x0C4D8E21, 0x5A7F, 0x4B2C, {0x8E, 0x10, 0x3D, 0x9A, 0x61, 0xF2, 0x07, 0xB5}};

  // Makes the object under `outer` (null: not aggregated) and asks it for `riid`; aggregation
  // allows only IUnknown (CLASS_E_NOAGGREGATION otherwise).
  static HRESULT Create(IUnknown* outer, REFIID riid, void** out,
                        std::shared_ptr<CalcRecord> record) noexcept;
  // The object behind any face that reaches it by QueryInterface (the extension's faces
  // included); borrowed: valid while the caller holds `any`. Null when `any` is not one.
  static HostChannelCalc* From(IUnknown* any) noexcept;

  const CalcRecord& Record() const noexcept { return *record_; }
  // The enumerator handed over by the last SetEnumerator (the object keeps one reference).
  Host::ICalcEnum* Enumerator() const noexcept { return enumerator_.get(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return outer_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return outer_->Release(); }

  HRESULT STDMETHODCALLTYPE SetSource(std::int32_t one, const Host::SourceSpec* source,
                                      const Host::OutputScaling* scaling) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved4() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetParameterText(ITarnString* text) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetEnumerator(IUnknown* creator, std::int32_t channel,
                                          IUnknown* dataSource,
                                          Host::ICalcEnum* enumerator) noexcept override;

private:
  // The non-delegating IUnknown that controls the object's life.
  struct Inner final : IUnknown {
    HostChannelCalc* self;
    explicit Inner(HostChannelCalc* s) : self(s) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
  };

  HostChannelCalc(IUnknown* outer, std::shared_ptr<CalcRecord> record);
  ~HostChannelCalc() = default;

  Inner inner_{this};
  LONG refCount_ = 1;
  IUnknown* outer_; // the controlling object; not owned (it owns this object)
  std::shared_ptr<CalcRecord> record_;
  Tarn::ComPtr<Host::ICalcEnum> enumerator_;
};

} // namespace Vela

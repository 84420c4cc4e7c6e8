#pragma once
#include <memory>
#include <vector>

#include "ChannelDataSource.h"
#include "HostRecords.h"
#include "HostSelection.h"
#include "Recording.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's document object over a recording, as extensions receive it: the channels' trace
// colours, display ranges and information, one selection object and one channel data source,
// the face that receives messages (each is recorded), and the print service.
class HostDocument final : public Tarn::ComObject<HostDocument, Host::IHostDocument,
                                                  Host::IDocumentTarget, Host::IVelaPrintService> {
public:
  // A new document with one reference, owned by the caller.
  static HostDocument* Create(std::shared_ptr<Recording> recording);

  Recording& Rec() noexcept { return *recording_; }
  const std::shared_ptr<Recording>& SharedRecording() const noexcept { return recording_; }
  HostSelection& SelectionObject() noexcept { return *selection_; }
  // The messages received, in order.
  const std::vector<Delivery>& Received() const noexcept { return received_; }
  // The payloads of the display-range messages (Host::kDisplayRangeMessage) among the messages
  // received from the `from`-th on, in order; one with a payload of another size is passed over.
  std::vector<Host::DisplayRangePayload> DisplayRanges(std::size_t from = 0) const;

  // IHostDocument
  HRESULT STDMETHODCALLTYPE GetTraceColour(std::int32_t channel,
                                           COLORREF* colour) noexcept override;
  HRESULT STDMETHODCALLTYPE GetDisplayRange(std::int32_t zero, std::int32_t channel,
                                            std::int32_t two, double* top,
                                            double* bottom) noexcept override;
  HRESULT STDMETHODCALLTYPE GetChannelInfo(std::int32_t zero, std::int32_t channel,
                                           Host::IChannelInformation** info) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved6() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSelection(Host::IHostSelection** selection) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved9() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved10() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved11() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved12() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved13() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved14() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved15() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved16() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved17() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved18() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved19() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved20() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved21() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved22() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved23() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved24() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved25() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved26() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved27() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved28() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved29() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved30() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved31() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved32() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved33() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved34() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved35() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved36() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved37() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved38() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved39() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved40() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved41() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved42() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved43() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved44() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved45() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved46() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved47() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved48() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved49() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved50() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved51() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved52() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved53() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDataSource(std::uint32_t kind,
                                          Host::IChannelDataSource** source) noexcept override;
  // IDocumentTarget
  HRESULT STDMETHODCALLTYPE Receive(IUnknown* message) noexcept override;
  // IVelaPrintService: a new print manager for each request.
  HRESULT STDMETHODCALLTYPE GetPrintManager(Host::IVelaPrintManager** manager) noexcept override;

private:
  using Base = Tarn::ComObject<HostDocument, Host::IHostDocument, Host::IDocumentTarget,
                               Host::IVelaPrintService>;
  friend Base;
  HostDocument() = default;
  ~HostDocument() = default;
  bool IsChannel(std::int32_t channel) const noexcept;

  std::shared_ptr<Recording> recording_;
  Tarn::ComPtr<HostSelection> selection_;
  Tarn::ComPtr<ChannelDataSource> source_;
  std::vector<Delivery> received_;
};

} // namespace Vela

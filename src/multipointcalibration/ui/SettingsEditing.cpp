#include "multipointcalibration/ui/SettingsEditing.h"

#include <atomic>
#include <optional>
#include <string>

#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "multipointcalibration/SelectionTrim.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "window/win/MessageBox.h"

namespace MPCalibration {
namespace {

constexpr std::uint32_t kCaptionString = 250;          // "Multipoint Calibration"
constexpr std::uint32_t kSelectionTrimmedString = 274; // "The selection extends over ..."
constexpr std::uint32_t kUnitsConversionString = 279;  // "Units Conversion is active ..."

// The code the document's display-range message carries, and the range it gives: the whole of
// the host's internal scale, which the output scaling maps onto the settings' range.
constexpr std::int32_t kDisplayRangeCode = 817;
constexpr double kDisplayRangeTop = 32000.0;
constexpr double kDisplayRangeBottom = -32000.0;

std::atomic<CalibrationDialogRunner> installedRunner{nullptr};

void Tell(HWND owner, std::uint32_t textId, UINT icon) {
  (void)Tarn::Window::ShowMessageBox(owner, Tarn::ModuleString(textId),
                                     Tarn::ModuleString(kCaptionString), MB_OK | icon);
}

// The selection as the host reports it; nothing when there is none. The fields are preset to
// 0x7FFFFFFF, so a host that claims a selection but writes no extent gives none.
std::optional<SelectionExtent> ReadSelection(Host::IHostSelection& selection) {
  BOOL exists = FALSE;
  Tarn::ThrowIfFailed(selection.HasSelection(&exists));
  if (!exists)
    return std::nullopt;
  SelectionExtent extent{Host::kToBlockEnd, Host::kToBlockEnd, Host::kToBlockEnd,
                         Host::kToBlockEnd};
  if (Tarn::ThrowIfFailed(selection.GetExtent(&extent.startPosition, &extent.startBlock,
                                              &extent.endPosition, &extent.endBlock)) != S_OK ||
      extent.startBlock == Host::kToBlockEnd)
    return std::nullopt;
  return extent;
}

bool UnitsConversionActive(Host::IChannelDataSource& source, std::int32_t block,
                           std::int32_t channel) {
  Tarn::ComPtr<Host::IChannelSettings> settings;
  Tarn::ThrowIfFailed(
      source.GetChannelSettings(Host::kChannelSettingsKind, block, channel, settings.put()));
  if (!settings)
    throw Tarn::XHResult(E_POINTER);
  BOOL active = FALSE;
  Tarn::ThrowIfFailed(settings->IsUnitsConversionActive(&active));
  return active != FALSE;
}

Tarn::ComPtr<Host::IUnitCollection> HostUnitList() {
  Tarn::ComPtr<Host::IUnitCollection> list;
  Tarn::ThrowIfFailed(HostServices::UnitListService()->GetUnitList(list.put()));
  return list;
}

// Tells the document, through the host's message factory and dispatcher, that the channel's
// display range follows the new settings.
void SendDisplayRange(IUnknown& document, std::int32_t channel) {
  const Host::DisplayRangePayload payload{kDisplayRangeCode, channel, kDisplayRangeTop,
                                          kDisplayRangeBottom};
  Tarn::ComPtr<IUnknown> message;
  Tarn::ThrowIfFailed(HostServices::MessageFactory()->MakeMessage(
      Host::kDisplayRangeMessage, 0, &payload, sizeof payload, message.put()));
  Tarn::ComPtr<IUnknown> target;
  Tarn::ThrowIfFailed(document.QueryInterface(Host::IID_IDocumentTarget, target.put_void()));
  Tarn::ThrowIfFailed(HostServices::MessageDispatcher()->Deliver(target.get(), message.get()));
}

HRESULT Edit(HWND parent, IUnknown& document, std::int32_t channel, Host::IPersistObject* existing,
             Host::IPersistObject*& out) {
  const CalibrationDialogRunner run = installedRunner.load();
  if (!run)
    return E_NOTIMPL;
  Tarn::ComPtr<MPCalibrationExt::Settings> settings;
  if (existing) {
    const MPCalibrationExt::Settings* current =
        MPCalibrationExt::Settings::FromPersistObject(existing);
    if (!current)
      return E_INVALIDARG;
    settings = MPCalibrationExt::Settings::Create(current->Record());
  } else {
    CalibrationSettings fresh;
    fresh.sourceChannel = channel;
    settings = MPCalibrationExt::Settings::Create(fresh);
  }

  Tarn::ComPtr<Host::IHostDocument> host;
  Tarn::ThrowIfFailed(document.QueryInterface(Host::IID_IHostDocument, host.put_void()));
  Tarn::ComPtr<Host::IHostSelection> selection;
  Tarn::ThrowIfFailed(host->GetSelection(selection.put()));
  Tarn::ComPtr<Host::IChannelDataSource> source;
  Tarn::ThrowIfFailed(host->GetDataSource(Host::kDataKindDefault, source.put()));
  if (!selection || !source)
    return E_POINTER;

  const std::optional<SelectionExtent> selected = ReadSelection(*selection);
  if (UnitsConversionActive(*source, selected ? selected->startBlock : -2, channel)) {
    Tell(parent, kUnitsConversionString, MB_ICONERROR);
    return E_FAIL;
  }
  if (selected && selected->startBlock != selected->endBlock) {
    std::int32_t length = 0;
    Tarn::ThrowIfFailed(source->GetBlockLength(selected->startBlock, &length));
    if (const auto cut = TrimToFirstBlock(*selected, length)) {
      Tarn::ThrowIfFailed(selection->SetExtent(cut->startPosition, cut->startBlock,
                                               cut->endPosition, cut->endBlock));
      Tell(parent, kSelectionTrimmedString, MB_ICONWARNING);
    }
  }

  const Tarn::ComPtr<Host::IUnitCollection> units = HostUnitList();
  const INT_PTR answer =
      run(parent, channel, units.get(), host.get(), selection.get(), settings->Record());
  // Only a confirmed dialog hands settings back. 0 and -1 are what a dialog that could not be
  // made answers; that is a failure of its own, apart from E_FAIL, which the user was told of.
  if (answer == 0 || answer == -1)
    return E_UNEXPECTED;
  if (answer != IDOK)
    return S_FALSE;

  out = settings.release();
  try {
    SendDisplayRange(document, channel);
  } catch (...) {
    // The user's settings stand: a host that cannot take the message keeps its display range.
  }
  return S_OK;
}

} // namespace

CalibrationDialogRunner SetCalibrationDialogRunner(CalibrationDialogRunner runner) noexcept {
  return installedRunner.exchange(runner);
}

HRESULT EditCalibrationSettings(HWND parent, IUnknown* document, std::int32_t channel,
                                Host::IPersistObject* existing,
                                Host::IPersistObject** out) noexcept {
  if (!document || !out)
    return E_INVALIDARG;
  return Tarn::Guard([&] { return Edit(parent, *document, channel, existing, *out); });
}

} // namespace MPCalibration

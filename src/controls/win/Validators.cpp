#include "controls/win/Validators.h"

#include "controls/NumberText.h"
#include "controls/win/ErrorProvider.h"
#include "controls/win/HostTexts.h"
#include "foundation/ModuleStrings.h"
#include "window/win/MessageBox.h"

#include <cstdint>
#include <cstring>

namespace TarnControls {
namespace {

constexpr std::uint32_t kCaptionId = 250; // "Multipoint Calibration"

void ReportOn(ErrorProvider& provider, const std::wstring& text) {
  provider.SetTitle(RangeErrorTitle());
  provider.SetText(text);
  provider.Show(true);
}

} // namespace

void ShowRangeMessage(HWND field, const std::wstring& text) {
  HWND owner = ::GetActiveWindow();
  if (!owner && field)
    owner = ::GetAncestor(field, GA_ROOT);
  const UINT modality = owner ? MB_APPLMODAL : MB_TASKMODAL;
  Tarn::Window::ShowMessageBox(owner, text, Tarn::ModuleString(kCaptionId),
                               MB_OK | MB_ICONEXCLAMATION | modality);
}

TarnRangeValidator::TarnRangeValidator(long min, long max) noexcept
    : range_{static_cast<std::int32_t>(min), static_cast<std::int32_t>(max)} {}

bool TarnRangeValidator::IsValidInput(wchar_t c) const {
  return WholeFilterCharacters().find(c) != std::wstring::npos;
}

bool TarnRangeValidator::IsValid(std::wstring_view text) const {
  return IsValidWholeText(text, range_);
}

void TarnRangeValidator::Error(HWND field) {
  ShowRangeMessage(field, RangeMessage(RangeErrorText(), range_));
}

std::size_t TarnRangeValidator::Transfer(std::wstring& text, void* buffer,
                                         TransferDirection direction) {
  if (!TransferEnabled())
    return 0;
  std::int32_t value = 0;
  if (direction == TransferDirection::Get) {
    value = static_cast<std::int32_t>(ParseWholeNumber(text).value);
    std::memcpy(buffer, &value, sizeof value);
  } else {
    std::memcpy(&value, buffer, sizeof value);
    text = std::to_wstring(value);
  }
  return sizeof value;
}

void LongRangeValidatorErrProv::Error(HWND field) {
  if (!mErrorProvider) {
    TarnRangeValidator::Error(field);
    return;
  }
  ReportOn(*mErrorProvider, RangeMessage(RangeErrorBody(), Range()));
}

FltRangeValidator::FltRangeValidator(double max, double min)
    : range_{min, max}, separator_(UserDecimalSeparator()),
      filter_(DecimalFilterCharacters(separator_)) {}

bool FltRangeValidator::IsValidInput(wchar_t c) const {
  return filter_.find(c) != std::wstring::npos;
}

bool FltRangeValidator::IsValid(std::wstring_view text) const {
  return IsValidDecimalText(text, range_, separator_);
}

void FltRangeValidator::Error(HWND field) {
  ShowRangeMessage(field, RangeMessage(RangeErrorText(), range_, separator_));
}

std::size_t FltRangeValidator::Transfer(std::wstring& text, void* buffer,
                                        TransferDirection direction) {
  if (!TransferEnabled())
    return 0;
  double value = 0.0;
  if (direction == TransferDirection::Get) {
    value = DecimalTransferValue(text, separator_);
    std::memcpy(buffer, &value, sizeof value);
  } else {
    std::memcpy(&value, buffer, sizeof value);
    text = FormatDisplayedNumber(value, separator_);
  }
  return sizeof value;
}

void FltRangeValidatorErrProv::Error(HWND field) {
  if (!mErrorProvider) {
    FltRangeValidator::Error(field);
    return;
  }
  ReportOn(*mErrorProvider, RangeMessage(RangeErrorBody(), Range(), Separator()));
}

} // namespace TarnControls

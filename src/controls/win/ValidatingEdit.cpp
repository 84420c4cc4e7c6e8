#include "controls/win/ValidatingEdit.h"

#include "controls/NumberText.h"
#include "controls/win/ErrorProvider.h"
#include "controls/win/HostTexts.h"
#include "window/win/ProcedureGuard.h"
#include "window/win/WindowUtil.h"

#include <commctrl.h>

#include <limits>

namespace TarnControls {

ValidatingEdit::~ValidatingEdit() {
  DetachParent();
}

bool ValidatingEdit::Attach(HWND dialog, int id) {
  if (!ControlSubclass::Attach(dialog, id))
    return false;
  ::SendMessageW(hwnd(), EM_LIMITTEXT, kTextLimit, 0);
  // The change notification goes to the parent: listen there for this edit's.
  if (::SetWindowSubclass(dialog, &ValidatingEdit::ParentProcedure,
                          reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
    parent_ = dialog;
  return true;
}

void ValidatingEdit::DetachParent() noexcept {
  if (parent_)
    ::RemoveWindowSubclass(parent_, &ValidatingEdit::ParentProcedure,
                           reinterpret_cast<UINT_PTR>(this));
  parent_ = nullptr;
}

LRESULT CALLBACK ValidatingEdit::ParentProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<ValidatingEdit*>(data);
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && self->hwnd() &&
      reinterpret_cast<HWND>(lParam) == self->hwnd()) {
    try {
      self->Revalidate();
    } catch (...) {
      Tarn::Window::LogCaughtInProcedure(message);
    }
  }
  if (message == WM_NCDESTROY) {
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    self->DetachParent();
    return result;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT ValidatingEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    const auto c = static_cast<wchar_t>(wParam);
    if (mValidator && c >= L' ' && !mValidator->IsValidInput(c)) {
      ::MessageBeep(MB_OK);
      return 0;
    }
    const LRESULT result = DefaultHandle(message, wParam, lParam);
    Revalidate();
    return result;
  }
  if (message == WM_NCDESTROY)
    DetachParent();
  return DefaultHandle(message, wParam, lParam);
}

std::wstring ValidatingEdit::Text() const {
  return Tarn::Window::WindowText(hwnd());
}

void ValidatingEdit::SetText(const std::wstring& text) {
  ::SetWindowTextW(hwnd(), text.c_str());
}

void ValidatingEdit::Revalidate() {
  if (!mErrorProvider || !hwnd())
    return;
  if (IsTextValid() && (!mValidator || mValidator->IsValid(Text()))) {
    mErrorProvider->SetTitle(L"");
    mErrorProvider->SetText(L"");
    mErrorProvider->Show(false);
  } else if (mValidator) {
    mValidator->Error(hwnd());
  }
}

bool ValidatingEdit::Validate() {
  if (!mValidator || mValidator->IsValid(Text()))
    return true;
  if (!mErrorProvider)
    mValidator->Error(hwnd());
  return false;
}

bool IntEdit::IsTextValid() const {
  return IsWholeNumberText(Text());
}

void IntEdit::SetErrorProvider(ErrorProvider* provider) {
  mErrorProvider = provider;
  WholeRange range{std::numeric_limits<std::int32_t>::min(),
                   std::numeric_limits<std::int32_t>::max()};
  if (auto* current = dynamic_cast<TarnRangeValidator*>(GetValidator()))
    range = current->Range();
  if (provider)
    SetValidator(std::make_unique<LongRangeValidatorErrProv>(range.min, range.max, provider));
  else
    SetValidator(std::make_unique<TarnRangeValidator>(range.min, range.max));
}

long IntEdit::GetValue() const {
  return ParseWholeNumber(Text()).value;
}

void IntEdit::SetValue(long value) {
  SetText(std::to_wstring(value));
}

bool DoubleEdit::IsTextValid() const {
  return IsDecimalNumberText(Text(), UserDecimalSeparator());
}

void DoubleEdit::SetErrorProvider(ErrorProvider* provider) {
  mErrorProvider = provider;
  DecimalRange range{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  if (auto* current = dynamic_cast<FltRangeValidator*>(GetValidator()))
    range = current->Range();
  if (provider)
    SetValidator(std::make_unique<FltRangeValidatorErrProv>(range.max, range.min, provider));
  else
    SetValidator(std::make_unique<FltRangeValidator>(range.max, range.min));
}

void DoubleEdit::SetValue(double value) {
  SetText(FormatEditValue(value, mPrecision, mFixed, UserDecimalSeparator()));
}

double DoubleEdit::GetValue() const {
  const std::wstring text = Text().substr(0, kParsedTextLength);
  return RoundToSignificant(ParseDisplayedNumber(text, UserDecimalSeparator()).value, mPrecision);
}

} // namespace TarnControls

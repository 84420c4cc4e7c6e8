#include "window/win/Dialog.h"

#include "window/win/Module.h"
#include "window/win/ProcedureGuard.h"

#include <utility>

namespace Tarn::Window {
namespace {

// The dialog whose window is being made on this thread: messages that come before
// WM_INITDIALOG (which carries the object) find it here.
thread_local Dialog* t_creating = nullptr;

class CreatingScope {
public:
  explicit CreatingScope(Dialog* dialog) noexcept : previous_(std::exchange(t_creating, dialog)) {}
  CreatingScope(const CreatingScope&) = delete;
  CreatingScope& operator=(const CreatingScope&) = delete;
  ~CreatingScope() { t_creating = previous_; }

private:
  Dialog* previous_;
};

} // namespace

Dialog::~Dialog() {
  if (hwnd_ && !modal_) {
    const HWND hwnd = std::exchange(hwnd_, nullptr);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    ::DestroyWindow(hwnd);
  }
}

const DLGTEMPLATE* Dialog::FindTemplate() const noexcept {
  const LANGID language = source_.language ? source_.language : ::GetThreadUILanguage();
  const auto bytes = FindResourceBytes(source_.module, RT_DIALOG, source_.name, language);
  return bytes.size() >= sizeof(DLGTEMPLATE) ? reinterpret_cast<const DLGTEMPLATE*>(bytes.data())
                                             : nullptr;
}

INT_PTR Dialog::DoModal(HWND parent) noexcept {
  const DLGTEMPLATE* dialogTemplate = FindTemplate();
  if (!dialogTemplate || hwnd_)
    return -1;
  modal_ = true;
  result_ = 0;
  auto context = ActivateModuleContext();
  CreatingScope creating(this);
  return ::DialogBoxIndirectParamW(ModuleInstance(), dialogTemplate, parent, &Dialog::Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

HWND Dialog::Create(HWND parent) noexcept {
  const DLGTEMPLATE* dialogTemplate = FindTemplate();
  if (!dialogTemplate || hwnd_)
    return nullptr;
  modal_ = false;
  result_ = 0;
  auto context = ActivateModuleContext();
  CreatingScope creating(this);
  return ::CreateDialogIndirectParamW(ModuleInstance(), dialogTemplate, parent, &Dialog::Procedure,
                                      reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) noexcept {
  result_ = result;
  if (!hwnd_)
    return;
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    ::DestroyWindow(hwnd_);
}

Dialog* Dialog::FromHandle(HWND hwnd) noexcept {
  return reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
}

void Dialog::SetMessageResult(LRESULT result) noexcept {
  ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_INITDIALOG:
    return OnInitDialog() ? TRUE : FALSE;
  case WM_COMMAND:
    return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
  default:
    return FALSE;
  }
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK) {
    if (CanClose())
      End(IDOK);
    return true;
  }
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return true;
  }
  return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Dialog* self = FromHandle(hwnd);
  if (!self) {
    if (message == WM_INITDIALOG)
      self = reinterpret_cast<Dialog*>(lParam);
    else if (t_creating && !t_creating->hwnd_)
      self = t_creating;
    if (!self)
      return FALSE;
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }
  INT_PTR result = FALSE;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    LogCaughtInProcedure(message);
    RecoverFromFailedMessage(hwnd, message);
    result = message == WM_PAINT ? TRUE : FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

} // namespace Tarn::Window

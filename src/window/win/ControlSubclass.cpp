#include "window/win/ControlSubclass.h"

#include "window/win/ProcedureGuard.h"

#include <commctrl.h>

namespace Tarn::Window {
bool ControlSubclass::Attach(HWND control) noexcept {
  if (!control || hwnd_)
    return false;
  // The object is both the identifier and the data, so that two objects can share a control.
  if (!::SetWindowSubclass(control, &ControlSubclass::Procedure, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = control;
  return true;
}

void ControlSubclass::Detach() noexcept {
  if (hwnd_)
    ::RemoveWindowSubclass(hwnd_, &ControlSubclass::Procedure, reinterpret_cast<UINT_PTR>(this));
  hwnd_ = nullptr;
}

LRESULT ControlSubclass::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandle(message, wParam, lParam);
}

LRESULT ControlSubclass::DefaultHandle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<ControlSubclass*>(data);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    LogCaughtInProcedure(message);
    RecoverFromFailedMessage(hwnd, message);
    result = message == WM_PAINT ? 0 : ::DefSubclassProc(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY)
    self->Detach();
  return result;
}

} // namespace Tarn::Window

#pragma once
#include <windows.h>

namespace Tarn::Window {

// Subclasses one control (typically of a dialog template) with SetWindowSubclass; the object is
// the subclass's reference data. Derived classes translate messages in HandleMessage and pass
// the rest to DefaultHandle. The subclass is removed at WM_NCDESTROY or when the object dies. An
// exception from a handler is logged and the message gets the control's own handling.
class ControlSubclass {
public:
  ControlSubclass() = default;
  ControlSubclass(const ControlSubclass&) = delete;
  ControlSubclass& operator=(const ControlSubclass&) = delete;
  virtual ~ControlSubclass() { Detach(); }

  bool Attach(HWND control) noexcept;
  bool Attach(HWND dialog, int id) noexcept { return Attach(::GetDlgItem(dialog, id)); }
  void Detach() noexcept;
  HWND hwnd() const noexcept { return hwnd_; }

protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR data) noexcept;
  HWND hwnd_ = nullptr;
};

} // namespace Tarn::Window

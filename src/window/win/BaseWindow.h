#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"
#include "window/win/Module.h"
#include "window/win/ProcedureGuard.h"

namespace Tarn::Window {

// A window of a class of the module's own. T derives from BaseWindow<T>, names its class with
// `static constexpr const wchar_t* ClassName` and translates messages in
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, returning DefaultHandle(...) for the rest.
// The object lives in the window's GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY; the object
// owns the window and destroys it when it dies. An exception from HandleMessage is logged and
// the message gets its default handling.
template <class T> class BaseWindow {
public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  // The window no longer reaches the derived part, which is already gone.
  ~BaseWindow() { Destroy(); }

  HWND hwnd() const noexcept { return hwnd_.get(); }
  static T* FromHandle(HWND hwnd) noexcept {
    return reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  void Destroy() noexcept {
    if (hwnd_) {
      ::SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, 0);
      hwnd_.reset();
    }
  }

protected:
  // Registers the class in the module once; later calls are answered from the class table.
  static bool RegisterWindowClass(UINT style = CS_HREDRAW | CS_VREDRAW, HBRUSH background = nullptr,
                                  HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW)) noexcept {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(ModuleInstance(), T::ClassName, &existing))
      return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &BaseWindow::WindowProcedure;
    wc.hInstance = ModuleInstance();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = T::ClassName;
    return ::RegisterClassExW(&wc) != 0;
  }

  // Creates the window (registering the class with defaults when needed); null on failure.
  HWND CreateWindowHandle(DWORD exStyle, LPCWSTR title, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menuOrId = nullptr) noexcept {
    if (hwnd_ || !RegisterWindowClass())
      return nullptr;
    auto context = ActivateModuleContext();
    return ::CreateWindowExW(exStyle, T::ClassName, title, style, x, y, width, height, parent,
                             menuOrId, ModuleInstance(), static_cast<T*>(this));
  }

  LRESULT DefaultHandle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcW(hwnd_.get(), message, wParam, lParam);
  }

private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      static_cast<BaseWindow*>(self)->hwnd_.reset(hwnd);
    } else {
      self = FromHandle(hwnd);
    }
    if (!self)
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      LogCaughtInProcedure(message);
      RecoverFromFailedMessage(hwnd, message);
      result = message == WM_PAINT ? 0 : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      (void)static_cast<BaseWindow*>(self)->hwnd_.release();
    }
    return result;
  }

  unique_hwnd hwnd_;
};

} // namespace Tarn::Window

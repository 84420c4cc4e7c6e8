#include "window/win/WindowUtil.h"

namespace Tarn::Window {

Rect ClientRect(HWND hwnd) noexcept {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  return ToRect(r);
}

Rect ScreenRect(HWND hwnd) noexcept {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return ToRect(r);
}

Rect RectInParent(HWND child) noexcept {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return ToRect(r);
}

Rect WorkAreaAt(Point point) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR monitor = ::MonitorFromPoint({point.x, point.y}, MONITOR_DEFAULTTONEAREST);
  if (!monitor || !::GetMonitorInfoW(monitor, &info))
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return ToRect(info.rcWork);
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

} // namespace Tarn::Window

#include "window/win/Dpi.h"

#include "foundation/win/UniqueHandle.h"

#include <shellscalingapi.h>

namespace Tarn::Window {
namespace {

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

// shcore.dll exists from Windows 8.1 on; it stays loaded for the life of the process.
GetDpiForMonitorFunction MonitorDpiFunction() noexcept {
  static const GetDpiForMonitorFunction function = [] {
    HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return function;
}

} // namespace

int SystemDpi() noexcept {
  static const int dpi = [] {
    const auto screen = unique_window_dc::Get(nullptr);
    const int value = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return value > 0 ? value : kBaseDpi;
  }();
  return dpi;
}

int DpiOfWindow(HWND hwnd) noexcept {
  if (const auto function = MonitorDpiFunction()) {
    UINT x = 0;
    UINT y = 0;
    const HMONITOR monitor = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    if (monitor && SUCCEEDED(function(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0)
      return static_cast<int>(y);
  }
  return SystemDpi();
}

} // namespace Tarn::Window

#pragma once
#include <windows.h>

#include "window/Geometry.h"

namespace Tarn::Window {

// The effective DPI of the monitor that holds the window (GetDpiForMonitor, looked up at run time
// in shcore.dll); where that is missing or fails, SystemDpi().
int DpiOfWindow(HWND hwnd) noexcept;
// The screen's LOGPIXELSY, read once per process.
int SystemDpi() noexcept;
// `value` pixels at 96 dpi for the window's DPI.
inline int ScaleForWindow(HWND hwnd, int value) noexcept {
  return Scale(value, DpiOfWindow(hwnd));
}

} // namespace Tarn::Window

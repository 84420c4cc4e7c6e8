#pragma once
#include <windows.h>

#include "window/Geometry.h"

#include <string>

namespace Tarn::Window {

inline Rect ToRect(const RECT& r) noexcept {
  return {r.left, r.top, r.right, r.bottom};
}
inline RECT ToRECT(const Rect& r) noexcept {
  return {r.left, r.top, r.right, r.bottom};
}
inline Point ToPoint(POINT p) noexcept {
  return {p.x, p.y};
}

Rect ClientRect(HWND hwnd) noexcept;
// The window's rectangle in screen coordinates.
Rect ScreenRect(HWND hwnd) noexcept;
// A child's rectangle in its parent's client coordinates.
Rect RectInParent(HWND child) noexcept;
// The work area of the monitor nearest `point` (screen coordinates).
Rect WorkAreaAt(Point point) noexcept;
// The window's whole text.
std::wstring WindowText(HWND hwnd);

} // namespace Tarn::Window

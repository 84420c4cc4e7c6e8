#pragma once

namespace TarnControls {

// Plain pixel geometry for the layout functions of the controls, so they can be computed and
// tested without a window.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const noexcept { return right - left; }
  int height() const noexcept { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// value * dpi / 96, rounded half away from zero (as MulDiv does).
int ScaleForDpi(int value, int dpi) noexcept;

} // namespace TarnControls

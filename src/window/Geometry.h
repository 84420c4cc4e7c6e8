#pragma once
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

// Layout arithmetic of the window layer: plain values and pure functions, no window system, so
// every placement rule is tested natively with literal pixel values.
namespace Tarn::Window {

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

// Right and bottom are exclusive, as in Win32's RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const noexcept { return right - left; }
  int Height() const noexcept { return bottom - top; }
  Size Extent() const noexcept { return {Width(), Height()}; }
  Point TopLeft() const noexcept { return {left, top}; }
  Point Center() const noexcept;
  bool IsEmpty() const noexcept { return right <= left || bottom <= top; }
  bool Contains(Point p) const noexcept;
  // Whether `inner` lies wholly inside this rectangle (edges may touch).
  bool Contains(const Rect& inner) const noexcept;
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kBaseDpi = 96;

// `value` pixels at 96 dpi scaled to `dpi`, rounded half away from zero (as MulDiv does).
int Scale(int value, int dpi) noexcept;
Size Scale(Size value, int dpi) noexcept;

Rect MakeRect(Point topLeft, Size size) noexcept;
Rect Offset(const Rect& r, int dx, int dy) noexcept;
Rect Inflate(const Rect& r, int dx, int dy) noexcept;
// Empty (all zero) when the two do not overlap.
Rect Intersect(const Rect& a, const Rect& b) noexcept;
bool Overlap(const Rect& a, const Rect& b) noexcept;
// A rectangle of `size` centred in `outer`; odd leftovers go to the right and bottom.
Rect CenterIn(Size size, const Rect& outer) noexcept;
// A square of side `side` with the left edge of `r` and its bottom edge on the bottom of `r`.
Rect SquareOnBottomLeft(const Rect& r, int side) noexcept;
// Moves `r` (its size kept) the least distance that brings it inside `area`; a rectangle
// larger than the area keeps the area's left or top edge.
Rect KeepInside(const Rect& r, const Rect& area) noexcept;

// Where a hover popup of `size` shown for `anchor` goes: its top-left at anchor + (2, 2); its right
// edge at least 10 pixels inside the right edge of `workArea` (but never left of the area); when
// its bottom would pass the work area's bottom, its bottom 3 pixels above the anchor instead.
Rect PlacePopup(Point anchor, Size size, const Rect& workArea) noexcept;

// Layout faults of the children of one window: a child not wholly inside `client`, or two
// children that overlap. Indices refer to `children`.
struct LayoutFaults {
  std::vector<std::size_t> outside;
  std::vector<std::pair<std::size_t, std::size_t>> overlapping;
  bool empty() const noexcept { return outside.empty() && overlapping.empty(); }
};
LayoutFaults FindLayoutFaults(const Rect& client, std::span<const Rect> children);

} // namespace Tarn::Window

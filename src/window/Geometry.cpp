#include "window/Geometry.h"

#include <algorithm>
#include <cstdint>

namespace Tarn::Window {

Point Rect::Center() const noexcept {
  return {left + Width() / 2, top + Height() / 2};
}

bool Rect::Contains(Point p) const noexcept {
  return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
}

bool Rect::Contains(const Rect& inner) const noexcept {
  return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
}

int Scale(int value, int dpi) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = kBaseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi
                                       : -((-product + half) / kBaseDpi));
}

Size Scale(Size value, int dpi) noexcept {
  return {Scale(value.cx, dpi), Scale(value.cy, dpi)};
}

Rect MakeRect(Point topLeft, Size size) noexcept {
  return {topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy};
}

Rect Offset(const Rect& r, int dx, int dy) noexcept {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Rect Inflate(const Rect& r, int dx, int dy) noexcept {
  return {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

Rect Intersect(const Rect& a, const Rect& b) noexcept {
  const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

bool Overlap(const Rect& a, const Rect& b) noexcept {
  return !Intersect(a, b).IsEmpty();
}

Rect CenterIn(Size size, const Rect& outer) noexcept {
  return MakeRect(
      {outer.left + (outer.Width() - size.cx) / 2, outer.top + (outer.Height() - size.cy) / 2},
      size);
}

Rect SquareOnBottomLeft(const Rect& r, int side) noexcept {
  return {r.left, r.bottom - side, r.left + side, r.bottom};
}

Rect KeepInside(const Rect& r, const Rect& area) noexcept {
  int dx = 0;
  int dy = 0;
  if (r.right > area.right)
    dx = area.right - r.right;
  if (r.left + dx < area.left)
    dx = area.left - r.left;
  if (r.bottom > area.bottom)
    dy = area.bottom - r.bottom;
  if (r.top + dy < area.top)
    dy = area.top - r.top;
  return Offset(r, dx, dy);
}

Rect PlacePopup(Point anchor, Size size, const Rect& workArea) noexcept {
  Rect r = MakeRect({anchor.x + 2, anchor.y + 2}, size);
  const int rightLimit = workArea.right - 10;
  if (r.right > rightLimit)
    r = Offset(r, std::max(rightLimit - r.right, workArea.left - r.left), 0);
  if (r.bottom > workArea.bottom)
    r = MakeRect({r.left, anchor.y - 3 - size.cy}, size);
  return r;
}

LayoutFaults FindLayoutFaults(const Rect& client, std::span<const Rect> children) {
  LayoutFaults faults;
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (!client.Contains(children[i]))
      faults.outside.push_back(i);
    for (std::size_t j = i + 1; j < children.size(); ++j)
      if (Overlap(children[i], children[j]))
        faults.overlapping.emplace_back(i, j);
  }
  return faults;
}

} // namespace Tarn::Window

#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"
#include "plotting/PlotGeometry.h"

#include <optional>

namespace GUILib {

// The graph's tracking cursor: bitmap resource 100 drawn with its hot spot on a point, its grey
// background left out. At another DPI the bitmap is stretched.
class CBitmapCursor {
public:
  static constexpr int kResource = 100;
  static constexpr Point kHotSpot{8, 8};
  static constexpr int kSize = 17;

  CBitmapCursor() noexcept;

  void Place(Point at) noexcept { position_ = at; }
  void Remove() noexcept { position_.reset(); }
  const std::optional<Point>& Position() const noexcept { return position_; }

  // The pixels the cursor covers at `dpi` when placed on `at`.
  static Rect Bounds(Point at, int dpi) noexcept;
  void Draw(HDC dc) const noexcept;

private:
  Tarn::unique_hbitmap bitmap_;
  std::optional<Point> position_;
};

} // namespace GUILib

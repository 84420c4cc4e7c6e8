#pragma once
#include "window/Geometry.h"

namespace TarnControls {

using Tarn::Window::Point;
using Tarn::Window::Rect;
using Tarn::Window::Size;

// The hover popup: text measured with word-break in a box this wide.
constexpr int kPopupTextWidth = 300;

// The popup's screen rectangle for text of size `text` shown at `at`: the text plus 5 by 2
// pixels, placed at `at` + (2, 2), moved left so that its right edge stays 10 pixels inside the
// work area, and above `at` (its bottom 3 pixels above) when it would pass the work area's bottom.
Rect PopupRect(Point at, Size text, const Rect& workArea) noexcept;

// What a balloon shows, measured by the caller in its fonts (a zero size for a missing part).
struct BalloonContent {
  Size icon;
  Size title;
  Size text;
  Size link;
};

// The balloon's geometry: a rounded body with a triangular tail whose tip is the anchor. The body
// hangs below the anchor (tail on top) when it fits in the work area, else it stands above it.
struct BalloonLayout {
  Rect window; // screen
  Rect body;   // client coordinates, like everything below
  Point tail[3];
  bool tailOnTop = true;
  int cornerRadius = 0;
  Rect icon;
  Rect title;
  Rect text;
  Rect link;
};

// The metrics of the balloon at 96 dpi.
struct BalloonMetrics {
  static constexpr int margin = 8;
  static constexpr int gap = 6;
  static constexpr int tailHeight = 16;
  static constexpr int tailWidth = 16;
  static constexpr int cornerRadius = 8;
  // Widest text box, for measuring the body text with word-break.
  static constexpr int textWidth = 300;
};

BalloonLayout LayoutBalloon(const BalloonContent& content, Point anchor, const Rect& workArea,
                            int dpi) noexcept;

} // namespace TarnControls

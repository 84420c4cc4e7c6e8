#include "controls/PopupLayout.h"

#include <algorithm>

namespace TarnControls {

Rect PopupRect(Point at, Size text, const Rect& workArea) noexcept {
  const int width = text.cx + 5;
  const int height = text.cy + 2;
  int left = at.x + 2;
  int top = at.y + 2;
  if (left + width > workArea.right - 10)
    left = workArea.right - 10 - width;
  if (top + height > workArea.bottom)
    top = at.y - 3 - height;
  return {left, top, left + width, top + height};
}

BalloonLayout LayoutBalloon(const BalloonContent& content, Point anchor, const Rect& workArea,
                            int dpi) noexcept {
  const int margin = Tarn::Window::Scale(BalloonMetrics::margin, dpi);
  const int gap = Tarn::Window::Scale(BalloonMetrics::gap, dpi);
  const int tailHeight = Tarn::Window::Scale(BalloonMetrics::tailHeight, dpi);
  const int tailWidth = Tarn::Window::Scale(BalloonMetrics::tailWidth, dpi);
  const int radius = Tarn::Window::Scale(BalloonMetrics::cornerRadius, dpi);

  const int iconGap = content.icon.cx > 0 && content.title.cx > 0 ? gap : 0;
  const int headerWidth = content.icon.cx + iconGap + content.title.cx;
  const int headerHeight = std::max(content.icon.cy, content.title.cy);
  const int innerWidth = std::max({headerWidth, content.text.cx, content.link.cx});
  int innerHeight = headerHeight;
  for (const Size& part : {content.text, content.link})
    if (part.cy > 0)
      innerHeight += (innerHeight > 0 ? gap : 0) + part.cy;

  const int bodyWidth = std::max(innerWidth + 2 * margin, 2 * radius + tailWidth);
  const int bodyHeight = innerHeight + 2 * margin;

  BalloonLayout out;
  out.cornerRadius = radius;
  out.tailOnTop = anchor.y + tailHeight + bodyHeight <= workArea.bottom;
  const int top = out.tailOnTop ? anchor.y : anchor.y - tailHeight - bodyHeight;
  // The tail sits near the body's left end; the body moves left to stay in the work area, and
  // the tail's base then slides along it up to the far corner.
  int left = anchor.x - radius - tailWidth / 2;
  left = std::min(left, workArea.right - bodyWidth);
  left = std::max(left, workArea.left);
  out.window = {left, top, left + bodyWidth, top + bodyHeight + tailHeight};

  const int bodyTop = out.tailOnTop ? tailHeight : 0;
  out.body = {0, bodyTop, bodyWidth, bodyTop + bodyHeight};
  const int tipX = anchor.x - left;
  const int baseLeft = std::clamp(tipX - tailWidth / 2, radius, bodyWidth - radius - tailWidth);
  const int baseY = out.tailOnTop ? out.body.top : out.body.bottom;
  const int tipY = out.tailOnTop ? 0 : out.window.Height();
  out.tail[0] = {baseLeft, baseY};
  out.tail[1] = {tipX, tipY};
  out.tail[2] = {baseLeft + tailWidth, baseY};

  const int x = margin;
  int y = bodyTop + margin;
  out.icon = {x, y + (headerHeight - content.icon.cy) / 2, x + content.icon.cx,
              y + (headerHeight - content.icon.cy) / 2 + content.icon.cy};
  const int titleX = x + content.icon.cx + iconGap;
  out.title = {titleX, y + (headerHeight - content.title.cy) / 2, titleX + content.title.cx,
               y + (headerHeight - content.title.cy) / 2 + content.title.cy};
  y += headerHeight;
  auto place = [&](const Size& part) {
    if (part.cy <= 0)
      return Rect{x, y, x, y};
    if (y > bodyTop + margin)
      y += gap;
    const Rect r{x, y, x + part.cx, y + part.cy};
    y += part.cy;
    return r;
  };
  out.text = place(content.text);
  out.link = place(content.link);
  return out;
}

} // namespace TarnControls

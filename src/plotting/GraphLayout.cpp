#include "plotting/GraphLayout.h"

#include <algorithm>
#include <cmath>

namespace GUILib {

CurveWindowLayout LayoutCurveWindow(Rect client, int dpi) noexcept {
  const int l = client.left, t = client.top, r = client.right, b = client.bottom;
  const int left = Tarn::Window::Scale(80, dpi), top = Tarn::Window::Scale(18, dpi);
  const int right = Tarn::Window::Scale(26, dpi), bottom = Tarn::Window::Scale(55, dpi);
  CurveWindowLayout layout;
  layout.graph = {l + left, t + top, r - right, b - bottom};
  layout.verticalScale = {l, t + top, l + left, b - bottom};
  layout.horizontalScale = {l + left, b - bottom, r - right, b};
  const int middle = layout.graph.left + layout.graph.Width() / 2;
  layout.xReadOut = {layout.graph.left, t, middle, t + top};
  layout.yReadOut = {middle, t, layout.graph.right, t + top};
  return layout;
}

bool CanPaintGraph(Rect client) noexcept {
  return client.Width() > 3 && client.Height() > 3;
}

std::array<Point, 3> AxisPolyline(Rect client) noexcept {
  return {{{client.left, client.top},
           {client.left, client.bottom - 1},
           {client.right - 1, client.bottom - 1}}};
}

Point ReadOutAnchor(ReadOutOrientation orientation, unsigned alignment, Rect client) noexcept {
  const unsigned horizontal = alignment & kAlignCentre;
  const int l = client.left, t = client.top, r = client.right, b = client.bottom;
  const bool centred = horizontal == kAlignCentre;
  const bool right = horizontal == kAlignRight;
  switch (orientation) {
  case ReadOutOrientation::Normal:
    return centred ? Point{r / 2, b} : right ? Point{r, b} : Point{0, b};
  case ReadOutOrientation::Up:
    return centred ? Point{r, b / 2} : right ? Point{r, t} : Point{r, 0};
  case ReadOutOrientation::Down:
    return centred ? Point{l, b / 2} : right ? Point{l, b} : Point{l, 0};
  case ReadOutOrientation::UpsideDown:
    return centred ? Point{r / 2, t} : right ? Point{l, t} : Point{0, t};
  }
  return {r / 2, b};
}

Point ColourMenuEntrySize(int checkWidth, int textWidth, int menuHeight) noexcept {
  return {checkWidth + textWidth + menuHeight + 8, menuHeight};
}

ColourMenuEntryParts LayoutColourMenuEntry(Rect item, int checkWidth, int checkHeight) noexcept {
  ColourMenuEntryParts parts;
  parts.checkMark = {item.left + 2, item.top + 2, item.left + 2 + checkWidth,
                     item.top + 2 + checkHeight};
  parts.text = {item.left + checkWidth + 4, item.top + 2, item.right - checkWidth - 4,
                item.bottom - 2};
  parts.swatch = {item.right - item.Height() + 2, item.top + 2, item.right - 2, item.bottom - 2};
  return parts;
}

std::vector<TableColumn> TableColumns(Rect client, std::span<const double> fractions) {
  std::vector<TableColumn> columns;
  columns.reserve(fractions.size());
  int left = client.left;
  for (double fraction : fractions) {
    const double width = std::floor(client.Width() * fraction);
    const int w = std::isfinite(width) && width > 0 ? static_cast<int>(width) : 0;
    columns.push_back({left, w});
    left += w;
  }
  return columns;
}

int TableRowHeight(int textHeight) noexcept {
  return static_cast<int>(textHeight * 1.2);
}

RowSpan TableRowBoundaries(int top, int bottom, double offset, int rowHeight) noexcept {
  if (rowHeight <= 0)
    return {};
  const double first = std::ceil((top - offset) / rowHeight);
  const double last = std::floor((bottom - offset) / rowHeight);
  if (!(first <= last) || !std::isfinite(first) || !std::isfinite(last))
    return {};
  return {static_cast<int>(first), static_cast<int>(last)};
}

Rect TableCell(TableColumn column, int row, int rowHeight, double offset) noexcept {
  const int top = static_cast<int>(row * static_cast<double>(rowHeight) + offset);
  return {column.left, top, column.left + column.width, top + rowHeight};
}

int TableWholeRowsBottom(int top, int bottom, int rowHeight) noexcept {
  if (rowHeight <= 0 || bottom <= top)
    return bottom;
  const int rows = std::max(1, (bottom - top - 1) / rowHeight);
  return std::min(bottom, top + rows * rowHeight + 1);
}

} // namespace GUILib

#include "plotting/win/GridPlot.h"

#include "foundation/win/UniqueHandle.h"
#include "plotting/win/HostAxisScale.h"
#include "plotting/win/SavedDc.h"

namespace GUILib {

namespace {

std::vector<int> Positions(const HostAxisScale* scale, int start, int end) {
  if (!scale)
    return {};
  const auto grid = scale->Grid();
  if (!grid)
    return {};
  return GridPositions(start + grid->first, grid->spacing, start, end);
}

} // namespace

std::vector<int> GridPlot::Columns(Rect plot) const {
  return Positions(horizontal_, plot.left, plot.right);
}

std::vector<int> GridPlot::Rows(Rect plot) const {
  return Positions(vertical_, plot.top, plot.bottom);
}

void GridPlot::Draw(HDC dc, Rect plot) const {
  const std::vector<int> columns = Columns(plot);
  const std::vector<int> rows = Rows(plot);
  if (columns.empty() && rows.empty())
    return;
  if (mode == Intersections) {
    for (int y : rows)
      for (int x : columns)
        ::SetPixelV(dc, x, y, colour);
    return;
  }
  // All lines in one call with an alternate-pixel pen: the dotted look at the cost of one line
  // each.
  std::vector<POINT> points;
  points.reserve(2 * (rows.size() + columns.size()));
  for (int y : rows) {
    points.push_back({plot.left, y});
    points.push_back({plot.right, y});
  }
  for (int x : columns) {
    points.push_back({x, plot.top});
    points.push_back({x, plot.bottom});
  }
  std::vector<DWORD> counts(points.size() / 2, 2);
  const LOGBRUSH brush{BS_SOLID, colour, 0};
  Tarn::unique_hpen pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
  SavedDc saved(dc);
  ::SelectObject(dc, pen.get());
  ::PolyPolyline(dc, points.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

} // namespace GUILib

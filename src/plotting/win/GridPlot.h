#pragma once
#include <windows.h>

#include "plotting/PlotGeometry.h"

#include <vector>

namespace GUILib {

class HostAxisScale;

// The grid behind the plots, on the lines the two scales choose: dotted lines, or single pixels
// where the lines cross.
class GridPlot {
public:
  enum Mode { DottedLines = 0, Intersections = 1 };

  void SetScales(const HostAxisScale* horizontal, const HostAxisScale* vertical) noexcept {
    horizontal_ = horizontal;
    vertical_ = vertical;
  }
  Mode mode = DottedLines;
  COLORREF colour = RGB(166, 202, 240);

  // Grid positions in `dc`'s pixels for the plot rectangle `plot`: x of the vertical lines, y of
  // the horizontal ones. A scale without a grid, or with a spacing that is not a positive
  // number, gives none.
  std::vector<int> Columns(Rect plot) const;
  std::vector<int> Rows(Rect plot) const;
  void Draw(HDC dc, Rect plot) const;

private:
  const HostAxisScale* horizontal_ = nullptr;
  const HostAxisScale* vertical_ = nullptr;
};

} // namespace GUILib

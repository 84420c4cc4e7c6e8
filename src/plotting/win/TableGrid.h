#pragma once
#include <windows.h>

#include <span>

#include "plotting/GraphLayout.h"

namespace GUILib {

// The table's lines: one down the left edge of every column and one across the whole width at
// every row boundary inside the rectangle. Boundaries 0 and 1 (above and below the header) use
// the first pen style, later ones the second; all one pixel wide in the grid colour.
class TableGrid {
public:
  int firstPenStyle = PS_SOLID;
  int secondPenStyle = PS_SOLID;
  COLORREF colour = RGB(0, 0, 0);

  // `offset` is where row boundary 0 lies, in the dc's units.
  void Draw(HDC dc, Rect rect, std::span<const TableColumn> columns, int rowHeight,
            double offset) const noexcept;
};

} // namespace GUILib

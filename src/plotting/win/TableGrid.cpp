#include "plotting/win/TableGrid.h"

#include "foundation/win/UniqueHandle.h"

namespace GUILib {

void TableGrid::Draw(HDC dc, Rect rect, std::span<const TableColumn> columns, int rowHeight,
                     double offset) const noexcept {
  Tarn::unique_hpen first(::CreatePen(firstPenStyle, 1, colour));
  Tarn::unique_hpen second(::CreatePen(secondPenStyle, 1, colour));
  Tarn::unique_select_object selected(dc, first.get());
  for (const TableColumn& c : columns) {
    ::MoveToEx(dc, c.left, rect.top, nullptr);
    ::LineTo(dc, c.left, rect.bottom);
  }
  const RowSpan rows = TableRowBoundaries(rect.top, rect.bottom, offset, rowHeight);
  for (int r = rows.first; r <= rows.last; ++r) {
    ::SelectObject(dc, r <= 1 ? first.get() : second.get());
    const Rect cell = TableCell({rect.left, 0}, r, rowHeight, offset);
    ::MoveToEx(dc, rect.left, cell.top, nullptr);
    ::LineTo(dc, rect.right, cell.top);
  }
}

} // namespace GUILib

#include "plotting/win/TableData.h"

#include "foundation/win/OStringStream.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/WindowUtil.h"

#include <algorithm>

namespace GUILib {

std::wstring TableData::CellText(const TableContent& content, std::size_t column, std::size_t row) {
  std::size_t longest = 0;
  for (const auto& v : content.values)
    longest = std::max(longest, v.size());
  if (row >= longest)
    return {};
  if (column >= content.values.size() || row >= content.values[column].size())
    return L"*";
  Tarn::OStringStream text;
  text << content.values[column][row];
  return text.str().str();
}

void TableData::Draw(HDC dc, Rect rect, std::span<const TableColumn> columns, int rowHeight,
                     double offset, const TableContent& content, HFONT normal, HFONT bold) const {
  const RowSpan boundaries = TableRowBoundaries(rect.top, rect.bottom, offset, rowHeight);
  if (boundaries.first > boundaries.last)
    return;
  // Every row that starts inside the rectangle, and the one cut by its top.
  const int firstRow = std::max(0, boundaries.first - 1);
  const int lastRow = boundaries.last;
  Tarn::unique_select_object font(dc, normal);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    for (int r = firstRow; r <= lastRow; ++r) {
      std::wstring text;
      if (r == 0)
        text = c < content.titles.size() ? content.titles[c] : std::wstring();
      else
        text = CellText(content, c, static_cast<std::size_t>(r - 1));
      if (text.empty())
        continue;
      const bool strong = boldRows.contains(r) || boldColumns.contains(static_cast<int>(c));
      ::SelectObject(dc, strong ? bold : normal);
      RECT cell = Tarn::Window::ToRECT(TableCell(columns[c], r, rowHeight, offset));
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                  DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
  }
}

} // namespace GUILib

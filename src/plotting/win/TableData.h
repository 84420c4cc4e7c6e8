#pragma once
#include <windows.h>

#include <set>
#include <span>
#include <string>
#include <vector>

#include "plotting/GraphLayout.h"

namespace GUILib {

// What the table shows: a title and the values of each column.
struct TableContent {
  std::vector<std::wstring> titles;
  std::vector<std::vector<float>> values;
};

// The table's cells. Row 0 holds the column titles, row r >= 1 value r - 1 of each column in
// general notation with 6 significant digits and the user's decimal separator; a column that has
// ended while a longer one goes on shows "*". Each text is centred on one line at the bottom of
// its cell, cut with an ellipsis when it does not fit, in the bold font for the bold rows and
// columns.
class TableData {
public:
  std::set<int> boldRows;
  std::set<int> boldColumns;

  // `normal` and `bold` are the caller's fonts, already made for `dc`.
  void Draw(HDC dc, Rect rect, std::span<const TableColumn> columns, int rowHeight, double offset,
            const TableContent& content, HFONT normal, HFONT bold) const;

  // The text of value row `row` (from 0) of a column, empty past the longest column.
  static std::wstring CellText(const TableContent& content, std::size_t column, std::size_t row);
};

} // namespace GUILib

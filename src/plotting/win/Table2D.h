#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "fitting/Graticule.h"
#include "foundation/win/ComPtr.h"
#include "plotting/win/ITabulatedData.h"
#include "plotting/win/TableData.h"
#include "plotting/win/TableGrid.h"
#include "window/win/BaseWindow.h"

namespace GUILib {

// A window that shows a table as text in a grid: a header row with the column titles, then the
// values. It reads a tabulated data source when it has one, else the titles and values its owner
// sets. Paint draws into any device context and rectangle, so the window (through a back buffer),
// a metafile and a printer page share it.
class Table2D : public Tarn::Window::BaseWindow<Table2D> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalTable2D";

  Table2D() = default;

  // A child window of `parent` at `rect` with control id `id`; false on failure.
  bool Create(HWND parent, const RECT& rect, int id) noexcept;

  // The table is read through its record view; null drops the source.
  void SetSource(ITabulatedData* source) noexcept;
  void SetHeaders(std::vector<std::wstring> headers);
  void SetColumnsData(std::vector<std::vector<float>> columns);
  // Fractions of the width, one per column; window set-up makes two of 0.5.
  void SetColumnWidths(std::vector<double> fractions);
  // Rows count from 0, the header row.
  void SetBoldRows(std::set<int> rows);
  void SetBoldColumns(std::set<int> columns);
  void SetTextColour(COLORREF colour) noexcept { mTextColour = colour; }
  void Invalidate() noexcept;

  // Draws the whole table into `rect` of `dc`, leaving the dc as it was. The table ends with the
  // last row that fits wholly; below it the rectangle is left blank.
  void Paint(HDC dc, const RECT& rect);
  // Shortens the window to the rows that fit in it wholly, so that no row shows cut at its
  // bottom edge.
  void FitToWholeRows() noexcept;

  const std::vector<double>& ColumnWidths() const noexcept { return mColumnWidths; }
  int RowHeight() const noexcept { return mRowHeight; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  TableContent ReadContent() const;
  int MeasureRowHeight(HDC dc, HFONT font) const;
  void PaintWindow();

  Tarn::ComPtr<Host::IRecordData> mSource;
  std::vector<std::wstring> mHeaders;
  std::vector<std::vector<float>> mColumnsData;
  std::vector<double> mColumnWidths{0.5, 0.5};
  Graticule mRowMap;
  TableGrid mGrid;
  TableData mPainter;
  std::wstring mFontName = L"Tahoma";
  double mFontSize = 9.0;
  COLORREF mTextColour = RGB(0, 0, 0);
  int mRowHeight = 0;
};

} // namespace GUILib

#pragma once

#include "plotting/PlotGeometry.h"

#include <array>
#include <span>
#include <vector>

namespace GUILib {

// The curve window's client split into the graph, its two scales and the cursor read-outs. The
// read-outs share the strip above the graph, which nothing else uses. The margins are pixels at
// 96 dpi, scaled to the window's dpi.
struct CurveWindowLayout {
  Rect graph;
  Rect verticalScale;
  Rect horizontalScale;
  Rect xReadOut;
  Rect yReadOut;
};
CurveWindowLayout LayoutCurveWindow(Rect client, int dpi = Tarn::Window::kBaseDpi) noexcept;
inline constexpr int kReadOutTextInset = 8;

// The graph paints its contents only when its client is more than 3 pixels each way.
bool CanPaintGraph(Rect client) noexcept;
// The axes: top-left down to bottom-left and on to bottom-right, inside the client.
std::array<Point, 3> AxisPolyline(Rect client) noexcept;

// Read-out orientations: 0, 90, -90 and 180 degrees.
enum class ReadOutOrientation { Normal = 0, Up = 1, Down = 2, UpsideDown = 3 };
// Text alignment flags as the device context takes them.
inline constexpr unsigned kAlignLeft = 0;
inline constexpr unsigned kAlignRight = 2;
inline constexpr unsigned kAlignCentre = 6;
inline constexpr unsigned kAlignBottom = 8;
// Where the read-out's text is anchored, from its orientation and horizontal alignment.
Point ReadOutAnchor(ReadOutOrientation orientation, unsigned alignment, Rect client) noexcept;

// An owner-drawn "Select Trace" entry: its size and where its parts go inside it.
struct ColourMenuEntryParts {
  Rect checkMark;
  Rect text;
  Rect swatch;
};
Point ColourMenuEntrySize(int checkWidth, int textWidth, int menuHeight) noexcept;
ColourMenuEntryParts LayoutColourMenuEntry(Rect item, int checkWidth, int checkHeight) noexcept;

// Table geometry: columns from width fractions, rows of a fixed height shifted by an offset.
struct TableColumn {
  int left = 0;
  int width = 0;
  friend bool operator==(const TableColumn&, const TableColumn&) = default;
};
std::vector<TableColumn> TableColumns(Rect client, std::span<const double> fractions);
int TableRowHeight(int textHeight) noexcept;
// The row boundaries that lie within [top, bottom]; first > last when none does.
struct RowSpan {
  int first = 0;
  int last = -1;
};
RowSpan TableRowBoundaries(int top, int bottom, double offset, int rowHeight) noexcept;
Rect TableCell(TableColumn column, int row, int rowHeight, double offset) noexcept;
// The bottom edge (exclusive) of a table drawn from `top` that ends with the last row wholly
// above `bottom`, its closing line on that row's lower boundary: a row cut by the bottom would
// show as a sliver. At least one row; never below `bottom`.
int TableWholeRowsBottom(int top, int bottom, int rowHeight) noexcept;

} // namespace GUILib

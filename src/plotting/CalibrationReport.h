#pragma once

#include "fitting/FitRecord.h"
#include "plotting/PlotGeometry.h"
#include "plotting/TabulatedData.h"

#include <cstddef>
#include <locale>
#include <string>
#include <vector>

namespace GUILib {

using Tarn::Window::Size;

// The calibration report drawn into any device context (the copied picture, the printed page):
// the graph top left, the points table on the right, the fit details below the graph. The split
// lies at two thirds across and down.
struct ReportLayout {
  Rect graph;
  Rect table;
  // Below the graph only: across the whole width it would run under the table.
  Rect fitDetails;
};
ReportLayout LayoutReport(Rect page) noexcept;

// The graph's part of the report, from the scales' sizes measured on the target device; the
// vertical scale is at least 80 units wide and the horizontal one at least 55 high.
struct ReportGraphLayout {
  Rect verticalScale;
  Rect horizontalScale;
  Rect plot;
};
inline constexpr int kReportScaleMinWidth = 80;
inline constexpr int kReportScaleMinHeight = 55;
ReportGraphLayout LayoutReportGraph(Rect area, int scaleWidth, int scaleHeight) noexcept;

// The fit details' font: 8 points, as a (negative) character height in device pixels.
inline constexpr int kFitDetailsPoints = 8;
int FitDetailsFontHeight(int pixelsPerInchY) noexcept;

// The lines of the fit details: the heading ("Calibration Fit Details"); the long fit name, " : "
// and the equation; for all but point to point "SSE = " and the sum of squared errors; and, when
// the fit is not forced through the origin, "R² = " and the coefficient of determination. Numbers
// in `numberLocale`.
std::vector<std::wstring> FitDetailsLines(const MPCalibration::FitRecord& record,
                                          const std::wstring& heading,
                                          const std::locale& numberLocale = std::locale());

// Where the lines go in the details rectangle: one line height (1.2 characters) apart, the first
// one line height down and 4 units in, and the one-pixel frame from the first line's top to one
// line height below the last.
struct FitDetailsLayout {
  std::vector<Point> lineOrigins;
  Rect frame;
};
FitDetailsLayout LayoutFitDetails(Rect area, int characterHeight, std::size_t lineCount);

// The copied picture's frame in hundredths of a millimetre: the client size converted with the
// reference device's size in millimetres and resolution in pixels (HORZSIZE, HORZRES, VERTSIZE,
// VERTRES). A resolution of 0 gives an empty frame.
Rect MetafileFrame(Size client, int horizontalSizeMm, int verticalSizeMm, int horizontalRes,
                   int verticalRes) noexcept;

// The points table as copied text: fixed notation with `decimalPlaces` digits, tab after every
// value, line feeds alone. The clipboard gets it with its terminating null.
std::wstring ReportCopyText(const TabulatedTable& table, int decimalPlaces,
                            const std::locale& numberLocale = std::locale());

} // namespace GUILib

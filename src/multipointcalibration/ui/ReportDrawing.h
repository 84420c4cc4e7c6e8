#pragma once
#include <windows.h>

#include "fitting/FitRecord.h"
#include "multipointcalibration/ui/DragScale.h"
#include "plotting/win/Graph2D.h"
#include "plotting/win/Table2D.h"

namespace MPCalibration {

// What the calibration report is drawn from: the curve window's graph (its plots) and scales
// (their ranges), the points table and the fit.
struct ReportParts {
  GUILib::CGraph2D& graph;
  const CDragScale& horizontalScale;
  const CDragScale& verticalScale;
  GUILib::Table2D& table;
  const FitRecord& fit;
};

// The report in `rect` of `dc` (the copied picture, the printed page): the graph with both scales
// measured on `dc`, the points table beside it and the fit details below the graph. Leaves the
// context as it was. Throws Tarn::XHResult when the scales for drawing cannot be made.
void DrawReport(HDC dc, const RECT& rect, const ReportParts& parts);

// The framed fit details in `rect` of `dc`: heading, fit name and equation, and the error lines
// the fit has. Leaves the context as it was.
void DrawFitDetails(HDC dc, const RECT& rect, const FitRecord& fit);

} // namespace MPCalibration

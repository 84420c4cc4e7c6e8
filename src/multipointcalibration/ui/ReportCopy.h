#pragma once
#include <windows.h>

#include "multipointcalibration/ui/ReportDrawing.h"
#include "plotting/TabulatedData.h"

namespace MPCalibration {

// Copy of the curve dialog: asks for the format with the copy-format dialog and, however that is
// closed, puts the points table as text or the report as a picture on the clipboard. Clipboard
// failures are not reported.
void CopyReport(HWND dialog, const ReportParts& parts, const GUILib::TabulatedTable& points,
                int decimalPlaces) noexcept;

// The points table as tab-separated Unicode text, its terminating null included; false when the
// clipboard would not take it.
bool CopyReportText(HWND owner, const GUILib::TabulatedTable& points, int decimalPlaces) noexcept;

// The report over the dialog's client area as an enhanced metafile whose reference device is the
// dialog's client area; false when it could not be made or placed.
bool CopyReportImage(HWND dialog, const ReportParts& parts) noexcept;

} // namespace MPCalibration

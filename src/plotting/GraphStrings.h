#pragma once

// The module's texts for the graph and the calibration curve window (string table identifiers).
namespace GUILib {

inline constexpr int kRawValuesString = 100;       // "Raw Values"
inline constexpr int kFittedValuesString = 101;    // "Fitted Values"
inline constexpr int kPlotNumberString = 102;      // "Plot Number"
inline constexpr int kHorizontalRangeString = 103; // "Horizontal Axis Invalid Range"
inline constexpr int kVerticalRangeString = 104;   // "Vertical Axis Invalid Range"
inline constexpr int kXReadOutString = 105;        // "x = "
inline constexpr int kYReadOutString = 106;        // "y = "
inline constexpr int kFitDetailsString = 107;      // "Calibration Fit Details"
inline constexpr int kCurveCaptionString = 108;    // "Multipoint Calibration Curve for Channel "
inline constexpr int kSelectTraceString = 109;     // "Select Trace"

} // namespace GUILib

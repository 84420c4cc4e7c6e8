#pragma once

#include "fitting/FitRecord.h"
#include "plotting/PlotGeometry.h"
#include "plotting/TabulatedData.h"
#include "units/UnitInfo.h"

#include <cstdint>
#include <locale>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace GUILib {

// The two units of a calibration curve. Raw values are stored unprefixed (volts for a millivolt
// channel) and are shown at the raw unit's prefix; calibrated values are stored already in the
// working unit's prefix (kPa numbers for kPa) and are shown as they are.
struct CurveUnits {
  Tarn::UnitInfo raw;
  Tarn::UnitInfo working;
};

// The columns of the curve window's data: the fitted curve, the points for the markers and the
// points again for their numbers.
enum CurveColumn : std::int64_t {
  kCurveXColumn = 0,
  kCurveYColumn = 1,
  kPointXColumn = 2,
  kPointYColumn = 3,
  kOrdinalXColumn = 4,
  kOrdinalYColumn = 5,
  kCurveColumnCount = 6,
};
inline constexpr int kCurveSampleCount = 101;

// A calibration point as the graph and the table show it.
struct ShownPoint {
  double x = 0.0;
  double y = 0.0;
};
std::vector<ShownPoint> ShownPoints(const MPCalibration::FitRecord& record,
                                    const Tarn::UnitInfo& rawUnit);

// A starting range about the finite values: their centre, and 1.5 times their half-span each
// way, so that they fill the middle two thirds of the axis. Values that are all equal (or nearly)
// get a half-span of a thousandth of their size, which a float still resolves; all zero, 1e-21.
// No finite value gives the range (1, 0).
AxisRange StartingRange(std::span<const double> values);

struct CurveRanges {
  AxisRange horizontal;
  AxisRange vertical;
};
CurveRanges CurveStartingRanges(const MPCalibration::FitRecord& record,
                                const Tarn::UnitInfo& rawUnit);

// The fitted curve over the horizontal scale's range (at the raw unit's prefix): 101 samples
// from the low end a 101st of the span apart, the step taken in single precision, so the last
// lies one step short of the high end; for point to point merged in ascending x with the
// points, a point replacing a sample of equal x. A failed range query (an end that is not
// finite or is a double's extreme) or a span whose step overflows gives no curve.
struct CurveSamples {
  std::vector<double> x;
  std::vector<double> y;
};
CurveSamples SampleCurve(const MPCalibration::FitRecord& record, const Tarn::UnitInfo& rawUnit,
                         AxisRange horizontal);

// The names of the curve and point columns, "Raw Values" and "Fitted Values" in the module's
// string table.
struct CurveColumnNames {
  std::wstring raw;
  std::wstring fitted;
};

// Rebuilds the six columns for the horizontal scale's range, with notifications suspended and
// sent once at the end.
void FillCurveData(TabulatedTable& table, const MPCalibration::FitRecord& record,
                   const CurveUnits& units, const CurveColumnNames& names, AxisRange horizontal);

// Rebuilds the points table: the point numbers (unnamed), the raw values and the calibrated
// values, the last two named after their units. Where forcing the fit through the origin
// applies, a last row holds 0 and 0 with no number; its index is returned, for bold type.
std::optional<std::int64_t> FillPointsTable(TabulatedTable& table,
                                            const MPCalibration::FitRecord& record,
                                            const CurveUnits& units);

// The points table's look: three columns of these fractions of its width, 14 rows laid out.
inline constexpr double kPointsTableColumnFractions[] = {0.15, 0.425, 0.425};
inline constexpr int kPointsTableRows = 14;

// The graph and the table sit over their placeholders shrunk by 3 pixels (at 96 dpi) each side.
Rect PlaceOverPlaceholder(Rect placeholder, int dpi) noexcept;

// A cursor read-out: the label ("x = ") and the value as a quantity of the column's units text,
// in fixed notation with the calibration's decimal places ("x = 12.500 mV").
std::wstring CursorReadOutText(const std::wstring& label, double value, const std::wstring& units,
                               int decimalPlaces, const std::locale& numberLocale = std::locale());

} // namespace GUILib

#include "plotting/CalibrationCurve.h"

#include "fitting/EvaluateFit.h"
#include "fitting/FitType.h"
#include "units/Quantity.h"
#include "units/UnitPrefixes.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ios>
#include <map>
#include <sstream>

namespace GUILib {

using MPCalibration::FitRecord;

namespace {

constexpr double kRelativeHalfSpanFloor = 1e-3;
constexpr double kAbsoluteHalfSpanFloor = 1e-21;
constexpr double kRangeMargin = 1.5;

bool IsQueriedEnd(double end) noexcept {
  return std::isfinite(end) && std::fabs(end) < DBL_MAX;
}

// Runs a batch of changes with notifications suspended; observers hear of it once, at the end,
// and an exception on the way does not leave the table silenced.
template <typename Changes> void Batch(TabulatedTable& table, Changes&& changes) {
  table.SuspendNotifications();
  try {
    changes();
  } catch (...) {
    table.ResumeNotifications();
    throw;
  }
  table.ResumeAndFlush();
}

void AppendPoints(TabulatedTable& table, std::int64_t xColumn, std::int64_t yColumn,
                  const std::vector<ShownPoint>& points) {
  for (const ShownPoint& p : points) {
    table.AppendValue(xColumn, static_cast<float>(p.x));
    table.AppendValue(yColumn, static_cast<float>(p.y));
  }
}

} // namespace

std::vector<ShownPoint> ShownPoints(const FitRecord& record, const Tarn::UnitInfo& rawUnit) {
  const std::int32_t rawPower = Tarn::PrefixPower(rawUnit.prefixIndex);
  std::vector<ShownPoint> points(record.PointCount());
  for (std::size_t i = 0; i < points.size(); ++i)
    points[i] = {Tarn::ScaleByPowerOfTen(record.rawValues[i], -rawPower),
                 record.calibratedValues[i]};
  return points;
}

AxisRange StartingRange(std::span<const double> values) {
  double low = 0.0, high = 0.0;
  bool any = false;
  for (double v : values) {
    if (!std::isfinite(v))
      continue;
    low = any ? std::min(low, v) : v;
    high = any ? std::max(high, v) : v;
    any = true;
  }
  if (!any)
    return {};
  const double centre = high / 2 + low / 2;
  const double halfSpan = std::max({high / 2 - low / 2, std::fabs(centre) * kRelativeHalfSpanFloor,
                                    kAbsoluteHalfSpanFloor}) *
                          kRangeMargin;
  return {centre + halfSpan, centre - halfSpan};
}

CurveRanges CurveStartingRanges(const FitRecord& record, const Tarn::UnitInfo& rawUnit) {
  const std::vector<ShownPoint> points = ShownPoints(record, rawUnit);
  std::vector<double> x(points.size()), y(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    x[i] = points[i].x;
    y[i] = points[i].y;
  }
  return {StartingRange(x), StartingRange(y)};
}

CurveSamples SampleCurve(const FitRecord& record, const Tarn::UnitInfo& rawUnit,
                         AxisRange horizontal) {
  if (!IsQueriedEnd(horizontal.high) || !IsQueriedEnd(horizontal.low))
    return {};
  const std::int32_t rawPower = Tarn::PrefixPower(rawUnit.prefixIndex);
  const double high = Tarn::ScaleByPowerOfTen(horizontal.high, rawPower);
  const double low = Tarn::ScaleByPowerOfTen(horizontal.low, rawPower);
  const double span = std::fabs(high - low);
  const float step = static_cast<float>(span / kCurveSampleCount);
  if (!std::isfinite(span) || !std::isfinite(step))
    return {};

  const double start = std::min(high, low);
  std::vector<double> x(kCurveSampleCount);
  for (int k = 0; k < kCurveSampleCount; ++k)
    x[k] = start + k * static_cast<double>(step);
  std::vector<double> y = x;
  MPCalibration::EvaluateFit(record.fitType, record.coefficients, y);

  std::map<double, double> curve;
  for (int k = 0; k < kCurveSampleCount; ++k)
    curve[x[k]] = y[k];
  if (record.fitType == MPCalibration::PointToPoint) {
    for (std::size_t i = 0; i < record.PointCount(); ++i)
      curve[record.rawValues[i]] = record.calibratedValues[i];
  }

  CurveSamples samples;
  samples.x.reserve(curve.size());
  samples.y.reserve(curve.size());
  for (const auto& [cx, cy] : curve) {
    samples.x.push_back(Tarn::ScaleByPowerOfTen(cx, -rawPower));
    samples.y.push_back(cy);
  }
  return samples;
}

void FillCurveData(TabulatedTable& table, const FitRecord& record, const CurveUnits& units,
                   const CurveColumnNames& names, AxisRange horizontal) {
  const std::vector<ShownPoint> points = ShownPoints(record, units.raw);
  const CurveSamples curve = SampleCurve(record, units.raw, horizontal);
  const std::wstring rawUnits = Tarn::UnitDisplayName(units.raw);
  const std::wstring workingUnits = Tarn::UnitDisplayName(units.working);
  Batch(table, [&] {
    table.RemoveAllColumns();
    table.AddColumn(names.raw, rawUnits);
    table.AddColumn(names.fitted, workingUnits);
    table.AddColumn(names.raw, rawUnits);
    table.AddColumn(names.fitted, workingUnits);
    table.AddColumn({}, {});
    table.AddColumn({}, {});
    AppendPoints(table, kPointXColumn, kPointYColumn, points);
    for (std::size_t k = 0; k < curve.x.size(); ++k) {
      table.AppendValue(kCurveXColumn, static_cast<float>(curve.x[k]));
      table.AppendValue(kCurveYColumn, static_cast<float>(curve.y[k]));
    }
    AppendPoints(table, kOrdinalXColumn, kOrdinalYColumn, points);
  });
}

std::optional<std::int64_t> FillPointsTable(TabulatedTable& table, const FitRecord& record,
                                            const CurveUnits& units) {
  const std::vector<ShownPoint> points = ShownPoints(record, units.raw);
  const bool originRow = MPCalibration::ForceOriginApplies(record.fitType, record.forceOrigin);
  Batch(table, [&] {
    table.RemoveAllColumns();
    table.AddColumn({}, {});
    table.AddColumn(Tarn::UnitDisplayName(units.raw), {});
    table.AddColumn(Tarn::UnitDisplayName(units.working), {});
    for (std::size_t i = 0; i < points.size(); ++i)
      table.AppendValue(0, static_cast<float>(i + 1));
    AppendPoints(table, 1, 2, points);
    if (originRow) {
      table.AppendValue(1, 0.0f);
      table.AppendValue(2, 0.0f);
    }
  });
  if (!originRow)
    return std::nullopt;
  return static_cast<std::int64_t>(points.size());
}

Rect PlaceOverPlaceholder(Rect placeholder, int dpi) noexcept {
  const int inset = Tarn::Window::Scale(3, dpi);
  return Tarn::Window::Inflate(placeholder, -inset, -inset);
}

std::wstring CursorReadOutText(const std::wstring& label, double value, const std::wstring& units,
                               int decimalPlaces, const std::locale& numberLocale) {
  std::wostringstream out;
  out.imbue(numberLocale);
  out << std::fixed;
  out.precision(std::max(decimalPlaces, 0));
  out << label;
  Tarn::WriteQuantity(out, Tarn::MakeQuantity(value, units));
  return out.str();
}

} // namespace GUILib

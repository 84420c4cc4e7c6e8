#include "plotting/CalibrationCurve.h"

#include "../units/NumberLocales.h"

#include "fitting/FitType.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

using MPCalibration::FitRecord;

Tarn::UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name) {
  Tarn::UnitInfo u;
  u.prefixIndex = prefixIndex;
  u.name = name;
  return u;
}

const Tarn::UnitInfo kVolt = Unit(1, L"V");
const Tarn::UnitInfo kMilliVolt = Unit(7, L"V");
const Tarn::UnitInfo kKiloPascal = Unit(9, L"Pa");
const CurveColumnNames kNames{L"Raw Values", L"Fitted Values"};

FitRecord Record(std::int32_t type, std::vector<double> raw, std::vector<double> calibrated,
                 std::vector<double> coefficients = {}, bool forceOrigin = false) {
  FitRecord r;
  r.fitType = type;
  r.rawValues = std::move(raw);
  r.calibratedValues = std::move(calibrated);
  r.coefficients = std::move(coefficients);
  r.forceOrigin = forceOrigin;
  return r;
}

bool Inside(double v, AxisRange r) {
  return v > r.low && v < r.high;
}

std::vector<float> Column(const TabulatedTable& table, std::int64_t column) {
  return table.Columns().at(static_cast<std::size_t>(column))->values;
}

// The calibrated values are kept in the working unit's prefix already: a kPa axis shows them as
// they are, while the raw values (volts) are shown at the raw unit's prefix.
TEST(CalibrationCurve, StartingRangesCentreThePointsInTheMiddleTwoThirds) {
  struct Case {
    const char* name;
    FitRecord record;
    Tarn::UnitInfo raw;
    AxisRange horizontal, vertical;
  };
  const Case cases[] = {
      {"mV and kPa",
       Record(MPCalibration::Linear, {0.010, 0.020, 0.030}, {10, 20, 30}),
       kMilliVolt,
       {35, 5},
       {35, 5}},
      {"V and mmHg",
       Record(MPCalibration::Linear, {1, 2}, {0, 100}),
       kVolt,
       {2.25, 0.75},
       {125, -25}},
      {"equal calibrated values",
       Record(MPCalibration::Linear, {1, 3}, {100, 100}),
       kVolt,
       {3.5, 0.5},
       {100.15, 99.85}},
      {"all zero",
       Record(MPCalibration::Linear, {0, 0}, {0, 0}),
       kVolt,
       {1.5e-21, -1.5e-21},
       {1.5e-21, -1.5e-21}},
      {"no points", Record(MPCalibration::Linear, {}, {}), kVolt, {1, 0}, {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CurveRanges ranges = CurveStartingRanges(c.record, c.raw);
    EXPECT_NEAR(ranges.horizontal.high, c.horizontal.high, 1e-9 * std::fabs(c.horizontal.high));
    EXPECT_NEAR(ranges.horizontal.low, c.horizontal.low, 1e-9 * std::fabs(c.horizontal.low));
    EXPECT_NEAR(ranges.vertical.high, c.vertical.high, 1e-9 * std::fabs(c.vertical.high));
    EXPECT_NEAR(ranges.vertical.low, c.vertical.low, 1e-9 * std::fabs(c.vertical.low));
    for (const ShownPoint& p : ShownPoints(c.record, c.raw)) {
      EXPECT_TRUE(Inside(p.x, ranges.horizontal)) << p.x;
      EXPECT_TRUE(Inside(p.y, ranges.vertical)) << p.y;
    }
  }
}

TEST(CalibrationCurve, FlatValuesKeepASpanThatFloatsResolve) {
  for (double v : {1e-30, -7.5, 100.0, 1e30}) {
    const std::vector<double> values{v, v, std::nextafter(v, 0.0)};
    const AxisRange r = StartingRange(values);
    EXPECT_LT(static_cast<float>(r.low), static_cast<float>(v)) << v;
    EXPECT_GT(static_cast<float>(r.high), static_cast<float>(v)) << v;
  }
  // A value that is not a number does not spoil the range of the rest.
  const std::vector<double> withNaN{std::numeric_limits<double>::quiet_NaN(), 1, 3};
  EXPECT_EQ(StartingRange(withNaN), (AxisRange{3.5, 0.5}));
}

TEST(CalibrationCurve, HundredAndOneSamplesSpanTheHorizontalRange) {
  // 1000 kPa per volt: a kPa value equals the raw value in mV.
  const FitRecord line = Record(MPCalibration::Linear, {0.01, 0.02}, {10, 20}, {0, 1000});
  struct Case {
    AxisRange range;
    double low, span;
  };
  const Case cases[] = {
      {{30, 0}, 0, 30},
      {{0, 30}, 0, 30},         // reversed ends
      {{300, -100}, -100, 400}, // a wider range after a drag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.span);
    const CurveSamples s = SampleCurve(line, kMilliVolt, c.range);
    ASSERT_EQ(s.x.size(), 101u);
    ASSERT_EQ(s.y.size(), 101u);
    const double step = static_cast<float>(c.span * 1e-3 / 101) * 1e3;
    EXPECT_NEAR(s.x.front(), c.low, 1e-9);
    EXPECT_NEAR(s.x.back(), c.low + 100 * step, 1e-9);
    EXPECT_LT(s.x.back(), c.low + c.span);
    EXPECT_TRUE(std::is_sorted(s.x.begin(), s.x.end()));
    for (std::size_t k = 0; k < s.x.size(); ++k)
      EXPECT_NEAR(s.y[k], s.x[k], 1e-9) << k;
  }
}

TEST(CalibrationCurve, NoCurveForAFailedRangeQuery) {
  const FitRecord line = Record(MPCalibration::Linear, {1, 2}, {1, 2}, {0, 1});
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const AxisRange failed[] = {
      {DBL_MAX, -DBL_MAX}, // the query's start values, left as they were
      {inf, 0},
      {0, -inf},
      {nan, 0},
      {1e308, -1e308}, // a span beyond a double
      {1e300, 0},      // a step beyond a float
  };
  for (const AxisRange& r : failed)
    EXPECT_TRUE(SampleCurve(line, kVolt, r).x.empty()) << r.high << " " << r.low;
}

TEST(CalibrationCurve, PointToPointPassesThroughEveryPoint) {
  const FitRecord table =
      Record(MPCalibration::PointToPoint, {0, 1, 3}, {0, 10, 20}, {0, 0, 1, 10, 3, 20});
  for (const AxisRange r : {AxisRange{4, -1}, AxisRange{2.02, 0}, AxisRange{0.5, 0.25}}) {
    SCOPED_TRACE(r.high);
    const CurveSamples s = SampleCurve(table, kVolt, r);
    EXPECT_TRUE(std::is_sorted(s.x.begin(), s.x.end()));
    EXPECT_TRUE(std::adjacent_find(s.x.begin(), s.x.end()) == s.x.end());
    EXPECT_GE(s.x.size(), 101u);
    for (std::size_t i = 0; i < table.PointCount(); ++i) {
      const auto at = std::find(s.x.begin(), s.x.end(), table.rawValues[i]);
      ASSERT_NE(at, s.x.end()) << i;
      EXPECT_EQ(s.y[static_cast<std::size_t>(at - s.x.begin())], table.calibratedValues[i]);
    }
  }
  // From 0 in steps of 0.02 (as a float) the samples meet the point at 0: it replaces the
  // sample, leaving 101 samples and the points at 1 and 3.
  EXPECT_EQ(SampleCurve(table, kVolt, {2.02, 0}).x.size(), 103u);
}

TEST(CalibrationCurve, CurveDataHoldsTheCurveAndThePointsTwice) {
  const FitRecord line = Record(MPCalibration::Linear, {0.01, 0.02, 0.03}, {10, 20, 30}, {0, 1000});
  TabulatedTable table;
  table.AddColumn(L"stale", L"");
  FillCurveData(table, line, {kMilliVolt, kKiloPascal}, kNames, {35, 5});
  ASSERT_EQ(table.ColumnCount(), kCurveColumnCount);
  const std::wstring names[] = {
      L"Raw Values", L"Fitted Values", L"Raw Values", L"Fitted Values", L"", L""};
  const std::wstring units[] = {L"mV", L"kPa", L"mV", L"kPa", L"", L""};
  for (std::int64_t c = 0; c < kCurveColumnCount; ++c) {
    std::wstring name, unit;
    table.GetColumnName(c, name);
    table.GetColumnUnits(c, unit);
    EXPECT_EQ(name, names[c]) << c;
    EXPECT_EQ(unit, units[c]) << c;
  }
  const std::vector<float> points{10, 20, 30};
  for (std::int64_t c : {kPointXColumn, kPointYColumn, kOrdinalXColumn, kOrdinalYColumn})
    EXPECT_EQ(Column(table, c), points) << c;
  EXPECT_EQ(Column(table, kCurveXColumn).size(), 101u);
  EXPECT_FLOAT_EQ(Column(table, kCurveXColumn).front(), 5.0f);
  EXPECT_FLOAT_EQ(Column(table, kCurveYColumn).front(), 5.0f);

  // With no range there is no curve, but the points stay.
  FillCurveData(table, line, {kMilliVolt, kKiloPascal}, kNames, {DBL_MAX, -DBL_MAX});
  EXPECT_TRUE(Column(table, kCurveXColumn).empty());
  EXPECT_EQ(Column(table, kPointYColumn), points);
}

TEST(CalibrationCurve, PointsTableAddsTheOriginRowOnlyForAForcedPolynomial) {
  struct Case {
    std::int32_t type;
    bool forceOrigin;
    bool originRow;
  };
  const Case cases[] = {
      {MPCalibration::Linear, false, false},
      {MPCalibration::Linear, true, true},
      {MPCalibration::Quintic, true, true},
      // The box stays checked while it is disabled: it does not force these.
      {MPCalibration::Exponential, true, false},
      {MPCalibration::Logarithmic, true, false},
      {MPCalibration::PointToPoint, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const FitRecord r = Record(c.type, {0.010, 0.020, 0.030}, {10, 20, 30}, {}, c.forceOrigin);
    TabulatedTable table;
    const auto bold = FillPointsTable(table, r, {kMilliVolt, kKiloPascal});
    ASSERT_EQ(table.ColumnCount(), 3);
    EXPECT_EQ(Column(table, 0), (std::vector<float>{1, 2, 3}));
    std::vector<float> raw{10, 20, 30}, calibrated{10, 20, 30};
    if (c.originRow) {
      raw.push_back(0);
      calibrated.push_back(0);
      EXPECT_EQ(bold, std::optional<std::int64_t>(3));
    } else {
      EXPECT_FALSE(bold.has_value());
    }
    EXPECT_EQ(Column(table, 1), raw);
    EXPECT_EQ(Column(table, 2), calibrated);
  }
}

TEST(CalibrationCurve, ReadOutsAndPlacement) {
  struct Case {
    double value;
    const wchar_t* units;
    int decimals;
    std::locale locale;
    const wchar_t* text;
  };
  const Case cases[] = {
      {12.5, L"mV", 3, std::locale::classic(), L"x = 12.500 mV"},
      {0.0042, L"V", 2, std::locale::classic(), L"x = 4.20 mV"},
      {1500, L"kPa", 1, std::locale::classic(), L"x = 1500.0 kPa"},
      {2.75, L"", 0, std::locale::classic(), L"x = 3"},
      {12.5, L"mV", 3, Tarn::testing::CommaDecimalLocale(), L"x = 12,500 mV"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CursorReadOutText(L"x = ", c.value, c.units, c.decimals, c.locale), c.text);

  EXPECT_EQ(PlaceOverPlaceholder({10, 10, 110, 60}, 96), (Rect{13, 13, 107, 57}));
  EXPECT_EQ(PlaceOverPlaceholder({10, 10, 110, 60}, 144), (Rect{15, 15, 105, 55}));
}

} // namespace
} // namespace GUILib

#include "plotting/CalibrationReport.h"

#include "../units/NumberLocales.h"

#include "fitting/FitType.h"
#include "plotting/CalibrationCurve.h"

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

TEST(CalibrationReport, GraphTableAndDetailsTileThePageWithoutOverlap) {
  struct Case {
    Rect page;
    int splitX, splitY;
  };
  const Case cases[] = {
      {{0, 0, 1000, 600}, 670, 402},
      {{100, 50, 2100, 1450}, 1440, 988},
      {{0, 0, 4960, 7015}, 3323, 4700},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page.right);
    const ReportLayout l = LayoutReport(c.page);
    EXPECT_EQ(l.graph, (Rect{c.page.left, c.page.top, c.splitX, c.splitY}));
    EXPECT_EQ(l.table, (Rect{c.splitX, c.page.top, c.page.right, c.page.bottom}));
    EXPECT_EQ(l.fitDetails, (Rect{c.page.left, c.splitY, c.splitX, c.page.bottom}));
    const std::vector<Rect> parts{l.graph, l.table, l.fitDetails};
    EXPECT_TRUE(Tarn::Window::FindLayoutFaults(c.page, parts).empty());
  }
}

TEST(CalibrationReport, ScalesTakeTheirMeasuredSizeButNoLessThanTheMinimum) {
  struct Case {
    int width, height;
    ReportGraphLayout expected;
  };
  const Rect area{0, 0, 670, 402};
  const Case cases[] = {
      {60, 40, {{0, 18, 80, 347}, {80, 347, 644, 402}, {80, 18, 644, 347}}},
      {120, 90, {{0, 30, 120, 312}, {120, 312, 630, 402}, {120, 30, 630, 312}}},
  };
  for (const Case& c : cases) {
    const ReportGraphLayout l = LayoutReportGraph(area, c.width, c.height);
    EXPECT_EQ(l.verticalScale, c.expected.verticalScale) << c.width;
    EXPECT_EQ(l.horizontalScale, c.expected.horizontalScale) << c.width;
    EXPECT_EQ(l.plot, c.expected.plot) << c.width;
  }
}

FitRecord Fitted(std::int32_t type, std::vector<double> coefficients, bool forceOrigin) {
  FitRecord r;
  r.fitType = type;
  r.coefficients = std::move(coefficients);
  r.forceOrigin = forceOrigin;
  r.sumSquaredError = 0.0123;
  r.fitError = 0.99987634;
  return r;
}

TEST(CalibrationReport, FitDetailsLinesAndTheirFrame) {
  const Tarn::testing::GlobalLocaleGuard classic(std::locale::classic());
  struct Case {
    FitRecord record;
    std::vector<std::wstring> lines;
    int frameBottom;
  };
  const std::wstring heading = L"Calibration Fit Details";
  const Case cases[] = {
      {Fitted(MPCalibration::Linear, {0.5, 2}, false),
       {heading, L"Linear : y = 2x + 0.5", L"SSE = 0.0123", L"R\u00B2 = 0.999876"},
       402 + 78},
      {Fitted(MPCalibration::Quadratic, {0, 1, 2}, true),
       {heading, L"2nd order polynomial (Quadratic) : y = 2x^2 + 1x + 0", L"SSE = 0.0123"},
       402 + 62},
      // Left checked while disabled, the box does not hide R² of an exponential.
      {Fitted(MPCalibration::Exponential, {0.3, 2.5}, true),
       {heading, L"Exponential : y = 2.5 exp(0.3x)", L"SSE = 0.0123", L"R\u00B2 = 0.999876"},
       402 + 78},
      {Fitted(MPCalibration::PointToPoint, {0, 0, 1, 1}, false),
       {heading, L"Point to Point : y = Linear interpolation between calibration points"},
       402 + 47},
  };
  const Rect area{0, 402, 670, 600};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record.fitType);
    const std::vector<std::wstring> lines = FitDetailsLines(c.record, heading);
    EXPECT_EQ(lines, c.lines);
    // 13-pixel characters: lines 15.6 pixels apart, the frame from the first line's top.
    const FitDetailsLayout l = LayoutFitDetails(area, 13, lines.size());
    EXPECT_EQ(l.frame, (Rect{0, 418, 670, c.frameBottom}));
    ASSERT_EQ(l.lineOrigins.size(), lines.size());
    const int tops[] = {418, 433, 449, 464};
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(l.lineOrigins[i], (Point{4, tops[i]})) << i;
  }
}

TEST(CalibrationReport, FitDetailsNumbersInTheUsersFormat) {
  const Tarn::testing::GlobalLocaleGuard comma(Tarn::testing::CommaDecimalLocale());
  EXPECT_EQ(FitDetailsLines(Fitted(MPCalibration::Linear, {0.5, 2.25}, false), L""),
            (std::vector<std::wstring>{L"", L"Linear : y = 2,25x + 0,5", L"SSE = 0,0123",
                                       L"R\u00B2 = 0,999876"}));
}

TEST(CalibrationReport, FontHeightAndMetafileFrame) {
  EXPECT_EQ(FitDetailsFontHeight(96), -11);
  EXPECT_EQ(FitDetailsFontHeight(144), -16);
  EXPECT_EQ(FitDetailsFontHeight(600), -67);

  struct Case {
    Size client;
    int hSize, vSize, hRes, vRes;
    Rect frame;
  };
  const Case cases[] = {
      {{800, 600}, 320, 240, 1280, 960, {0, 0, 20000, 15000}},
      {{1200, 900}, 508, 285, 2880, 1620, {0, 0, 21166, 15833}},
      {{800, 600}, 320, 240, 0, 960, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MetafileFrame(c.client, c.hSize, c.vSize, c.hRes, c.vRes), c.frame) << c.hRes;
}

// The copied text for two points with raw unit mV, working unit mmHg and 2 decimal places.
TEST(CalibrationReport, CopyTextOfThePointsTable) {
  FitRecord r;
  r.rawValues = {0.010, 0.020};
  r.calibratedValues = {0, 100};
  const CurveUnits units{Unit(7, L"V"), Unit(1, L"mmHg")};
  struct Case {
    std::int32_t type;
    bool forceOrigin;
    int decimals;
    std::locale locale;
    const wchar_t* text;
  };
  const Case cases[] = {
      {MPCalibration::Linear, false, 2, std::locale::classic(),
       L"\tmV\tmmHg\t\n1.00\t10.00\t0.00\t\n2.00\t20.00\t100.00\t\n"},
      {MPCalibration::Quadratic, true, 2, std::locale::classic(),
       L"\tmV\tmmHg\t\n1.00\t10.00\t0.00\t\n2.00\t20.00\t100.00\t\n*\t0.00\t0.00\t\n"},
      {MPCalibration::Linear, false, 0, std::locale::classic(),
       L"\tmV\tmmHg\t\n1\t10\t0\t\n2\t20\t100\t\n"},
      {MPCalibration::Linear, false, 2, Tarn::testing::CommaDecimalLocale(),
       L"\tmV\tmmHg\t\n1,00\t10,00\t0,00\t\n2,00\t20,00\t100,00\t\n"},
  };
  for (const Case& c : cases) {
    r.fitType = c.type;
    r.forceOrigin = c.forceOrigin;
    TabulatedTable table;
    FillPointsTable(table, r, units);
    EXPECT_EQ(ReportCopyText(table, c.decimals, c.locale), c.text);
  }
}

} // namespace
} // namespace GUILib

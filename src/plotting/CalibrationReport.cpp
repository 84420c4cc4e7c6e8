#include "plotting/CalibrationReport.h"

#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ios>
#include <sstream>

namespace GUILib {

using MPCalibration::FitRecord;

namespace {

constexpr double kSplit = 0.67;
constexpr double kLineSpacing = 1.2;
constexpr int kTextInset = 4;

int Round(double v) noexcept {
  return static_cast<int>(std::lround(v));
}

std::int64_t HundredthsOfMm(int pixels, int sizeMm, int resolution) noexcept {
  return static_cast<std::int64_t>(pixels) * sizeMm * 100 / resolution;
}

} // namespace

ReportLayout LayoutReport(Rect page) noexcept {
  const int l = page.left, t = page.top, r = page.right, b = page.bottom;
  const int x = static_cast<int>(kSplit * r + (1 - kSplit) * l);
  const int y = static_cast<int>(kSplit * b + (1 - kSplit) * t);
  return {{l, t, x, y}, {x, t, r, b}, {l, y, x, b}};
}

ReportGraphLayout LayoutReportGraph(Rect area, int scaleWidth, int scaleHeight) noexcept {
  const int w = std::max(scaleWidth, kReportScaleMinWidth);
  const int h = std::max(scaleHeight, kReportScaleMinHeight);
  const int l = area.left, t = area.top, r = area.right, b = area.bottom;
  return {{l, t + h / 3, l + w, b - h},
          {l + w, b - h, r - w / 3, b},
          {l + w, t + h / 3, r - w / 3, b - h}};
}

int FitDetailsFontHeight(int pixelsPerInchY) noexcept {
  return -Round(pixelsPerInchY * kFitDetailsPoints / 72.0);
}

std::vector<std::wstring> FitDetailsLines(const FitRecord& record, const std::wstring& heading,
                                          const std::locale& numberLocale) {
  std::vector<std::wstring> lines{heading};
  lines.push_back(Tarn::ModuleString(MPCalibration::FitTypeLongNameId(record.fitType)) + L" : " +
                  MPCalibration::FormatEquation(record, numberLocale));
  if (record.fitType == MPCalibration::PointToPoint)
    return lines;
  std::wostringstream sse;
  sse.imbue(numberLocale);
  sse << L"SSE = " << record.sumSquaredError;
  lines.push_back(sse.str());
  if (!MPCalibration::ForceOriginApplies(record.fitType, record.forceOrigin)) {
    std::wostringstream r2;
    r2.imbue(numberLocale);
    r2 << L"R\u00B2 = " << record.fitError;
    lines.push_back(r2.str());
  }
  return lines;
}

FitDetailsLayout LayoutFitDetails(Rect area, int characterHeight, std::size_t lineCount) {
  const double d = kLineSpacing * characterHeight;
  FitDetailsLayout layout;
  for (std::size_t i = 0; i < lineCount; ++i)
    layout.lineOrigins.push_back({area.left + kTextInset, area.top + Round(d * (i + 1))});
  layout.frame = {area.left, area.top + Round(d), area.right,
                  area.top + Round(d * (lineCount + 1))};
  return layout;
}

Rect MetafileFrame(Size client, int horizontalSizeMm, int verticalSizeMm, int horizontalRes,
                   int verticalRes) noexcept {
  if (horizontalRes <= 0 || verticalRes <= 0)
    return {};
  return {0, 0, static_cast<int>(HundredthsOfMm(client.cx, horizontalSizeMm, horizontalRes)),
          static_cast<int>(HundredthsOfMm(client.cy, verticalSizeMm, verticalRes))};
}

std::wstring ReportCopyText(const TabulatedTable& table, int decimalPlaces,
                            const std::locale& numberLocale) {
  std::wostringstream out;
  out.imbue(numberLocale);
  out << std::fixed;
  out.precision(std::max(decimalPlaces, 0));
  WriteTableText(out, table);
  return out.str();
}

} // namespace GUILib

#include "multipointcalibration/ui/ReportDrawing.h"

#include <string>
#include <vector>

#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"
#include "multipointcalibration/ui/DragScale.h"
#include "plotting/CalibrationReport.h"
#include "plotting/win/SavedDc.h"
#include "window/win/WindowUtil.h"

namespace MPCalibration {
namespace {

using Tarn::ComPtr;
using Tarn::Window::ToRECT;
using Tarn::Window::ToRect;

constexpr std::uint32_t kRawValuesString = 100;
constexpr std::uint32_t kFittedValuesString = 101;
constexpr std::uint32_t kFitDetailsString = 107;
constexpr std::uint32_t kScaleOption = 0xFFFF;
constexpr int kScalePoints = 9;

Tarn::unique_hfont MakeFont(int height) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(font.lfFaceName, L"Tahoma");
  return Tarn::unique_hfont(::CreateFontIndirectW(&font));
}

// The font height in logical units of `dc` for `points`, from its vertical resolution.
int LogicalFontHeight(HDC dc, int pixels) {
  POINT p[2] = {{0, 0}, {0, pixels}};
  ::DPtoLP(dc, p, 2);
  const int logical = p[1].y - p[0].y;
  return logical < 0 ? -logical : logical;
}

// Scales for the target device with the graph's ranges, titles and units, so that labels and
// their sizes are those of the device drawn on.
struct DrawingScale {
  ComPtr<Host::IDragScale> scale;
  ComPtr<Host::IAxisScale> axis;
};

// The scale starts over the whole graph area, so that the labels it measures for its thickness
// are those of about the length it is drawn at, not those of a much shorter axis.
DrawingScale MakeDrawingScale(const CDragScale& from, std::int32_t orientation,
                              const std::wstring& title, const std::wstring& unit,
                              const RECT& start) {
  DrawingScale made;
  made.scale = CDragScale::CreateForDrawing(start, orientation);
  double top = 0.0, bottom = 0.0;
  from.GetRange(top, bottom);
  Tarn::ThrowIfFailed(made.scale->SetTitle(title.c_str()));
  Tarn::ThrowIfFailed(made.scale->SetUnitLabel(unit.c_str()));
  Tarn::ThrowIfFailed(made.scale->SetOption(kScaleOption));
  Tarn::ThrowIfFailed(made.scale->SetRange(top, bottom));
  Tarn::ThrowIfFailed(made.scale->GetAxisScale(made.axis.put()));
  return made;
}

int Thickness(const DrawingScale& s, HDC dc) {
  std::int32_t thickness = 0;
  Tarn::ThrowIfFailed(s.scale->CalcSize(dc, 0, &thickness));
  return thickness;
}

// The graph drawn over the drawing scales; the window's own scales are given back however the
// drawing ends.
class ScaleSwap {
public:
  ScaleSwap(GUILib::CGraph2D& graph, Host::IAxisScale* horizontal, Host::IAxisScale* vertical)
      : graph_(graph), horizontal_(graph.HorizontalScale().get()),
        vertical_(graph.VerticalScale().get()) {
    graph_.SetScales(horizontal, vertical);
  }
  ScaleSwap(const ScaleSwap&) = delete;
  ScaleSwap& operator=(const ScaleSwap&) = delete;
  ~ScaleSwap() { graph_.SetScales(horizontal_.get(), vertical_.get()); }

private:
  GUILib::CGraph2D& graph_;
  ComPtr<Host::IAxisScale> horizontal_;
  ComPtr<Host::IAxisScale> vertical_;
};

void DrawGraph(HDC dc, GUILib::Rect area, const ReportParts& parts) {
  GUILib::SavedDc saved(dc);
  Tarn::unique_hfont font =
      MakeFont(-LogicalFontHeight(dc, ::MulDiv(kScalePoints, ::GetDeviceCaps(dc, LOGPIXELSY), 72)));
  ::SelectObject(dc, font.get());

  GUILib::CGraph2D& graph = parts.graph;
  const auto [xUnit, yUnit] = graph.AxisUnits();
  const RECT start = ToRECT(area);
  const DrawingScale vertical =
      MakeDrawingScale(parts.verticalScale, CDragScale::kVertical,
                       Tarn::ModuleString(kFittedValuesString), yUnit, start);
  const DrawingScale horizontal =
      MakeDrawingScale(parts.horizontalScale, CDragScale::kHorizontal,
                       Tarn::ModuleString(kRawValuesString), xUnit, start);
  const GUILib::ReportGraphLayout layout =
      GUILib::LayoutReportGraph(area, Thickness(vertical, dc), Thickness(horizontal, dc));
  const RECT verticalRect = ToRECT(layout.verticalScale);
  const RECT horizontalRect = ToRECT(layout.horizontalScale);
  Tarn::ThrowIfFailed(vertical.scale->SetPosition(&verticalRect));
  Tarn::ThrowIfFailed(horizontal.scale->SetPosition(&horizontalRect));
  Tarn::ThrowIfFailed(vertical.scale->Draw(dc, &verticalRect));
  Tarn::ThrowIfFailed(horizontal.scale->Draw(dc, &horizontalRect));

  ScaleSwap swap(graph, horizontal.axis.get(), vertical.axis.get());
  graph.Draw(dc, layout.plot, GUILib::CGraph2D::Marks::Left);
}

} // namespace

void DrawReport(HDC dc, const RECT& rect, const ReportParts& parts) {
  GUILib::SavedDc saved(dc);
  Tarn::unique_hbrush background(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
  ::FillRect(dc, &rect, background.get());
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);

  const GUILib::ReportLayout layout = GUILib::LayoutReport(ToRect(rect));
  DrawGraph(dc, layout.graph, parts);
  parts.table.Paint(dc, ToRECT(layout.table));
  DrawFitDetails(dc, ToRECT(layout.fitDetails), parts.fit);
}

void DrawFitDetails(HDC dc, const RECT& rect, const FitRecord& fit) {
  GUILib::SavedDc saved(dc);
  // A long equation ends at the block's edge instead of running over the table beside it.
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  const int pixels = -GUILib::FitDetailsFontHeight(::GetDeviceCaps(dc, LOGPIXELSY));
  Tarn::unique_hfont font = MakeFont(-LogicalFontHeight(dc, pixels));
  ::SelectObject(dc, font.get());
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  ::SetBkMode(dc, OPAQUE);
  ::SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);

  const std::vector<std::wstring> lines =
      GUILib::FitDetailsLines(fit, Tarn::ModuleString(kFitDetailsString));
  const GUILib::FitDetailsLayout layout =
      GUILib::LayoutFitDetails(ToRect(rect), metrics.tmHeight, lines.size());
  for (std::size_t i = 0; i < lines.size() && i < layout.lineOrigins.size(); ++i)
    ::TextOutW(dc, layout.lineOrigins[i].x, layout.lineOrigins[i].y, lines[i].c_str(),
               static_cast<int>(lines[i].size()));

  const RECT frame = ToRECT(layout.frame);
  ::FrameRect(dc, &frame, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

} // namespace MPCalibration

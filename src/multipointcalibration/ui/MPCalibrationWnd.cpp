#include "multipointcalibration/ui/MPCalibrationWnd.h"

#include <cfloat>
#include <new>
#include <tuple>

#include "controls/win/DialogFonts.h"
#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "plotting/CalibrationCurve.h"
#include "plotting/GraphLayout.h"
#include "window/win/Dpi.h"
#include "window/win/WindowUtil.h"

namespace MPCalibration {
namespace {

constexpr std::uint32_t kRawValuesString = 100;
constexpr std::uint32_t kFittedValuesString = 101;
constexpr std::uint32_t kXReadOutString = 105;
constexpr std::uint32_t kYReadOutString = 106;
constexpr COLORREF kGridColour = RGB(166, 202, 240);
constexpr std::uint32_t kScaleOption = 0xFFFF;
constexpr int kGraphId = 1;
constexpr int kXReadOutId = 2;
constexpr int kYReadOutId = 3;

// The scales' value axes end (h / 2) + 2 pixels inside their windows, so each scale reaches that
// far beyond the graph's ends to map its values onto the graph's pixels.
GUILib::CurveWindowLayout ScaledLayout(HWND window, int textHeight) {
  RECT client;
  ::GetClientRect(window, &client);
  GUILib::CurveWindowLayout layout =
      GUILib::LayoutCurveWindow(Tarn::Window::ToRect(client), Tarn::Window::DpiOfWindow(window));
  const int overhang = textHeight / 2 + 2;
  layout.verticalScale.top -= overhang;
  layout.verticalScale.bottom += overhang;
  layout.horizontalScale.left -= overhang;
  layout.horizontalScale.right += overhang;
  return layout;
}

int TextHeight() {
  TarnControls::DialogFonts::Shared().EnsureBuilt();
  return TarnControls::DialogFonts::Shared().TextExtent().cy;
}

template <class T> Tarn::ComPtr<T> Make(MPCalibrationWnd* window) {
  return Tarn::ComPtr<T>::Adopt(new T(window));
}

} // namespace

// The window's faces towards its table and its scales, which may hold them longer than the
// window lives: once the window is gone they answer S_FALSE and do nothing.
class MPCalibrationWnd::TabulatedObserver final
    : public Tarn::ComObject<TabulatedObserver, GUILib::ITabulatedDataObserver> {
public:
  explicit TabulatedObserver(MPCalibrationWnd* window) noexcept : mWindow(window) {}
  void Disconnect() noexcept { mWindow = nullptr; }

  HRESULT STDMETHODCALLTYPE ColumnsChanged(std::int32_t, std::int32_t) noexcept override {
    return Notify();
  }
  HRESULT STDMETHODCALLTYPE RowsChanged(std::int32_t, std::int32_t,
                                        std::int32_t) noexcept override {
    return Notify();
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override { return Notify(); }

private:
  friend Tarn::ComObject<TabulatedObserver, GUILib::ITabulatedDataObserver>;
  ~TabulatedObserver() = default;

  HRESULT Notify() noexcept {
    if (!mWindow)
      return S_FALSE;
    return Tarn::Guard([&] {
      mWindow->OnDataChanged();
      return S_OK;
    });
  }

  MPCalibrationWnd* mWindow;
  LiveObjectCounter mCounted;
};

class MPCalibrationWnd::DragScaleObserver final
    : public Tarn::ComObject<DragScaleObserver, Host::IDragScaleObserver> {
public:
  explicit DragScaleObserver(MPCalibrationWnd* window) noexcept : mWindow(window) {}
  void Disconnect() noexcept { mWindow = nullptr; }

  HRESULT STDMETHODCALLTYPE DragStarted(Host::IDragScale*) noexcept override {
    return Notify(ScaleEvent::DragStarted);
  }
  HRESULT STDMETHODCALLTYPE Dragging(Host::IDragScale*, double, double) noexcept override {
    return Notify(ScaleEvent::Dragging);
  }
  HRESULT STDMETHODCALLTYPE RangeChanged(Host::IDragScale*, double, double) noexcept override {
    return Notify(ScaleEvent::RangeChanged);
  }
  HRESULT STDMETHODCALLTYPE DragEnded(Host::IDragScale*) noexcept override {
    return Notify(ScaleEvent::DragEnded);
  }
  HRESULT STDMETHODCALLTYPE TransformChanged(Host::IDragScale*, double, double) noexcept override {
    return Notify(ScaleEvent::TransformChanged);
  }
  HRESULT STDMETHODCALLTYPE QueryOption(Host::IDragScale*, std::uint32_t) noexcept override {
    return S_FALSE;
  }

private:
  friend Tarn::ComObject<DragScaleObserver, Host::IDragScaleObserver>;
  ~DragScaleObserver() = default;

  HRESULT Notify(ScaleEvent event) noexcept {
    if (!mWindow)
      return S_FALSE;
    return Tarn::Guard([&] {
      mWindow->OnScaleEvent(event);
      return S_OK;
    });
  }

  MPCalibrationWnd* mWindow;
  LiveObjectCounter mCounted;
};

MPCalibrationWnd::MPCalibrationWnd(const Tarn::UnitInfo& rawUnit,
                                   const CalibrationSettings& settings)
    : mCurveData(GUILib::CTabulatedData::Create()), mSettings(settings), mRawUnit(rawUnit),
      mTableObserver(Make<TabulatedObserver>(this)), mScaleObserver(Make<DragScaleObserver>(this)) {
}

MPCalibrationWnd::~MPCalibrationWnd() {
  // The base destroys the window only after this part is gone, so the links are cut here.
  Disconnect();
}

void MPCalibrationWnd::Disconnect() noexcept {
  if (mTableObserver) {
    (void)mCurveData->Unadvise(mTableObserver.get()); // E_FAIL when it was never advised
    mTableObserver->Disconnect();
  }
  if (mScaleObserver) {
    if (mVScale.IsCreated())
      mVScale.Detach(mScaleObserver.get());
    if (mHScale.IsCreated())
      mHScale.Detach(mScaleObserver.get());
    mScaleObserver->Disconnect();
  }
  mTableObserver.reset();
  mScaleObserver.reset();
}

void MPCalibrationWnd::Create(HWND parent, const RECT& rect, int id) {
  if (!RegisterWindowClass(CS_HREDRAW | CS_VREDRAW, ::GetSysColorBrush(COLOR_WINDOW)) ||
      !CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    throw Tarn::XHResult(HRESULT_FROM_WIN32(::GetLastError()));

  Tarn::ThrowIfFailed(mCurveData->Advise(mTableObserver.get()));

  const int textHeight = TextHeight();
  const GUILib::CurveWindowLayout layout = ScaledLayout(hwnd(), textHeight);
  mVScale.Create(hwnd(), Tarn::Window::ToRECT(layout.verticalScale), textHeight,
                 CDragScale::kVertical);
  mHScale.Create(hwnd(), Tarn::Window::ToRECT(layout.horizontalScale), textHeight,
                 CDragScale::kHorizontal);
  mVScale.Attach(mScaleObserver.get());
  mHScale.Attach(mScaleObserver.get());

  if (!mPlot.Create(hwnd(), layout.graph, kGraphId))
    throw Tarn::XHResult(E_HANDLE);
  mPlot.SetData(&mCurveData->Table());
  mPlot.SetScales(mHScale.AxisScale().get(), mVScale.AxisScale().get());
  mPlot.SetGridColour(kGridColour);
  // The graph's zoom, Set Scales and popup menu are reachable only when it is interactive.
  mPlot.SetInteractive(true);

  mVScale.SetOption(kScaleOption);
  mHScale.SetOption(kScaleOption);
  for (auto [readOut, rectOf, readOutId] : {std::tuple{&mXReadout, layout.xReadOut, kXReadOutId},
                                            std::tuple{&mYReadout, layout.yReadOut, kYReadOutId}}) {
    if (!readOut->Create(hwnd(), rectOf, readOutId))
      throw Tarn::XHResult(E_HANDLE);
    readOut->SetInset(GUILib::kReadOutTextInset);
  }

  RebuildCurve();
  AddPlot(GUILib::kPointXColumn, GUILib::kPointYColumn, GUILib::DataPlotXY::Points, 3,
          RGB(255, 0, 0));
  AddPlot(GUILib::kOrdinalXColumn, GUILib::kOrdinalYColumn, GUILib::DataPlotXY::Ordinal, 6,
          RGB(0, 0, 0));
  AddPlot(GUILib::kCurveXColumn, GUILib::kCurveYColumn, GUILib::DataPlotXY::Lines, 1,
          RGB(0, 0, 255));
}

void MPCalibrationWnd::AddPlot(std::int64_t xColumn, std::int64_t yColumn, int type, int size,
                               COLORREF colour) {
  const GUILib::PlotKey key{xColumn, yColumn};
  if (!mPlot.AddPlot(xColumn, yColumn))
    throw Tarn::XHResult(E_FAIL);
  if (GUILib::PlotInfo* plot = mPlot.GetPlot(key)) {
    plot->SetColour(colour);
    plot->Plot().SetLayer(0, type, size, colour);
  }
  const GUILib::TabulatedTable& table = mCurveData->Table();
  std::wstring name, units;
  (void)table.GetColumnName(xColumn, name);
  (void)table.GetColumnUnits(xColumn, units);
  mHScale.SetTitle(name.c_str());
  mHScale.SetUnitLabel(units.c_str());
  (void)table.GetColumnName(yColumn, name);
  (void)table.GetColumnUnits(yColumn, units);
  mVScale.SetTitle(name.c_str());
  mVScale.SetUnitLabel(units.c_str());

  const GUILib::CurveRanges ranges = GUILib::CurveStartingRanges(mSettings, mRawUnit);
  mVScale.SetRange(ranges.vertical.high, ranges.vertical.low);
  mHScale.SetRange(ranges.horizontal.high, ranges.horizontal.low);
}

void MPCalibrationWnd::SetSettings(const CalibrationSettings& settings) {
  mSettings = settings;
  RebuildCurve();
}

void MPCalibrationWnd::RebuildCurve() {
  if (!mHScale.IsCreated())
    return;
  // A failed query leaves the double's extremes, for which the curve is left out.
  GUILib::AxisRange horizontal{DBL_MAX, -DBL_MAX};
  (void)mHScale.Scale()->GetRange(&horizontal.high, &horizontal.low);
  const GUILib::CurveColumnNames names{Tarn::ModuleString(kRawValuesString),
                                       Tarn::ModuleString(kFittedValuesString)};
  GUILib::FillCurveData(mCurveData->EditTable(), mSettings, {mRawUnit, mSettings.unit}, names,
                        horizontal);
}

void MPCalibrationWnd::OnDataChanged() {
  mPlot.Recompute();
  if (mPlot.hwnd())
    ::InvalidateRect(mPlot.hwnd(), nullptr, TRUE);
}

void MPCalibrationWnd::OnScaleEvent(ScaleEvent event) {
  if (!mPlot.hwnd())
    return;
  switch (event) {
  case ScaleEvent::Dragging:
    ::InvalidateRect(mPlot.hwnd(), nullptr, TRUE);
    ::UpdateWindow(mPlot.hwnd());
    break;
  case ScaleEvent::RangeChanged:
    RebuildCurve();
    ::InvalidateRect(mPlot.hwnd(), nullptr, TRUE);
    break;
  case ScaleEvent::TransformChanged:
    ::InvalidateRect(mPlot.hwnd(), nullptr, TRUE);
    break;
  case ScaleEvent::DragStarted:
  case ScaleEvent::DragEnded:
    break;
  }
}

void MPCalibrationWnd::OnCursor(const float* point) {
  if (!point) {
    mXReadout.SetText({});
    mYReadout.SetText({});
    return;
  }
  const GUILib::PlotKey key = mPlot.SelectedPlot().value_or(GUILib::PlotKey{});
  const GUILib::TabulatedTable& table = mCurveData->Table();
  std::wstring xUnits, yUnits;
  (void)table.GetColumnUnits(key.x, xUnits);
  (void)table.GetColumnUnits(key.y, yUnits);
  mXReadout.SetText(GUILib::CursorReadOutText(Tarn::ModuleString(kXReadOutString), point[0], xUnits,
                                              mSettings.decimalPlaces));
  mYReadout.SetText(GUILib::CursorReadOutText(Tarn::ModuleString(kYReadOutString), point[1], yUnits,
                                              mSettings.decimalPlaces));
}

void MPCalibrationWnd::Layout() {
  if (!mHScale.IsCreated())
    return;
  const GUILib::CurveWindowLayout layout = ScaledLayout(hwnd(), TextHeight());
  mVScale.SetPosition(Tarn::Window::ToRECT(layout.verticalScale));
  mHScale.SetPosition(Tarn::Window::ToRECT(layout.horizontalScale));
  const auto place = [](HWND window, GUILib::Rect r) {
    ::MoveWindow(window, r.left, r.top, r.Width(), r.Height(), TRUE);
  };
  place(mPlot.hwnd(), layout.graph);
  place(mXReadout.hwnd(), layout.xReadOut);
  place(mYReadout.hwnd(), layout.yReadOut);
}

// The corner below the vertical scale and left of the horizontal one takes the scales' face, so
// that the two make one unbroken frame around the graph's lower left.
void MPCalibrationWnd::EraseBackground(HDC dc) const {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  if (!mHScale.IsCreated())
    return;
  const GUILib::CurveWindowLayout layout = ScaledLayout(hwnd(), TextHeight());
  const RECT corner{client.left, layout.verticalScale.bottom, layout.horizontalScale.left,
                    client.bottom};
  ::FillRect(dc, &corner, ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT MPCalibrationWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case GUILib::kCursorMessage:
    OnCursor(reinterpret_cast<const float*>(lParam));
    return 0;
  case WM_SIZE:
    Layout();
    return 0;
  case WM_ERASEBKGND:
    EraseBackground(reinterpret_cast<HDC>(wParam));
    return 1;
  case WM_DESTROY:
    Disconnect();
    return 0;
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

} // namespace MPCalibration

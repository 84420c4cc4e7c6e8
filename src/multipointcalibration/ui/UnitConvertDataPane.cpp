#include "multipointcalibration/ui/UnitConvertDataPane.h"

#include <windowsx.h>

#include <algorithm>
#include <array>

#include "controls/win/ButtonBitmaps.h"
#include "controls/win/DialogFonts.h"
#include "foundation/XHResult.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ResourceStrings.h"
#include "foundation/win/UniqueHandle.h"
#include "multipointcalibration/ui/DragScale.h"
#include "window/win/Module.h"

namespace MPCalibration {
namespace {

constexpr UINT kNotContinuousString = 253;
constexpr UINT kNoDataString = 254;
constexpr int kMeanBitmap = 326;
constexpr int kMaxBitmap = 327;
constexpr int kMinBitmap = 328;
constexpr COLORREF kNoSelectionGrey = RGB(192, 192, 192);
constexpr int kChunk = 16;

RECT Normalised(int left, int top, int right, int bottom) noexcept {
  return {std::min(left, right), std::min(top, bottom), std::max(left, right),
          std::max(top, bottom)};
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  Tarn::unique_hbrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.get());
}

} // namespace

// The pane's face towards the scale. The scale may hold it longer than the pane lives, so the
// pane cuts the link when it goes and the observer then answers without calling it.
class UnitConvertDataPane::Observer final
    : public Tarn::ComObject<Observer, Host::IDragScaleObserver> {
public:
  explicit Observer(UnitConvertDataPane* pane) noexcept : mPane(pane) {}
  void Disconnect() noexcept { mPane = nullptr; }

  HRESULT STDMETHODCALLTYPE DragStarted(Host::IDragScale*) noexcept override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Dragging(Host::IDragScale*, double factor,
                                     double offset) noexcept override {
    return Notify(factor, offset, true);
  }
  HRESULT STDMETHODCALLTYPE RangeChanged(Host::IDragScale*, double factor,
                                         double offset) noexcept override {
    return Notify(factor, offset, false);
  }
  HRESULT STDMETHODCALLTYPE DragEnded(Host::IDragScale*) noexcept override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE TransformChanged(Host::IDragScale*, double factor,
                                             double offset) noexcept override {
    return Notify(factor, offset, false);
  }
  HRESULT STDMETHODCALLTYPE QueryOption(Host::IDragScale*, std::uint32_t) noexcept override {
    return S_FALSE;
  }

private:
  friend Tarn::ComObject<Observer, Host::IDragScaleObserver>;
  ~Observer() = default;

  HRESULT Notify(double factor, double offset, bool redrawNow) noexcept {
    if (!mPane)
      return S_FALSE;
    mPane->OnScaleChanged(factor, offset, redrawNow);
    return S_OK;
  }

  UnitConvertDataPane* mPane;
};

UnitConvertDataPane::UnitConvertDataPane(COLORREF colour) noexcept
    : mColour(colour), mObserver(Tarn::ComPtr<Observer>::Adopt(new (std::nothrow) Observer(this))) {
}

UnitConvertDataPane::~UnitConvertDataPane() {
  // The base destroys the window only after this part is gone, so the link is cut here.
  DetachScale();
  if (mObserver)
    mObserver->Disconnect();
}

bool UnitConvertDataPane::Create(HWND parent, const RECT& rect, int id) noexcept {
  if (!RegisterWindowClass(CS_DBLCLKS, ::GetSysColorBrush(COLOR_WINDOW)))
    return false;
  return CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) != nullptr;
}

void UnitConvertDataPane::LinkScale(CDragScale& scale) {
  if (!mObserver)
    throw Tarn::XHResult(E_OUTOFMEMORY);
  DetachScale();
  scale.Attach(mObserver.get());
  mScale = scale.Scale();
  double factor = 1.0;
  double offset = 0.0;
  if (SUCCEEDED(scale.AxisScale()->GetTransform(&factor, &offset)))
    OnScaleChanged(factor, offset, false);
}

void UnitConvertDataPane::DetachScale() noexcept {
  if (mScale && mObserver)
    (void)mScale->Detach(mObserver.get()); // a scale whose window went has let go already
  mScale.reset();
}

void UnitConvertDataPane::Clear() noexcept {
  mSamples.clear();
  mStatistics = {};
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

bool UnitConvertDataPane::AppendFrom(Tarn::ComPtr<Host::IEnumFloatEx> reader, double scale) {
  if (!reader)
    return false;
  std::array<float, kChunk> chunk{};
  bool delivered = false;
  for (;;) {
    std::uint32_t fetched = 0;
    const HRESULT status = reader->Next(kChunk, chunk.data(), &fetched);
    if (FAILED(status))
      break;
    fetched = std::min<std::uint32_t>(fetched, kChunk);
    delivered = delivered || fetched > 0;
    Pane::AppendWithinCapacity(mSamples, std::span<const float>(chunk.data(), fetched), scale);
    if (status != S_OK || fetched == 0 || mSamples.size() >= Pane::kCapacity)
      break;
  }
  reader.reset();
  if (delivered) {
    RecomputeStatistics();
    if (hwnd())
      ::InvalidateRect(hwnd(), nullptr, FALSE);
  }
  return delivered;
}

void UnitConvertDataPane::SetState(int state) noexcept {
  mState = state;
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

std::optional<double> UnitConvertDataPane::Mean() const noexcept {
  return mStatistics.valid ? std::optional<double>(mStatistics.mean) : std::nullopt;
}
std::optional<double> UnitConvertDataPane::Max() const noexcept {
  return mStatistics.valid ? std::optional<double>(mStatistics.max) : std::nullopt;
}
std::optional<double> UnitConvertDataPane::Min() const noexcept {
  return mStatistics.valid ? std::optional<double>(mStatistics.min) : std::nullopt;
}

void UnitConvertDataPane::OnScaleChanged(double factor, double offset, bool redrawNow) noexcept {
  mMap = {factor, offset};
  if (!hwnd())
    return;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  if (redrawNow)
    ::UpdateWindow(hwnd());
}

void UnitConvertDataPane::RecomputeStatistics() noexcept {
  const auto range = Pane::MarkedSamples(mSamples.size(), mClient.right, mMarkStart, mMarkEnd);
  mStatistics = range ? Pane::RangeStatistics(mSamples, *range) : Pane::Statistics{};
}

LRESULT UnitConvertDataPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_SIZE:
    ::GetClientRect(hwnd(), &mClient);
    if (mMarkShown)
      mMarkRect.bottom = std::max<LONG>(mMarkRect.top, mClient.bottom - 2);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
  case WM_ERASEBKGND:
    return 1; // the paint fills everything from its back buffer
  case WM_PAINT:
    Paint();
    return 0;
  case WM_LBUTTONDOWN:
    MarkRange(GET_X_LPARAM(lParam));
    return 0;
  case WM_LBUTTONDBLCLK:
    if (!mSamples.empty())
      ::SendMessageW(::GetParent(hwnd()), kTakeMeanMessage, 0, 0);
    return 0;
  case WM_CAPTURECHANGED:
    if (mMarking)
      mCaptureLost = true;
    return 0;
  case WM_DESTROY:
    DetachScale();
    return 0;
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

void UnitConvertDataPane::MarkRange(int x) {
  if (mSamples.empty() || mMarking)
    return;
  const int height = mClient.bottom;
  const RECT data{0, 0, Pane::DataWidth(mClient.right), height};
  {
    auto dc = Tarn::unique_window_dc::Get(hwnd());
    if (mMarkShown)
      ::InvertRect(dc.get(), &mMarkRect);
    mMarkShown = false;
  }
  ::SetCapture(hwnd());
  mMarking = true;
  mCaptureLost = false;
  mMarkStart = std::min<int>(x, data.right);
  int cursorX = x;
  bool released = false;
  bool quit = false;
  WPARAM quitCode = 0;
  for (;;) {
    MSG msg;
    while (!released && !quit && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
        break;
      }
      // Under capture every pointer message of the thread is the pane's; the pointer's place is
      // taken from them rather than from the cursor, which synthesised input does not move.
      if (msg.hwnd == hwnd() && (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP))
        cursorX = GET_X_LPARAM(msg.lParam);
      if (msg.hwnd == hwnd() && msg.message == WM_LBUTTONUP)
        released = true;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    // A message of the loop may have closed the dialog and the pane with it.
    if (!hwnd()) {
      mMarking = false;
      if (quit)
        ::PostQuitMessage(static_cast<int>(quitCode));
      return;
    }
    if (::GetCapture() != hwnd())
      mCaptureLost = true;
    const int clamped = std::clamp<int>(cursorX, data.left, data.right);
    mMarkEnd = clamped == mMarkStart ? mMarkStart + 1 : clamped;
    const RECT next = Normalised(mMarkStart, 2, mMarkEnd, height - 2);
    {
      auto dc = Tarn::unique_window_dc::Get(hwnd());
      InvertMark(dc.get(), mMarkRect, mMarkShown, next);
    }
    mMarkRect = next;
    mMarkShown = true;
    if (released || quit || mCaptureLost)
      break;
    ::WaitMessage();
  }
  mMarking = false;
  if (::GetCapture() == hwnd())
    ::ReleaseCapture();
  if (quit)
    ::PostQuitMessage(static_cast<int>(quitCode));
  RecomputeStatistics();
  const Pane::StripLayout strip = Pane::MarkerStrip(mClient.right, mClient.bottom);
  const RECT stripRect{strip.left, strip.top, strip.right, strip.bottom};
  ::InvalidateRect(hwnd(), &stripRect, FALSE);
  ::UpdateWindow(hwnd());
}

void UnitConvertDataPane::InvertMark(HDC dc, const RECT& from, bool fromShown,
                                     const RECT& to) const {
  if (!dc)
    return;
  Tarn::unique_hrgn next(::CreateRectRgnIndirect(&to));
  if (!next)
    return;
  if (fromShown) {
    // Only what changed is inverted: the new mark differs from the old by their exclusive-or.
    Tarn::unique_hrgn old(::CreateRectRgnIndirect(&from));
    if (!old)
      return;
    ::CombineRgn(next.get(), next.get(), old.get(), RGN_XOR);
  }
  ::InvertRgn(dc, next.get());
}

void UnitConvertDataPane::Paint() {
  PAINTSTRUCT ps;
  HDC screen = ::BeginPaint(hwnd(), &ps);
  if (!screen)
    return;
  const int width = std::max<LONG>(mClient.right, 1);
  const int height = std::max<LONG>(mClient.bottom, 1);
  Tarn::unique_hdc buffer(::CreateCompatibleDC(screen));
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
  if (buffer && bitmap) {
    Tarn::unique_select_object selected(buffer.get(), bitmap.get());
    PaintTo(buffer.get());
    ::BitBlt(screen, 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
  } else {
    PaintTo(screen);
  }
  ::EndPaint(hwnd(), &ps);
}

void UnitConvertDataPane::PaintTo(HDC dc) const {
  switch (mState) {
  case NoSelection:
    Fill(dc, mClient, kNoSelectionGrey);
    return;
  case NotContinuous:
    PaintMessage(dc, kNotContinuousString);
    return;
  case NoData:
    PaintMessage(dc, kNoDataString);
    return;
  default:
    break;
  }
  ::FillRect(dc, &mClient, ::GetSysColorBrush(COLOR_WINDOW));
  PaintTrace(dc);
  if (mMarkShown)
    ::InvertRect(dc, &mMarkRect);
  PaintMarkers(dc);
}

void UnitConvertDataPane::PaintMessage(HDC dc, UINT stringId) const {
  ::FillRect(dc, &mClient, ::GetSysColorBrush(COLOR_BTNFACE));
  const Tarn::TarnString text =
      Tarn::LoadResourceString(Tarn::Window::ModuleInstance(), stringId, true);
  auto& fonts = TarnControls::DialogFonts::Shared();
  fonts.EnsureBuilt();
  HFONT font = fonts.Font(TarnControls::DialogFontKind::Normal);
  Tarn::unique_select_object selected(dc, font ? static_cast<HGDIOBJ>(font)
                                               : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  RECT measured = mClient;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  RECT place = mClient;
  const int textHeight = measured.bottom - measured.top;
  place.top = mClient.top + std::max<LONG>(0, (mClient.bottom - mClient.top - textHeight) / 2);
  place.bottom = place.top + textHeight;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, format);
}

void UnitConvertDataPane::PaintTrace(HDC dc) const {
  const std::size_t n = mSamples.size();
  if (n == 0 || Pane::DataWidth(mClient.right) == 0)
    return;
  Tarn::unique_hpen pen(::CreatePen(PS_SOLID, 1, mColour));
  Tarn::unique_select_object selected(dc, pen.get());
  if (Pane::SamplesPerPixel(n, mClient.right) > 1.0) {
    Pane::ReduceColumns(mSamples, mClient.right, mMap, mColumns);
    // Two points per column, one poly-polyline call for the whole trace.
    std::vector<POINT> points;
    points.reserve(mColumns.size() * 2);
    for (const Pane::ColumnLine& line : mColumns) {
      points.push_back({line.x, line.top});
      points.push_back({line.x, line.bottom + 1}); // the end point is not drawn
    }
    std::vector<DWORD> counts(mColumns.size(), 2);
    if (!counts.empty())
      ::PolyPolyline(dc, points.data(), counts.data(), static_cast<DWORD>(counts.size()));
    return;
  }
  Pane::SparsePolylines(mSamples, mClient.right, mMap, mPolylines);
  if (mPolylines.runs.empty())
    return;
  std::vector<POINT> points;
  points.reserve(mPolylines.points.size());
  for (const Pane::TracePoint& p : mPolylines.points)
    points.push_back({p.x, p.y});
  std::vector<DWORD> counts(mPolylines.runs.begin(), mPolylines.runs.end());
  ::PolyPolyline(dc, points.data(), counts.data(), static_cast<DWORD>(counts.size()));
}

void UnitConvertDataPane::PaintMarkers(HDC dc) const {
  const Pane::StripLayout strip = Pane::MarkerStrip(mClient.right, mClient.bottom);
  const RECT stripRect{strip.left, strip.top, strip.right, strip.bottom};
  Fill(dc, stripRect, RGB(255, 255, 255));
  if (!mStatistics.valid)
    return;
  Tarn::unique_hdc memory(::CreateCompatibleDC(dc));
  if (!memory)
    return;
  const std::pair<int, double> markers[] = {{kMaxBitmap, mStatistics.max},
                                            {kMinBitmap, mStatistics.min},
                                            {kMeanBitmap, mStatistics.mean}};
  for (const auto& [id, value] : markers) {
    const std::optional<int> top = Pane::MarkerTop(value, mMap);
    if (!top)
      continue;
    // The markers keep their 16-pixel drawing at every resolution: the strip is 17 pixels wide.
    Tarn::unique_hbitmap bitmap = TarnControls::LoadButtonBitmap(id, 96, false);
    if (!bitmap)
      continue;
    const SIZE size = TarnControls::BitmapSize(bitmap.get());
    Tarn::unique_select_object selected(memory.get(), bitmap.get());
    ::BitBlt(dc, strip.markerX, *top, size.cx, size.cy, memory.get(), 0, 0, SRCAND);
  }
}

} // namespace MPCalibration

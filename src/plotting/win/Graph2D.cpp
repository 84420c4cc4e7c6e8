#include "plotting/win/Graph2D.h"

#include "foundation/ModuleStrings.h"
#include "plotting/GraphLayout.h"
#include "plotting/GraphStrings.h"
#include "plotting/win/SavedDc.h"
#include "plotting/win/SetRangeDlg.h"
#include "window/win/Module.h"
#include "window/win/WindowUtil.h"

#include <windowsx.h>

namespace GUILib {

CGraph2D::CGraph2D()
    : mMenu(::LoadMenuW(Tarn::Window::ModuleInstance(), MAKEINTRESOURCEW(kMenuResource))) {
  mGrid.colour = kDefaultGridColour;
  mGrid.SetScales(&mHScale, &mVScale);
}

HWND CGraph2D::Create(HWND parent, Rect rect, int id) noexcept {
  if (!RegisterWindowClass(CS_HREDRAW | CS_VREDRAW, nullptr, ::LoadCursorW(nullptr, IDC_CROSS)))
    return nullptr;
  return CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                            rect.Width(), rect.Height(), parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CGraph2D::SetData(const TabulatedTable* table) {
  mSource = nullptr;
  mData = table;
  Recompute();
}

void CGraph2D::SetData(CTabulatedData* data) {
  mSource.reset(data);
  mData = data ? &data->Table() : nullptr;
  Recompute();
}

void CGraph2D::SetScales(Host::IAxisScale* horizontal, Host::IAxisScale* vertical) {
  mHScale = HostAxisScale(horizontal);
  mVScale = HostAxisScale(vertical);
  mScalesValid = true;
  Repaint();
}

bool CGraph2D::AddPlot(std::int64_t xColumn, std::int64_t yColumn, std::wstring name) {
  const PlotKey key{xColumn, yColumn};
  if (!mData || !mModel.AddPlot(key, std::move(name)))
    return false;
  auto info = std::make_unique<PlotInfo>(*mModel.Find(key));
  info->Plot().SetScales(&mHScale, &mVScale);
  mPlots.emplace(key, std::move(info));
  Recompute();
  return true;
}

PlotInfo* CGraph2D::GetPlot(PlotKey key) noexcept {
  const auto found = mPlots.find(key);
  return found == mPlots.end() ? nullptr : found->second.get();
}

void CGraph2D::Recompute() {
  if (!mData)
    return;
  const AxisRange horizontal = mHScale.GetRange();
  const AxisRange vertical = mVScale.GetRange();
  AxisRange newHorizontal = horizontal;
  AxisRange newVertical = vertical;
  mModel.Recompute(*mData, newHorizontal, newVertical);
  if (mHScale && !(newHorizontal == horizontal))
    (void)mHScale.SetRange(newHorizontal);
  if (mVScale && !(newVertical == vertical))
    (void)mVScale.SetRange(newVertical);
  Repaint();
}

bool CGraph2D::SelectPlot(PlotKey key) {
  if (!mModel.Select(key))
    return false;
  MoveCursor(std::nullopt);
  return true;
}

void CGraph2D::SetShowGrid(bool on) {
  mShowGrid = on;
  Repaint();
}

void CGraph2D::SetGridColour(COLORREF colour) {
  mGrid.colour = colour;
  Repaint();
}

void CGraph2D::SetCursorHidden(bool hidden) {
  mCursorHidden = hidden;
  Repaint();
}

void CGraph2D::Draw(HDC dc, Rect rect, Marks marks) const {
  SavedDc saved(dc);
  Tarn::unique_hbrush background(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
  const RECT whole = Tarn::Window::ToRECT(rect);
  ::FillRect(dc, &whole, background.get());
  if (!CanPaintGraph(rect))
    return;
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (mScalesValid && mShowGrid)
    mGrid.Draw(dc, rect);

  const auto axes = AxisPolyline(rect);
  ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  ::Polyline(dc, reinterpret_cast<const POINT*>(axes.data()), static_cast<int>(axes.size()));

  if (mScalesValid && mData) {
    for (const auto& [key, info] : mPlots)
      if (info->Visible())
        info->Plot().Draw(dc, info->Samples(), rect);
  }
  if (mCursorHidden || marks == Marks::Left)
    return;
  if (mScalesValid && mCursor.Position()) {
    // The cursor's place counts from the plot's corner.
    SavedDc origin(dc);
    ::OffsetViewportOrgEx(dc, rect.left, rect.top, nullptr);
    mCursor.Draw(dc);
  }
  if (mZoom.Shown()) {
    RECT zoom = Tarn::Window::ToRECT(Offset(mZoom.Rectangle(), rect.left, rect.top));
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &zoom);
  }
}

bool CGraph2D::ZoomSelection() {
  if (!mZoom.HasSelection())
    return false;
  const bool accepted = ZoomToRectangle(mHScale, mVScale, mZoom.Start(), mZoom.Finish());
  // A refused zoom leaves both ranges as they were, which the graph can still show.
  mScalesValid = true;
  mZoom.Clear();
  Repaint();
  return accepted;
}

bool CGraph2D::CanResetScales() const noexcept {
  return mHScale.HasDefaultRange() && mVScale.HasDefaultRange();
}

TypedRangesOutcome CGraph2D::ApplyTypedRanges(AxisRange horizontal, AxisRange vertical) {
  TypedRangesOutcome outcome = GUILib::ApplyTypedRanges(mHScale, mVScale, horizontal, vertical);
  if (outcome.accepted)
    mScalesValid = true;
  Repaint();
  return outcome;
}

std::pair<std::wstring, std::wstring> CGraph2D::AxisUnits() const {
  std::pair<std::wstring, std::wstring> units;
  const auto selected = mModel.Selected();
  if (mData && selected) {
    (void)mData->GetColumnUnits(selected->x, units.first);
    (void)mData->GetColumnUnits(selected->y, units.second);
  }
  return units;
}

void CGraph2D::ResetScales() {
  (void)mHScale.ResetToDefault();
  (void)mVScale.ResetToDefault();
  mScalesValid = true;
  Repaint();
}

HMENU CGraph2D::PreparePopupMenu() {
  if (!mMenu)
    return nullptr;
  HMENU popup = ::GetSubMenu(mMenu.get(), 0);
  if (!popup)
    return nullptr;
  ::EnableMenuItem(popup, kResetScalesCommand,
                   MF_BYCOMMAND | (CanResetScales() ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(popup, kZoomSelectionCommand,
                   MF_BYCOMMAND | (mZoom.HasSelection() ? MF_ENABLED : MF_GRAYED));
  if (!mModel.HasTraceMenu())
    return popup;
  // Only the previous submenu goes: the fixed commands stay where they are.
  for (int i = ::GetMenuItemCount(popup) - 1; i >= 0 && mTraceSubmenu; --i)
    if (::GetSubMenu(popup, i) == mTraceSubmenu) {
      ::DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
      mTraceSubmenu = nullptr;
    }
  unique_hmenu traces = mColourMenu.Build(mModel.TraceMenu());
  const std::wstring title = Tarn::ModuleString(kSelectTraceString);
  if (::AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(traces.get()),
                    title.c_str()))
    mTraceSubmenu = traces.release();
  return popup;
}

bool CGraph2D::RunCommand(UINT command) {
  switch (command) {
  case kSetScalesCommand: {
    SetRangeDlg dialog(*this);
    (void)dialog.DoModal(hwnd());
    Repaint();
    return true;
  }
  case kResetScalesCommand:
    ResetScales();
    return true;
  case kZoomSelectionCommand:
    (void)ZoomSelection();
    return true;
  default:
    if (const auto key = mColourMenu.KeyForCommand(command))
      return SelectPlot(*key);
    return false;
  }
}

void CGraph2D::Repaint() noexcept {
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CGraph2D::Paint() {
  Tarn::unique_paint_dc paint(hwnd());
  const Rect client = Tarn::Window::ClientRect(hwnd());
  if (client.IsEmpty())
    return;
  // Everything is drawn into a back buffer first, so no stale trace survives and nothing flickers.
  Tarn::unique_hdc buffer(::CreateCompatibleDC(paint.get()));
  Tarn::unique_hbitmap bitmap(
      ::CreateCompatibleBitmap(paint.get(), client.Width(), client.Height()));
  {
    Tarn::unique_select_object selected(buffer.get(), bitmap.get());
    Draw(buffer.get(), client);
    ::BitBlt(paint.get(), 0, 0, client.Width(), client.Height(), buffer.get(), 0, 0, SRCCOPY);
  }
}

void CGraph2D::MoveCursor(std::optional<Point> at) {
  if (!hwnd()) {
    if (at)
      mCursor.Place(*at);
    else
      mCursor.Remove();
    return;
  }
  const int dpi = ::GetDeviceCaps(Tarn::unique_window_dc::Get(hwnd()).get(), LOGPIXELSX);
  if (mCursor.Position()) {
    const RECT old = Tarn::Window::ToRECT(CBitmapCursor::Bounds(*mCursor.Position(), dpi));
    ::InvalidateRect(hwnd(), &old, FALSE);
  }
  if (at)
    mCursor.Place(*at);
  else
    mCursor.Remove();
  if (at) {
    const RECT now = Tarn::Window::ToRECT(CBitmapCursor::Bounds(*at, dpi));
    ::InvalidateRect(hwnd(), &now, FALSE);
  }
}

void CGraph2D::OnMouseMove(Point at) {
  if (!mTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    mTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  if (mZoom.Dragging()) {
    mZoom.Move(at);
    Repaint();
  }
  const auto selected = mModel.Selected();
  const PlotSamples* samples = selected ? mModel.Find(*selected) : nullptr;
  if (!samples || !samples->visible || !mScalesValid)
    return;
  const auto nearest =
      FindNearest(samples->x, samples->y, mHScale.Transform(), mVScale.Transform(), {0, 0}, at);
  if (!nearest)
    return;
  MoveCursor(nearest->pixel);
  float point[2] = {samples->x[nearest->index], samples->y[nearest->index]};
  ::SendMessageW(::GetParent(hwnd()), kCursorMessage, 0, reinterpret_cast<LPARAM>(point));
}

void CGraph2D::OnMouseLeave() {
  mTrackingLeave = false;
  MoveCursor(std::nullopt);
  ::SendMessageW(::GetParent(hwnd()), kCursorMessage, 0, 0);
}

void CGraph2D::ShowPopup(LPARAM screenPoint) {
  if (!mInteractive)
    return;
  HMENU popup = PreparePopupMenu();
  if (!popup)
    return;
  POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (at.x == -1 && at.y == -1) {
    const Rect client = Tarn::Window::ClientRect(hwnd());
    at = {client.Width() / 2, client.Height() / 2};
    ::ClientToScreen(hwnd(), &at);
  }
  ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

LRESULT CGraph2D::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    Paint();
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSELEAVE:
    OnMouseLeave();
    return 0;
  case WM_LBUTTONDOWN:
    if (mInteractive) {
      mZoom.Begin({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      ::SetCapture(hwnd());
      Repaint();
    }
    return 0;
  case WM_LBUTTONUP:
    if (mZoom.Dragging()) {
      mZoom.End({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, Tarn::Window::ClientRect(hwnd()));
      ::ReleaseCapture();
      Repaint();
    }
    return 0;
  case WM_CAPTURECHANGED:
    // Capture taken away mid-drag (a dialog, another window): the drag ends where it got to.
    if (mZoom.Dragging() && reinterpret_cast<HWND>(lParam) != hwnd()) {
      mZoom.End(mZoom.Finish(), Tarn::Window::ClientRect(hwnd()));
      Repaint();
    }
    return 0;
  case WM_CONTEXTMENU:
    ShowPopup(lParam);
    return 0;
  case WM_COMMAND:
    if (HIWORD(wParam) == 0 && RunCommand(LOWORD(wParam)))
      return 0;
    break;
  case WM_MEASUREITEM:
    if (mColourMenu.Measure(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
      return TRUE;
    break;
  case WM_DRAWITEM:
    if (mColourMenu.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
      return TRUE;
    break;
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace GUILib

#include "HostDragScale.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/win/HostBoundary.h"
#include "window/win/Dpi.h"

namespace Vela {
namespace {

using Orientation = ScaleMath::Orientation;

// Geometry at 96 dpi, scaled to the device.
constexpr int kMajorTick = 6;
constexpr int kMinorTick = 3;
constexpr int kGap = 3;
constexpr int kSmallestEndZone = 6;
constexpr int kLargestEndZone = 24;

wchar_t UserDecimalPoint() noexcept {
  wchar_t text[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) > 1)
    return text[0];
  return L'.';
}

int Round(double value) noexcept {
  return static_cast<int>(std::lround(value));
}

// A pixel position for GDI: far-off values are held where 16-bit drivers still draw them.
int ToDevice(double pixel) noexcept {
  return static_cast<int>(std::clamp(pixel, -16000.0, 16000.0));
}

SIZE TextSize(HDC dc, const std::wstring& text) noexcept {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The minor ticks between two major ones: fifths of a 1 or 5 step, quarters of a 2 step.
int MinorDivisions(double step) noexcept {
  const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  return std::fabs(mantissa - 2.0) < 0.01 ? 4 : 5;
}

} // namespace

HostDragScale::HostDragScale(const Creation& creation)
    : creation_(creation), math_(creation.orientation, 1) {
  font_.reset(::CreateFontW(-::MulDiv(8, Tarn::Window::SystemDpi(), 72), 0, 0, 0, FW_NORMAL, 0, 0,
                            0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg 2"));
  Relayout();
}

HostDragScale::~HostDragScale() {
  // The window must not reach this object while its members go.
  BaseWindow::Destroy();
}

HRESULT HostDragScale::Create(HWND parent, const Creation& creation,
                              Host::IDragScale** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  *out = nullptr;
  return Tarn::Guard([&]() -> HRESULT {
    auto scale = Tarn::ComPtr<HostDragScale>::Adopt(new HostDragScale(creation));
    if (parent) {
      const RECT& r = creation.rect;
      if (!scale->CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, parent))
        return HRESULT_FROM_WIN32(::GetLastError());
      scale->windowed_ = true;
      scale->Relayout();
    }
    *out = static_cast<Host::IDragScale*>(scale.release());
    return S_OK;
  });
}

int HostDragScale::AxisStart(double unitsPerPixel) const noexcept {
  return Round(-creation_.startOffset * unitsPerPixel);
}

int HostDragScale::AxisLength(const RECT& r, double unitsPerPixel) const noexcept {
  const int along =
      creation_.orientation == Orientation::Vertical ? r.bottom - r.top : r.right - r.left;
  return along + Round((creation_.startOffset + creation_.endOffset) * unitsPerPixel);
}

int HostDragScale::Along(POINT p) const noexcept {
  return (creation_.orientation == Orientation::Vertical ? p.y : p.x) - AxisStart(1.0);
}

void HostDragScale::Relayout() noexcept {
  if (windowed_ && hwnd()) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    math_.SetLength(AxisLength(client, 1.0));
  } else {
    math_.SetLength(AxisLength(creation_.rect, 1.0));
  }
}

bool HostDragScale::ApplyRange(double high, double low) {
  if (!math_.SetRange(high, low))
    return false;
  if (!hasDefault_) {
    hasDefault_ = true;
    defaultHigh_ = high;
    defaultLow_ = low;
  }
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  return true;
}

void HostDragScale::Notify(Notice notice) {
  // An observer may release the scale or detach others while it is told.
  const Tarn::ComPtr<HostDragScale> self(this);
  const auto told = observers_;
  for (const auto& observer : told) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
      continue;
    const auto t = math_.GetTransform();
    switch (notice) {
    case Notice::Dragging:
      (void)observer->Dragging(this, t.factor, t.offset);
      break;
    case Notice::RangeChanged:
      (void)observer->RangeChanged(this, t.factor, t.offset);
      break;
    case Notice::TransformChanged:
      (void)observer->TransformChanged(this, t.factor, t.offset);
      break;
    }
  }
}

void HostDragScale::NotifyDragBoundary(bool started) {
  const Tarn::ComPtr<HostDragScale> self(this);
  const auto told = observers_;
  for (const auto& observer : told) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
      continue;
    (void)(started ? observer->DragStarted(this) : observer->DragEnded(this));
  }
}

void HostDragScale::ReleaseObservers() noexcept {
  auto released = std::move(observers_);
  observers_.clear();
}

HFONT HostDragScale::Font() const noexcept {
  return font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

double HostDragScale::MajorStep(HDC dc, const ScaleMath& axis) const {
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  const int lineHeight = tm.tmHeight;
  double step = ScaleMath::TickStep(axis.high() - axis.low(), axis.length(), 2 * lineHeight);
  if (creation_.orientation == Orientation::Horizontal && step > 0) {
    // Horizontal labels sit side by side: their widths decide the spacing.
    const double largest = std::max(std::fabs(axis.high()), std::fabs(axis.low()));
    const wchar_t point = UserDecimalPoint();
    int widest = 0;
    for (const double value : axis.Ticks(step))
      widest =
          std::max<int>(widest, TextSize(dc, ScaleMath::LabelText(value, step, largest, point)).cx);
    step = ScaleMath::TickStep(axis.high() - axis.low(), axis.length(), widest + 2 * lineHeight);
  }
  return step;
}

void HostDragScale::Paint(HDC dc, const RECT& r, double unitsPerPixel) const {
  const double dots = ::GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
  const int major = Round(kMajorTick * dots);
  const int minor = Round(kMinorTick * dots);
  const int gap = Round(kGap * dots);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  const int lineHeight = tm.tmHeight;
  const bool vertical = creation_.orientation == Orientation::Vertical;

  ScaleMath axis = math_;
  axis.SetLength(AxisLength(r, unitsPerPixel));
  const int start = (vertical ? r.top : r.left) + AxisStart(unitsPerPixel);
  const double largest = std::max(std::fabs(axis.high()), std::fabs(axis.low()));
  const wchar_t point = UserDecimalPoint();

  const double step = MajorStep(dc, axis);
  if (step <= 0)
    return;

  const HPEN pen = static_cast<HPEN>(::GetStockObject(BLACK_PEN));
  Tarn::unique_select_object selectedPen(dc, pen);
  ::SetBkMode(dc, TRANSPARENT);

  // The axis line along the side that faces the data.
  const int axisEnd = start + axis.length();
  if (vertical) {
    ::MoveToEx(dc, r.right - 1, start, nullptr);
    ::LineTo(dc, r.right - 1, axisEnd + 1);
  } else {
    ::MoveToEx(dc, start, r.top, nullptr);
    ::LineTo(dc, axisEnd + 1, r.top);
  }
  const auto tick = [&](double value, int size) {
    const int at = start + ToDevice(axis.ValueToPixel(value));
    if (at < start - 1 || at > axisEnd + 1)
      return;
    if (vertical) {
      ::MoveToEx(dc, r.right - 1, at, nullptr);
      ::LineTo(dc, r.right - 1 - size, at);
    } else {
      ::MoveToEx(dc, at, r.top, nullptr);
      ::LineTo(dc, at, r.top + size);
    }
  };

  const int divisions = MinorDivisions(step);
  const double minorStep = step / divisions;
  if (std::fabs(axis.ValueToPixel(minorStep) - axis.ValueToPixel(0)) >= 4 * dots) {
    for (const double value : axis.Ticks(minorStep))
      tick(value, minor);
  }

  ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  for (const double value : axis.Ticks(step)) {
    tick(value, major);
    const std::wstring text = ScaleMath::LabelText(value, step, largest, point);
    const SIZE size = TextSize(dc, text);
    const int at = start + ToDevice(axis.ValueToPixel(value));
    int x = 0;
    int y = 0;
    if (vertical) {
      x = r.right - 1 - major - gap - size.cx;
      y = std::clamp<int>(at - size.cy / 2, r.top, std::max<int>(r.top, r.bottom - size.cy));
    } else {
      x = std::clamp<int>(at - size.cx / 2, r.left, std::max<int>(r.left, r.right - size.cx));
      y = r.top + major + gap;
    }
    ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  }

  std::wstring caption = unit_;
  if (option_ != 0 && !title_.empty())
    caption = unit_.empty() ? title_ : title_ + L" (" + unit_ + L")";
  if (caption.empty())
    return;
  const SIZE size = TextSize(dc, caption);
  if (vertical) {
    // Read from the bottom up along the outer edge, centred on the axis.
    LOGFONTW lf{};
    ::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = 900;
    Tarn::unique_hfont rotated(::CreateFontIndirectW(&lf));
    Tarn::unique_select_object selectedFont(dc, rotated.get());
    const int centre = (start + axisEnd) / 2;
    const int y = std::max<int>(std::min<int>(centre + size.cx / 2, r.bottom), r.top + size.cx);
    ::TextOutW(dc, r.left + gap, y, caption.c_str(), static_cast<int>(caption.size()));
  } else {
    const int centre = (start + axisEnd) / 2;
    const int x =
        std::clamp<int>(centre - size.cx / 2, r.left, std::max<int>(r.left, r.right - size.cx));
    ::TextOutW(dc, x, r.top + major + gap + lineHeight + gap, caption.c_str(),
               static_cast<int>(caption.size()));
  }
}

int HostDragScale::Thickness(HDC dc) const {
  const double dots = ::GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
  const int major = Round(kMajorTick * dots);
  const int gap = Round(kGap * dots);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  const bool hasCaption = !unit_.empty() || (option_ != 0 && !title_.empty());
  const double unitsPerPixel =
      ::GetDeviceCaps(dc, LOGPIXELSY) / static_cast<double>(Tarn::Window::SystemDpi());
  const int least = Round(creation_.minimumThickness * unitsPerPixel);
  if (creation_.orientation == Orientation::Horizontal) {
    const int needed = major + gap + tm.tmHeight + gap + (hasCaption ? tm.tmHeight + gap : 0);
    return std::max(needed, least);
  }
  // Every label the current range could show at the current length.
  const double step =
      ScaleMath::TickStep(math_.high() - math_.low(), math_.length(), 2 * tm.tmHeight);
  const double largest = std::max(std::fabs(math_.high()), std::fabs(math_.low()));
  const wchar_t point = UserDecimalPoint();
  int widest = 0;
  for (const double value : math_.Ticks(step))
    widest =
        std::max<int>(widest, TextSize(dc, ScaleMath::LabelText(value, step, largest, point)).cx);
  const int needed = (hasCaption ? gap + tm.tmHeight : 0) + gap + widest + gap + major + 1;
  return std::max(needed, least);
}

void HostDragScale::OnPaint() {
  Tarn::unique_paint_dc paint(hwnd());
  if (!paint)
    return;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int width = std::max<int>(client.right, 1);
  const int height = std::max<int>(client.bottom, 1);
  Tarn::unique_hdc memory(::CreateCompatibleDC(paint.get()));
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(paint.get(), width, height));
  if (!memory || !bitmap)
    return;
  Tarn::unique_select_object selectedBitmap(memory.get(), bitmap.get());
  Tarn::unique_select_object selectedFont(memory.get(), Font());
  ::FillRect(memory.get(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
  ::SetTextColor(memory.get(), ::GetSysColor(COLOR_BTNTEXT));
  Paint(memory.get(), client, 1.0);
  ::BitBlt(paint.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void HostDragScale::OnButtonDown(POINT p) {
  // A press that comes before the release of the last one ends that drag first.
  EndDrag();
  const int along = Along(p);
  const int length = math_.length();
  const int zone = std::clamp(length / 6, Tarn::Window::ScaleForWindow(hwnd(), kSmallestEndZone),
                              Tarn::Window::ScaleForWindow(hwnd(), kLargestEndZone));
  drag_ = along < zone ? Drag::StretchStart : along > length - zone ? Drag::StretchEnd : Drag::Pan;
  dragFrom_ = along;
  dragHigh_ = math_.high();
  dragLow_ = math_.low();
  ::SetCapture(hwnd());
  NotifyDragBoundary(true);
}

void HostDragScale::OnMouseMove(POINT p) {
  if (drag_ == Drag::None || ::GetCapture() != hwnd())
    return;
  ScaleMath moved = math_;
  if (!moved.SetRange(dragHigh_, dragLow_))
    return;
  const int along = Along(p);
  const bool done = drag_ == Drag::Pan
                        ? moved.Pan(along - dragFrom_)
                        : moved.Stretch(drag_ == Drag::StretchStart, dragFrom_, along);
  if (!done || (moved.high() == math_.high() && moved.low() == math_.low()))
    return;
  math_ = moved;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  ::UpdateWindow(hwnd());
  Notify(Notice::Dragging);
}

void HostDragScale::EndDrag() {
  if (drag_ == Drag::None)
    return;
  drag_ = Drag::None;
  if (math_.high() != dragHigh_ || math_.low() != dragLow_)
    Notify(Notice::RangeChanged);
  NotifyDragBoundary(false);
}

LRESULT HostDragScale::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_LBUTTONDOWN:
    OnButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_LBUTTONUP:
    if (::GetCapture() == hwnd())
      ::ReleaseCapture();
    EndDrag();
    return 0;
  case WM_CAPTURECHANGED:
    EndDrag();
    return 0;
  case WM_SETCURSOR:
    if (LOWORD(lParam) == HTCLIENT) {
      POINT p{};
      ::GetCursorPos(&p);
      ::ScreenToClient(hwnd(), &p);
      const int along = Along(p);
      const int zone =
          std::clamp(math_.length() / 6, Tarn::Window::ScaleForWindow(hwnd(), kSmallestEndZone),
                     Tarn::Window::ScaleForWindow(hwnd(), kLargestEndZone));
      const bool atEnd = along < zone || along > math_.length() - zone;
      const bool vertical = creation_.orientation == Orientation::Vertical;
      ::SetCursor(::LoadCursorW(nullptr, !atEnd ? IDC_HAND : vertical ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    }
    break;
  case WM_WINDOWPOSCHANGED: {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
      creation_.rect = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
      Relayout();
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      Notify(Notice::TransformChanged);
    }
    break;
  }
  case WM_DESTROY:
    drag_ = Drag::None;
    ReleaseObservers();
    break;
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

HRESULT HostDragScale::SetTitle(const wchar_t* title) noexcept {
  return Tarn::Guard([&] {
    title_ = title ? title : L"";
    if (hwnd())
      ::InvalidateRect(hwnd(), nullptr, FALSE);
  });
}

HRESULT HostDragScale::SetUnitLabel(const wchar_t* unit) noexcept {
  return Tarn::Guard([&] {
    unit_ = unit ? unit : L"";
    if (hwnd())
      ::InvalidateRect(hwnd(), nullptr, FALSE);
  });
}

HRESULT HostDragScale::SetRange(double top, double bottom) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    if (top == math_.high() && bottom == math_.low() && hasDefault_)
      return S_FALSE;
    if (!ApplyRange(top, bottom))
      return E_INVALIDARG;
    Notify(Notice::RangeChanged);
    return S_OK;
  });
}

HRESULT HostDragScale::GetRange(double* top, double* bottom) noexcept {
  if (!top || !bottom)
    return E_INVALIDARG;
  *top = math_.high();
  *bottom = math_.low();
  return S_OK;
}

HRESULT HostDragScale::SetPosition(const RECT* rect) noexcept {
  if (!rect)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    if (windowed_) {
      if (!hwnd())
        return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
      if (!::SetWindowPos(hwnd(), nullptr, rect->left, rect->top, rect->right - rect->left,
                          rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE))
        return HRESULT_FROM_WIN32(::GetLastError());
      return S_OK;
    }
    creation_.rect = *rect;
    Relayout();
    Notify(Notice::TransformChanged);
    return S_OK;
  });
}

HRESULT HostDragScale::CalcSize(HDC dc, std::int32_t fontHeight, std::int32_t* thickness) noexcept {
  if (!thickness)
    return E_INVALIDARG;
  *thickness = 0;
  return Tarn::Guard([&]() -> HRESULT {
    if (dc) {
      *thickness = Thickness(dc);
      return S_OK;
    }
    Tarn::unique_window_dc screen = Tarn::unique_window_dc::Get(nullptr);
    if (!screen)
      return E_FAIL;
    Tarn::unique_hfont sized;
    if (fontHeight > 0) {
      LOGFONTW lf{};
      ::GetObjectW(Font(), sizeof lf, &lf);
      lf.lfHeight = -fontHeight;
      sized.reset(::CreateFontIndirectW(&lf));
    }
    Tarn::unique_select_object selected(screen.get(), sized ? sized.get() : Font());
    *thickness = Thickness(screen.get());
    return S_OK;
  });
}

HRESULT HostDragScale::SetOption(std::uint32_t option) noexcept {
  return Tarn::Guard([&] {
    option_ = option;
    const Tarn::ComPtr<HostDragScale> self(this);
    const auto told = observers_;
    for (const auto& observer : told)
      (void)observer->QueryOption(this, option);
    if (hwnd())
      ::InvalidateRect(hwnd(), nullptr, FALSE);
  });
}

HRESULT HostDragScale::Attach(Host::IDragScaleObserver* observer) noexcept {
  if (!observer)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    // A scale whose window has gone tells nobody any more.
    if (windowed_ && !hwnd())
      return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    const Tarn::ComPtr<Host::IDragScaleObserver> held(observer);
    if (std::find(observers_.begin(), observers_.end(), held) != observers_.end())
      return S_FALSE;
    observers_.push_back(held);
    return S_OK;
  });
}

HRESULT HostDragScale::Detach(Host::IDragScaleObserver* observer) noexcept {
  if (!observer)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    const auto found = std::find_if(observers_.begin(), observers_.end(),
                                    [&](const auto& held) { return held.get() == observer; });
    if (found == observers_.end())
      return S_FALSE;
    // Released after it has left the list, in case the release reaches back to this scale.
    const auto released = *found;
    observers_.erase(found);
    return S_OK;
  });
}

HRESULT HostDragScale::GetAxisScale(Host::IAxisScale** scale) noexcept {
  if (!scale)
    return E_INVALIDARG;
  AddRef();
  *scale = this;
  return S_OK;
}

HRESULT HostDragScale::Draw(HDC dc, const RECT* rect) noexcept {
  if (!dc || !rect)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    const int saved = ::SaveDC(dc);
    if (!saved)
      return E_FAIL;
    const double unitsPerPixel =
        ::GetDeviceCaps(dc, LOGPIXELSY) / static_cast<double>(Tarn::Window::SystemDpi());
    try {
      Paint(dc, *rect, unitsPerPixel);
    } catch (...) {
      ::RestoreDC(dc, saved);
      throw;
    }
    ::RestoreDC(dc, saved);
    return S_OK;
  });
}

HRESULT HostDragScale::GetTransform(double* factor, double* offset) noexcept {
  if (!factor || !offset)
    return E_INVALIDARG;
  const auto t = math_.GetTransform();
  *factor = t.factor;
  *offset = t.offset;
  return S_OK;
}

HRESULT HostDragScale::GetGrid(double* first, double* spacing) noexcept {
  if (!first || !spacing)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    auto screen = Tarn::unique_window_dc::Get(nullptr);
    if (!screen)
      return E_FAIL;
    Tarn::unique_select_object font(screen.get(), Font());
    const double step = MajorStep(screen.get(), math_);
    if (!(step > 0))
      return S_FALSE;
    const std::vector<double> ticks = math_.Ticks(step);
    if (ticks.empty())
      return S_FALSE;
    // Ticks run from the low end up; a vertical axis counts its pixels from the high end.
    const double a = math_.ValueToPixel(ticks.front());
    const double b = math_.ValueToPixel(ticks.back());
    *first = std::min(a, b);
    *spacing = std::fabs(step * math_.GetTransform().factor);
    return S_OK;
  });
}

HRESULT HostDragScale::GetLimits(double* upper, double* lower) noexcept {
  if (!upper || !lower)
    return E_INVALIDARG;
  *upper = kLimit;
  *lower = -kLimit;
  return S_OK;
}

HRESULT HostDragScale::PixelToValue(double pixel, double* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  *value = math_.PixelToValue(pixel);
  return S_OK;
}

HRESULT HostDragScale::HasDefaultRange() noexcept {
  return hasDefault_ ? S_OK : S_FALSE;
}

HRESULT HostDragScale::ResetToDefault() noexcept {
  if (!hasDefault_)
    return S_FALSE;
  return SetRange(defaultHigh_, defaultLow_);
}

HRESULT HostDragScale::GetWindow(HWND* window) noexcept {
  if (!window)
    return E_INVALIDARG;
  *window = hwnd();
  return *window ? S_OK : E_FAIL;
}

} // namespace Vela

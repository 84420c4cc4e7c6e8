#include "PaneDoubles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace PaneDoubles {

VectorReader::VectorReader(std::vector<float> samples, bool* alive)
    : samples_(std::move(samples)), alive_(alive) {
  if (alive_)
    *alive_ = true;
}

VectorReader::~VectorReader() {
  if (alive_)
    *alive_ = false;
}

void* VectorReader::QueryExtra(REFIID iid) noexcept {
  return iid == Host::IID_IEnumExBase ? static_cast<Host::IEnumExBase*>(this) : nullptr;
}

HRESULT VectorReader::GetPosition(std::int32_t* position) noexcept {
  if (!position)
    return E_INVALIDARG;
  *position = static_cast<std::int32_t>(position_);
  return S_OK;
}

HRESULT VectorReader::Next(std::uint32_t count, float* values, std::uint32_t* fetched) noexcept {
  if (!values || !fetched)
    return E_INVALIDARG;
  largestRequest = std::max(largestRequest, count);
  const std::size_t n = std::min<std::size_t>(count, samples_.size() - position_);
  std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(position_), n, values);
  position_ += n;
  *fetched = static_cast<std::uint32_t>(n);
  return n == count ? S_OK : S_FALSE;
}

Tarn::ComPtr<Host::IEnumFloatEx> MakeReader(std::vector<float> samples, bool* alive) {
  return Tarn::ComPtr<Host::IEnumFloatEx>::Adopt(new VectorReader(std::move(samples), alive));
}

TestScale::TestScale(HWND parent, const RECT& rect, std::int32_t start, std::int32_t end,
                     std::int32_t orient)
    : startOffset(start), endOffset(end), orientation(orient) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TestScale::Procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"PaneTestScale";
  ::RegisterClassW(&wc); // a second registration fails harmlessly
  window_ = ::CreateWindowExW(0, L"PaneTestScale", L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TestScale::~TestScale() {
  if (window_ && ::IsWindow(window_)) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void* TestScale::QueryExtra(REFIID iid) noexcept {
  return iid == IID_IOleWindow ? static_cast<IOleWindow*>(this) : nullptr;
}

int TestScale::AxisLength() const noexcept {
  RECT r{};
  ::GetClientRect(window_, &r);
  const int along = orientation == 0 ? r.bottom : r.right;
  return std::max(1, along + startOffset + endOffset);
}

HRESULT TestScale::SetUnitLabel(const wchar_t* unit) noexcept {
  unit_ = unit ? unit : L"";
  ::InvalidateRect(window_, nullptr, TRUE);
  return S_OK;
}

HRESULT TestScale::SetRange(double top, double bottom) noexcept {
  if (!std::isfinite(top) || !std::isfinite(bottom) || top == bottom)
    return E_INVALIDARG;
  top_ = top;
  bottom_ = bottom;
  ::InvalidateRect(window_, nullptr, TRUE);
  double factor = 0.0;
  double offset = 0.0;
  (void)GetTransform(&factor, &offset);
  const auto observers = observers_; // an observer may detach itself while told
  for (const auto& o : observers) {
    ++notifications;
    (void)o->RangeChanged(this, factor, offset);
  }
  return S_OK;
}

HRESULT TestScale::GetRange(double* top, double* bottom) noexcept {
  if (!top || !bottom)
    return E_INVALIDARG;
  *top = top_;
  *bottom = bottom_;
  return S_OK;
}

HRESULT TestScale::SetPosition(const RECT* rect) noexcept {
  if (!rect)
    return E_INVALIDARG;
  ::MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
  return S_OK;
}

HRESULT TestScale::CalcSize(HDC, std::int32_t, std::int32_t* thickness) noexcept {
  if (!thickness)
    return E_INVALIDARG;
  *thickness = 48;
  return S_OK;
}

HRESULT TestScale::Attach(Host::IDragScaleObserver* observer) noexcept {
  if (!observer)
    return E_INVALIDARG;
  observers_.emplace_back(observer);
  return S_OK;
}

HRESULT TestScale::Detach(Host::IDragScaleObserver* observer) noexcept {
  const auto it = std::find_if(observers_.begin(), observers_.end(),
                               [&](const auto& o) { return o.get() == observer; });
  if (it == observers_.end())
    return S_FALSE;
  observers_.erase(it);
  return S_OK;
}

HRESULT TestScale::GetAxisScale(Host::IAxisScale** scale) noexcept {
  if (!scale)
    return E_INVALIDARG;
  *scale = this;
  AddRef();
  return S_OK;
}

HRESULT TestScale::GetWindow(HWND* window) noexcept {
  if (!window)
    return E_INVALIDARG;
  *window = window_;
  return S_OK;
}

HRESULT TestScale::GetTransform(double* factor, double* offset) noexcept {
  if (!factor || !offset)
    return E_INVALIDARG;
  // pixel = (value + offset) x factor, 0 at the high end (the top, or the right when horizontal).
  *factor = -AxisLength() / (top_ - bottom_);
  *offset = -top_;
  return S_OK;
}

HRESULT TestScale::PixelToValue(double pixel, double* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  double factor = 0.0;
  double offset = 0.0;
  (void)GetTransform(&factor, &offset);
  *value = pixel / factor - offset;
  return S_OK;
}

void TestScale::Paint(HDC dc) const {
  RECT r{};
  ::GetClientRect(window_, &r);
  ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  const int start = -startOffset;
  const int length = AxisLength();
  for (int i = 0; i <= 4; ++i) {
    const int y = start + length * i / 4;
    ::MoveToEx(dc, r.right - 6, y, nullptr);
    ::LineTo(dc, r.right, y);
    wchar_t text[32];
    std::swprintf(text, 32, L"%g", top_ + (bottom_ - top_) * i / 4.0);
    RECT label{0, y - 8, r.right - 8, y + 8};
    ::DrawTextW(dc, text, -1, &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  ::MoveToEx(dc, r.right - 1, start, nullptr);
  ::LineTo(dc, r.right - 1, start + length);
  RECT unit{2, start + length / 2 - 30, r.right - 8, start + length / 2 - 12};
  ::DrawTextW(dc, unit_.c_str(), -1, &unit, DT_LEFT | DT_SINGLELINE);
}

LRESULT CALLBACK TestScale::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestScale*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_PAINT && self) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    self->Paint(dc);
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_NCDESTROY && self) {
    // The scale lets its observers go with its window.
    self->observers_.clear();
    self->window_ = nullptr;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HRESULT TestScaleFactory::CreateScale(HWND parent, const RECT* rect, std::int32_t startOffset,
                                      std::int32_t endOffset, std::int32_t minimumThickness,
                                      std::int32_t orientation, Host::IDragScale** scale) noexcept {
  if (!rect || !scale)
    return E_INVALIDARG;
  *scale = nullptr;
  if (refuse)
    return REGDB_E_CLASSNOTREG;
  lastCreation = {startOffset, endOffset, minimumThickness, orientation};
  lastScale = Tarn::ComPtr<TestScale>::Adopt(
      new TestScale(parent, *rect, startOffset, endOffset, orientation));
  lastScale.CopyTo(scale);
  return S_OK;
}

HRESULT TestScaleFactory::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  *code = classCode_;
  return S_OK;
}

} // namespace PaneDoubles

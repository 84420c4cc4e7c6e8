#include "controls/win/Popup.h"

#include "controls/PopupLayout.h"
#include "window/win/WindowUtil.h"

namespace Tarn {

HFONT Popup::Font() {
  if (!font_) {
    // The status-bar font of the system's metrics: the face of small gadget windows.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      font_.reset(::CreateFontIndirectW(&metrics.lfStatusFont));
  }
  return font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

bool Popup::Show(HWND owner, const std::wstring& text, POINT at) {
  text_ = text;
  RECT box{0, 0, TarnControls::kPopupTextWidth, 0};
  {
    const auto screen = unique_window_dc::Get(nullptr);
    const unique_select_object font(screen.get(), Font());
    ::DrawTextW(screen.get(), text_.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const Window::Rect work = Window::WorkAreaAt({at.x, at.y});
  const TarnControls::Rect r =
      TarnControls::PopupRect({at.x, at.y}, {box.right - box.left, box.bottom - box.top}, work);
  if (!hwnd() && !CreateWindowHandle(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"",
                                     WS_POPUP, r.left, r.top, r.Width(), r.Height(), owner))
    return false;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

void Popup::Paint() {
  const unique_paint_dc dc(hwnd());
  if (!dc)
    return;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const unique_hbrush background(::CreateSolidBrush(kBackground));
  ::FillRect(dc.get(), &client, background.get());
  const unique_select_object font(dc.get(), Font());
  ::SetBkMode(dc.get(), TRANSPARENT);
  ::SetTextColor(dc.get(), RGB(0, 0, 0));
  RECT text{client.left + 1, client.top + 1, client.right, client.bottom};
  ::DrawTextW(dc.get(), text_.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT Popup::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    Paint();
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  case WM_NCHITTEST:
    return HTTRANSPARENT;
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

} // namespace Tarn

#include "plotting/win/ReadOut.h"

#include "plotting/GraphLayout.h"
#include "plotting/win/DrawObject.h"
#include "plotting/win/SavedDc.h"
#include "window/win/WindowUtil.h"

namespace GUILib {

CReadOut::CReadOut() {
  format_.alignment = TA_BOTTOM | TA_CENTER;
  format_.textColour = RGB(0, 0, 0);
  format_.backColour = ::GetSysColor(COLOR_WINDOW);
  format_.backMode = TRANSPARENT;
}

HWND CReadOut::Create(HWND parent, Rect rect, int id) noexcept {
  return CreateWindowHandle(0, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                            rect.Height(), parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CReadOut::SetText(std::wstring text) {
  text_ = std::move(text);
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CReadOut::Draw(HDC dc, Rect rect) const {
  Tarn::unique_hbrush background(::CreateSolidBrush(format_.backColour));
  const RECT whole = {rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc, &whole, background.get());
  if (text_.empty())
    return;
  const unsigned horizontal = format_.alignment & (TA_CENTER | TA_RIGHT);
  Point anchor =
      ReadOutAnchor(format_.orientation, horizontal, Offset(rect, -rect.left, -rect.top));
  // The inset keeps left- or right-aligned level text off the edge it is aligned to.
  const int inset = ScaleToDevice(dc, inset_);
  if (format_.orientation == ReadOutOrientation::Normal && horizontal == TA_LEFT)
    anchor.x += inset;
  else if (format_.orientation == ReadOutOrientation::Normal && horizontal == TA_RIGHT)
    anchor.x -= inset;
  Tarn::unique_hfont font = format_.CreateFontFor(dc);
  SavedDc saved(dc);
  ::SelectObject(dc, font.get());
  format_.ApplyTo(dc);
  ::ExtTextOutW(dc, rect.left + anchor.x, rect.top + anchor.y, 0, nullptr, text_.c_str(),
                static_cast<UINT>(text_.size()), nullptr);
}

LRESULT CReadOut::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    Tarn::unique_paint_dc paint(hwnd());
    Draw(paint.get(), Tarn::Window::ClientRect(hwnd()));
    return 0;
  }
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

} // namespace GUILib

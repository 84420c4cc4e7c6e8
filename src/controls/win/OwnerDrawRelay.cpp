#include "controls/win/OwnerDrawRelay.h"

namespace TarnControls {

bool OwnerDrawRelay::Attach(HWND control) noexcept {
  const HWND parent = control ? ::GetParent(control) : nullptr;
  if (!parent || !ControlSubclass::Attach(parent))
    return false;
  control_ = control;
  return true;
}

LRESULT OwnerDrawRelay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.hwndItem == control_) {
      target_.DrawItem(draw);
      return TRUE;
    }
  } else if (message == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure.CtlType != ODT_MENU && control_ &&
        static_cast<int>(measure.CtlID) == ::GetDlgCtrlID(control_)) {
      target_.MeasureItem(measure);
      return TRUE;
    }
  }
  return DefaultHandle(message, wParam, lParam);
}

COLORREF RoleColour(ColourRole role) noexcept {
  switch (role) {
  case ColourRole::Window:
    return ::GetSysColor(COLOR_WINDOW);
  case ColourRole::WindowText:
    return ::GetSysColor(COLOR_WINDOWTEXT);
  case ColourRole::Highlight:
    return ::GetSysColor(COLOR_HIGHLIGHT);
  case ColourRole::HighlightText:
    return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  case ColourRole::GrayText:
    return ::GetSysColor(COLOR_GRAYTEXT);
  case ColourRole::ButtonFace:
    return ::GetSysColor(COLOR_BTNFACE);
  case ColourRole::ButtonText:
    return ::GetSysColor(COLOR_BTNTEXT);
  case ColourRole::ButtonShadow:
    return ::GetSysColor(COLOR_BTNSHADOW);
  case ColourRole::LightGrey:
    return RGB(192, 192, 192);
  }
  return ::GetSysColor(COLOR_WINDOW);
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) noexcept {
  const COLORREF previous = ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  ::SetBkColor(dc, previous);
}

} // namespace TarnControls

#include "controls/win/SicnButton.h"

#include "controls/win/ButtonBitmaps.h"
#include "window/win/Dpi.h"

#include <vsstyle.h>

namespace TarnControls {

void MakeOwnerDrawn(HWND button) noexcept {
  const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  ::SetWindowLongPtrW(button, GWL_STYLE,
                      (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
}

TSICNButton::~TSICNButton() {
  mRelay.Detach();
  mButton.Detach();
}

bool TSICNButton::Attach(HWND parent, int id) noexcept {
  const HWND button = ::GetDlgItem(parent, id);
  if (!button || hwnd() || !mButton.Attach(button))
    return false;
  MakeOwnerDrawn(button);
  mRelay.Attach(button);
  mTheme = Tarn::Window::ThemeHandle::Open(button, L"Button");
  Redraw();
  return true;
}

void TSICNButton::SetOptions(unsigned options) noexcept {
  mOptions = options;
  Redraw();
}

void TSICNButton::SetBitmapBases(int first, int second) noexcept {
  mBitmapBases[0] = first;
  mBitmapBases[1] = second;
  Redraw();
}

void TSICNButton::UseFirstBase(bool first) noexcept {
  mUseFirstBase = first;
  Redraw();
}

void TSICNButton::SetClassicLook(bool classic) noexcept {
  mClassic = classic;
  Redraw();
}

void TSICNButton::Redraw() noexcept {
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void TSICNButton::DrawItem(const DRAWITEMSTRUCT& draw) {
  ButtonDrawState state;
  state.disabled = (draw.itemState & ODS_DISABLED) != 0;
  state.selected = (draw.itemState & ODS_SELECTED) != 0;
  state.focused = (draw.itemState & ODS_FOCUS) != 0;
  state.hot = mHot;
  const HDC dc = draw.hDC;
  RECT face = draw.rcItem;
  const auto& theme = Tarn::Window::UxTheme();
  if (mTheme && !mClassic && theme.DrawThemeBackground) {
    FillSolid(dc, face, ::GetSysColor(COLOR_BTNFACE));
    theme.DrawThemeBackground(mTheme.get(), dc, BP_PUSHBUTTON, SicnThemeState(mOptions, state),
                              &face, nullptr);
  } else {
    FillSolid(dc, face, ::GetSysColor(COLOR_WINDOW));
    ::DrawFrameControl(dc, &face, DFC_BUTTON, 0);
  }

  const int id = SicnBitmapId(mBitmapBases[mUseFirstBase ? 0 : 1], mOptions, state);
  mLastBitmap = id;
  const auto bitmap = LoadButtonBitmap(id, Tarn::Window::DpiOfWindow(draw.hwndItem), true);
  const SIZE size = BitmapSize(bitmap.get());
  const POINT at{draw.rcItem.left + (draw.rcItem.right - draw.rcItem.left - size.cx) / 2,
                 draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - size.cy) / 2};
  // The face colour of the mapped bitmap lets a themed face show through.
  CopyBitmap(dc, bitmap.get(), at, ::GetSysColor(COLOR_BTNFACE));
}

LRESULT TSICNButton::ButtonPart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_MOUSEMOVE:
    if (!owner_.mHot) {
      owner_.mHot = true;
      TRACKMOUSEEVENT track{};
      track.cbSize = sizeof track;
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = hwnd();
      ::TrackMouseEvent(&track);
      owner_.Redraw();
    }
    break;
  case WM_MOUSELEAVE:
    owner_.mHot = false;
    owner_.Redraw();
    break;
  case WM_LBUTTONDBLCLK:
    // An owner-drawn button reports a quick second click as a double-click; each click of a
    // take-value button counts.
    return DefaultHandle(WM_LBUTTONDOWN, wParam, lParam);
  case WM_THEMECHANGED:
    owner_.mTheme = Tarn::Window::ThemeHandle::Open(hwnd(), L"Button");
    owner_.Redraw();
    break;
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace TarnControls

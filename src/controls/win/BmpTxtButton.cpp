#include "controls/win/BmpTxtButton.h"

#include "controls/win/SicnButton.h"
#include "window/win/Dpi.h"
#include "window/win/Module.h"
#include "window/win/WindowUtil.h"

#include <commctrl.h>
#include <vsstyle.h>
#include <windowsx.h>

namespace TarnControls {

TBmpTxtButton::~TBmpTxtButton() {
  mRelay.Detach();
  mButton.Detach();
}

bool TBmpTxtButton::Attach(HWND parent, int id, std::wstring caption) noexcept {
  const HWND button = ::GetDlgItem(parent, id);
  if (!button || hwnd() || !mButton.Attach(button))
    return false;
  try {
    mCaption = caption.empty() ? Tarn::Window::WindowText(button) : std::move(caption);
  } catch (...) {
    mCaption.clear();
  }
  MakeOwnerDrawn(button);
  mRelay.Attach(button);
  mTheme = Tarn::Window::ThemeHandle::Open(button, L"Button");
  ::InvalidateRect(button, nullptr, FALSE);
  return true;
}

void TBmpTxtButton::SetGlyph(int bitmapId) noexcept {
  mGlyphId = bitmapId;
  if (hwnd())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void TBmpTxtButton::SetTooltip(std::wstring text, HFONT font) {
  mTooltipText = std::move(text);
  mTooltipFont = font;
  HideTooltip();
  mTooltip.reset();
}

bool TBmpTxtButton::TooltipShown() const noexcept {
  return mTooltip && ::IsWindowVisible(mTooltip.get());
}

HFONT TBmpTxtButton::CaptionFont() const noexcept {
  if (auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)))
    return font;
  if (auto font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(hwnd()), WM_GETFONT, 0, 0)))
    return font;
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void TBmpTxtButton::DrawItem(const DRAWITEMSTRUCT& draw) {
  const HDC dc = draw.hDC;
  const bool disabled = (draw.itemState & ODS_DISABLED) != 0;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const int dpi = Tarn::Window::DpiOfWindow(draw.hwndItem);
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  RECT bounds = draw.rcItem;
  FillSolid(dc, bounds, face);
  const auto& theme = Tarn::Window::UxTheme();
  if (mTheme && theme.DrawThemeBackground) {
    const int state = disabled ? PBS_DISABLED : selected ? PBS_PRESSED : PBS_NORMAL;
    theme.DrawThemeBackground(mTheme.get(), dc, BP_PUSHBUTTON, state, &bounds, nullptr);
  } else {
    ::DrawFrameControl(dc, &bounds, DFC_BUTTON, DFCS_BUTTONPUSH | (selected ? DFCS_PUSHED : 0));
  }

  const int glyphState = BmpTxtGlyphState(mPressed, selected, disabled);
  mLastGlyphState = glyphState;
  // Disabled, the glyph is read as drawn (light grey transparent), else with the face mapped in.
  const auto glyph =
      mGlyphId ? LoadButtonBitmap(mGlyphId, dpi, glyphState != 2) : Tarn::unique_hbitmap();
  const SIZE glyphSize = BitmapSize(glyph.get());

  const std::wstring text = StripAmpersands(mCaption);
  const Rect client = Tarn::Window::ToRect(bounds);
  Tarn::unique_select_object font(dc, CaptionFont());
  RECT measured{0, 0, BmpTxtTextWidth(client, {glyphSize.cx, glyphSize.cy}, dpi), 0};
  if (!text.empty())
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const BmpTxtLayout layout =
      LayOutBmpTxt(client, {glyphSize.cx, glyphSize.cy},
                   {measured.right - measured.left, measured.bottom - measured.top}, selected, dpi);

  mLastGlyphRect = Tarn::Window::ToRECT(layout.glyph);
  mLastRenderer = GreyToneRenderer::None;
  if (glyph) {
    const POINT at{layout.glyph.left, layout.glyph.top};
    if (glyphState == 2) {
      if (mGdiPlusAllowed && !mGdiPlus)
        mGdiPlus.emplace();
      mLastRenderer =
          DrawGreyToneGlyph(dc, glyph.get(), at, mGdiPlusAllowed && mGdiPlus && *mGdiPlus);
    } else {
      CopyBitmap(dc, glyph.get(), at, face);
    }
  }
  if (!text.empty()) {
    const COLORREF oldText = ::SetTextColor(dc, RoleColour(BmpTxtTextColour(disabled, true)));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT textRect = Tarn::Window::ToRECT(layout.text);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
  }
  if ((draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = bounds;
    const int inset = Tarn::Window::Scale(3, dpi);
    ::InflateRect(&focus, -inset, -inset);
    ::DrawFocusRect(dc, &focus);
  }
}

void TBmpTxtButton::ShowTooltip() noexcept {
  if (mTooltipText.empty())
    return;
  if (!mTooltip) {
    auto context = Tarn::Window::ActivateModuleContext();
    mTooltip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                     Tarn::Window::ModuleInstance(), nullptr));
    if (!mTooltip)
      return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = mTooltipText.data();
    ::SendMessageW(mTooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (mTooltipFont)
      ::SendMessageW(mTooltip.get(), WM_SETFONT, reinterpret_cast<WPARAM>(mTooltipFont), FALSE);
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const int below = ::GetSystemMetrics(SM_CYCURSOR) / 2 + 4;
  ::SendMessageW(mTooltip.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x, cursor.y + below));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ::SendMessageW(mTooltip.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void TBmpTxtButton::HideTooltip() noexcept {
  if (!mTooltip)
    return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ::SendMessageW(mTooltip.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void TBmpTxtButton::OnMouseMove(POINT at) noexcept {
  if (!mTracking) {
    mTracking = true;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd();
    ::TrackMouseEvent(&track);
    if (!mTooltipText.empty())
      ::SetTimer(hwnd(), kHoverTimer, kHoverDelay, nullptr);
  }
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (mPressed && !::PtInRect(&client, at)) {
    mPressed = false;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void TBmpTxtButton::OnMouseLeave() noexcept {
  mTracking = false;
  ::KillTimer(hwnd(), kHoverTimer);
  HideTooltip();
  if (mPressed) {
    mPressed = false;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

LRESULT TBmpTxtButton::ButtonPart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_MOUSEMOVE:
    owner_.OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    break;
  case WM_MOUSELEAVE:
    owner_.OnMouseLeave();
    break;
  case WM_TIMER:
    if (wParam == kHoverTimer) {
      ::KillTimer(hwnd(), kHoverTimer);
      owner_.ShowTooltip();
      return 0;
    }
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    owner_.mPressed = true;
    owner_.HideTooltip();
    return DefaultHandle(WM_LBUTTONDOWN, wParam, lParam);
  case WM_LBUTTONUP:
    owner_.mPressed = false;
    break;
  case WM_THEMECHANGED:
    owner_.mTheme = Tarn::Window::ThemeHandle::Open(hwnd(), L"Button");
    break;
  case WM_NCDESTROY:
    ::KillTimer(hwnd(), kHoverTimer);
    owner_.mTooltip.reset();
    break;
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace TarnControls

#include "controls/win/BalloonHelp.h"

#include "controls/win/StockIcons.h"
#include "foundation/XTarn.h"
#include "window/win/Dpi.h"
#include "window/win/WindowUtil.h"

#include <cmath>
#include <string>

namespace WTL {
namespace {

using TarnControls::Rect;

// Parts and state of the "TOOLTIP" theme class.
constexpr int kBalloonPart = 3;
constexpr int kNormalState = 1;
constexpr COLORREF kLinkColour = RGB(0, 102, 204);

void CheckTheme(HRESULT result, const wchar_t* function) {
  if (FAILED(result))
    throw Tarn::XTarn(result, std::wstring(L"Error calling UxThemeDLL::") + function + L"().");
}

Tarn::unique_hfont FontLike(HFONT base, LONG weight, bool underline) {
  LOGFONTW font{};
  ::GetObjectW(base, sizeof font, &font);
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  return Tarn::unique_hfont(::CreateFontIndirectW(&font));
}

HFONT ContentFont() noexcept {
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

void CBalloonHelp::MakeFonts() {
  titleFont_ = FontLike(ContentFont(), FW_BOLD, false);
  linkFont_ = FontLike(ContentFont(), FW_NORMAL, true);
}

SIZE CBalloonHelp::MeasureText(HDC dc, HFONT font, const std::wstring& text, UINT format,
                               int width) {
  if (text.empty())
    return {0, 0};
  const Tarn::unique_select_object selected(dc, font);
  RECT box{0, 0, width, 0};
  ::DrawTextW(dc, text.c_str(), -1, &box, format | DT_CALCRECT);
  return {box.right - box.left, box.bottom - box.top};
}

TarnControls::BalloonContent CBalloonHelp::Measure(HWND owner, int dpi) {
  const auto screen = Tarn::unique_window_dc::Get(owner);
  const int textWidth = Tarn::Window::Scale(TarnControls::BalloonMetrics::textWidth, dpi);
  const UINT line = DT_SINGLELINE | DT_NOPREFIX;
  const SIZE title = MeasureText(screen.get(), titleFont_.get(), title_, line, textWidth);
  const SIZE text =
      MeasureText(screen.get(), ContentFont(), content_, DT_WORDBREAK | DT_NOPREFIX, textWidth);
  const SIZE link = MeasureText(screen.get(), linkFont_.get(), linkText_, line, textWidth);
  TarnControls::BalloonContent content;
  if (iconHandle_)
    content.icon = {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
  content.title = {title.cx, title.cy};
  content.text = {text.cx, text.cy};
  content.link = {link.cx, link.cy};
  return content;
}

bool CBalloonHelp::Create(HWND owner, std::wstring title, std::wstring content, POINT anchor,
                          int icon, unsigned options, std::wstring linkText,
                          std::function<void()> onLink) {
  Close();
  owner_ = owner;
  title_ = std::move(title);
  content_ = std::move(content);
  linkText_ = std::move(linkText);
  onLink_ = std::move(onLink);
  icon_ = icon;
  options_ = options;
  anchor_ = anchor;
  dpi_ = owner ? Tarn::Window::DpiOfWindow(owner) : Tarn::Window::SystemDpi();
  MakeFonts();
  iconHandle_ = icon ? TarnControls::LoadStockIcon(static_cast<SHSTOCKICONID>(icon), true)
                     : Tarn::unique_hicon();

  try {
    theme_.reset();
    const auto& ux = Tarn::Window::UxTheme();
    if (ux && ux.IsThemeActive && ux.IsThemeActive()) {
      theme_ = Tarn::Window::ThemeHandle::Open(owner, L"TOOLTIP");
      if (!theme_)
        throw Tarn::XTarn(E_FAIL, L"Could not open theme data for the given class: TOOLTIP.");
    }
  } catch (const Tarn::XTarn&) {
    // Already logged; the classic look does without the theme.
    theme_.reset();
  }
  const TarnControls::BalloonContent measured = Measure(owner, dpi_);
  const Tarn::Window::Rect work = Tarn::Window::WorkAreaAt({anchor.x, anchor.y});
  layout_ = TarnControls::LayoutBalloon(measured, {anchor.x, anchor.y}, work, dpi_);

  DWORD exStyle = WS_EX_TOOLWINDOW;
  if (options_ & unTopMost)
    exStyle |= WS_EX_TOPMOST;
  if (options_ & unNoActivate)
    exStyle |= WS_EX_NOACTIVATE;
  const Rect& w = layout_.window;
  HWND root = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (!CreateWindowHandle(exStyle, title_.c_str(), WS_POPUP, w.left, w.top, w.Width(), w.Height(),
                          root))
    return false;
  ApplyRegion();
  ::GetCursorPos(&startCursor_);
  if (root)
    ::GetWindowRect(root, &ownerRect_);
  shownAt_ = ::GetTickCount();
  const bool noActivate = (options_ & unNoActivate) != 0;
  if (!(options_ & unAnimate) ||
      !::AnimateWindow(hwnd(), 150, AW_BLEND | (noActivate ? 0 : AW_ACTIVATE)))
    ::ShowWindow(hwnd(), noActivate ? SW_SHOWNOACTIVATE : SW_SHOW);
  ::UpdateWindow(hwnd());
  ::SetTimer(hwnd(), kPollTimer, kPollMs, nullptr);
  return true;
}

void CBalloonHelp::Close() noexcept {
  if (hwnd())
    ::KillTimer(hwnd(), kPollTimer);
  Destroy();
}

namespace {

Tarn::unique_hrgn MakeShape(const TarnControls::BalloonLayout& layout) {
  const Rect& b = layout.body;
  const int d = 2 * layout.cornerRadius;
  Tarn::unique_hrgn shape(::CreateRoundRectRgn(b.left, b.top, b.right + 1, b.bottom + 1, d, d));
  // The tail reaches one pixel into the body, so the two join without a seam.
  const int into = layout.tailOnTop ? 1 : -1;
  POINT tail[3] = {{layout.tail[0].x, layout.tail[0].y + into},
                   {layout.tail[1].x, layout.tail[1].y},
                   {layout.tail[2].x, layout.tail[2].y + into}};
  const Tarn::unique_hrgn stem(::CreatePolygonRgn(tail, 3, WINDING));
  if (shape && stem)
    ::CombineRgn(shape.get(), shape.get(), stem.get(), RGN_OR);
  return shape;
}

} // namespace

void CBalloonHelp::ApplyRegion() {
  Tarn::unique_hrgn shape = MakeShape(layout_);
  // The window owns its region from here on.
  if (shape && ::SetWindowRgn(hwnd(), shape.get(), TRUE))
    (void)shape.release();
}

void CBalloonHelp::DrawPart(HDC dc, HFONT font, const std::wstring& text, Rect r, UINT format,
                            COLORREF colour) {
  if (text.empty())
    return;
  const Tarn::unique_select_object selected(dc, font);
  RECT box = Tarn::Window::ToRECT(r);
  ::SetTextColor(dc, colour);
  ::DrawTextW(dc, text.c_str(), -1, &box, format);
}

void CBalloonHelp::PaintFace(HDC dc, HRGN shape) {
  RECT whole{0, 0, layout_.window.Width(), layout_.window.Height()};
  if (theme_) {
    CheckTheme(Tarn::Window::UxTheme().DrawThemeBackground(theme_.get(), dc, kBalloonPart,
                                                           kNormalState, &whole, nullptr),
               L"DrawThemeBackground");
  } else {
    ::FillRgn(dc, shape, ::GetSysColorBrush(COLOR_INFOBK));
  }
  ::FrameRgn(dc, shape, ::GetSysColorBrush(COLOR_WINDOWFRAME), 1, 1);
  ::SetBkMode(dc, TRANSPARENT);
  if (iconHandle_)
    ::DrawIconEx(dc, layout_.icon.left, layout_.icon.top, iconHandle_.get(), layout_.icon.Width(),
                 layout_.icon.Height(), 0, nullptr, DI_NORMAL);
  const COLORREF text = ::GetSysColor(COLOR_INFOTEXT);
  DrawPart(dc, titleFont_.get(), title_, layout_.title, DT_SINGLELINE | DT_NOPREFIX, text);
  DrawPart(dc, ContentFont(), content_, layout_.text, DT_WORDBREAK | DT_NOPREFIX, text);
  DrawPart(dc, linkFont_.get(), linkText_, layout_.link, DT_SINGLELINE | DT_NOPREFIX, kLinkColour);
}

void CBalloonHelp::Paint() {
  const Tarn::unique_paint_dc dc(hwnd());
  if (!dc)
    return;
  const Tarn::unique_hrgn shape = MakeShape(layout_);
  try {
    PaintFace(dc.get(), shape.get());
  } catch (const Tarn::XTarn&) {
    // Already logged: paint the classic look over whatever the theme drew.
    theme_.reset();
    PaintFace(dc.get(), shape.get());
  }
}

bool CBalloonHelp::InLink(POINT client) const noexcept {
  const Rect& r = layout_.link;
  return !linkText_.empty() && client.x >= r.left && client.x < r.right && client.y >= r.top &&
         client.y < r.bottom;
}

void CBalloonHelp::Poll() {
  if ((options_ & unCloseAfterTimeout) && ::GetTickCount() - shownAt_ >= kTimeoutMs) {
    Close();
    return;
  }
  if ((options_ & unCloseWithOwner) && owner_ &&
      (!::IsWindow(owner_) || !::IsWindowVisible(owner_) || !::IsWindowEnabled(owner_))) {
    Close();
    return;
  }
  HWND root = owner_ ? ::GetAncestor(owner_, GA_ROOT) : nullptr;
  RECT now{};
  if ((options_ & unCloseOnOwnerMove) && root && ::GetWindowRect(root, &now) &&
      (now.left != ownerRect_.left || now.top != ownerRect_.top)) {
    Close();
    return;
  }
  if (options_ & unCloseOnPointerAway) {
    POINT cursor{};
    RECT mine{};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(hwnd(), &mine);
    const int tolerance = Tarn::Window::Scale(kPointerTolerance, dpi_);
    const double away = std::hypot(cursor.x - startCursor_.x, cursor.y - startCursor_.y);
    if (away > tolerance && !::PtInRect(&mine, cursor))
      Close();
  }
}

LRESULT CBalloonHelp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    Paint();
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_MOUSEACTIVATE:
    return (options_ & unNoActivate) ? MA_NOACTIVATE : MA_ACTIVATE;
  case WM_TIMER:
    if (wParam == kPollTimer)
      Poll();
    return 0;
  case WM_SETCURSOR: {
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(hwnd(), &p);
    if ((options_ & unLinkHandCursor) && InLink(p)) {
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    }
    return DefaultHandle(message, wParam, lParam);
  }
  case WM_LBUTTONUP: {
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (InLink(p) && (options_ & unLinkActive)) {
      if (onLink_)
        onLink_();
      return 0;
    }
    if (options_ & unCloseOnClick)
      Close();
    return 0;
  }
  default:
    return DefaultHandle(message, wParam, lParam);
  }
}

} // namespace WTL

#include "controls/win/ErrorProvider.h"

#include "controls/win/StockIcons.h"
#include "window/win/Dpi.h"
#include "window/win/WindowUtil.h"

#include <commctrl.h>
#include <windowsx.h>

namespace TarnControls {

ErrorProvider::~ErrorProvider() {
  ClosePopup();
  balloon_.reset();
}

bool ErrorProvider::Attach(HWND dialog) {
  if (!ControlSubclass::Attach(dialog, kErrorProviderControlId))
    return false;
  mFlags = NormaliseErrorProviderFlags(mFlags);
  pointer_ = ErrorProviderPointer(mFlags);
  ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) | SS_NOTIFY);
  iconSize_ = Tarn::Window::Scale(kErrorIconSize, Tarn::Window::DpiOfWindow(hwnd()));
  const Rect square =
      IconSquare(Tarn::Window::RectInParent(hwnd()), Tarn::Window::DpiOfWindow(hwnd()));
  ::SetWindowPos(hwnd(), nullptr, square.left, square.top, square.Width(), square.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  MakeImages();
  return true;
}

void ErrorProvider::MakeImages() {
  mImages.reset(::ImageList_Create(iconSize_, iconSize_, ILC_COLOR32 | ILC_MASK, 3, 1));
  if (!mImages)
    return;
  for (SHSTOCKICONID id : {SIID_ERROR, SIID_WARNING, SIID_INFO}) {
    const Tarn::unique_hicon icon = LoadStockIcon(id, true);
    if (!icon || ::ImageList_AddIcon(mImages.get(), icon.get()) < 0) {
      mImages.reset();
      return;
    }
  }
}

void ErrorProvider::Show(bool show) {
  if (!hwnd())
    return;
  if (!show) {
    ClosePopup();
    if (balloon_)
      balloon_->Close();
  }
  ::ShowWindow(hwnd(), show ? SW_SHOWNA : SW_HIDE);
}

bool ErrorProvider::IsShown() const noexcept {
  return hwnd() && ::IsWindowVisible(hwnd());
}

void ErrorProvider::Paint() {
  const Tarn::unique_paint_dc dc(hwnd());
  if (!dc)
    return;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  HWND parent = ::GetParent(hwnd());
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc.get()),
                                                       reinterpret_cast<LPARAM>(hwnd())));
  ::FillRect(dc.get(), &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  if (mImages)
    ::ImageList_DrawEx(mImages.get(), GlyphImageIndex(mFlags), dc.get(), 0, 0, iconSize_, iconSize_,
                       CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
}

void ErrorProvider::ShowBalloon() {
  const Tarn::Window::Rect r = Tarn::Window::ScreenRect(hwnd());
  const POINT anchor{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  const bool link = BalloonHasLink(mFlags, !mLinkText.empty());
  const std::wstring linkText = link ? mLinkText : std::wstring();
  // The same balloon at the same place is already up: making it again would only flicker.
  if (balloon_ && balloon_->IsOpen() && balloon_->Title() == mTitle &&
      balloon_->Content() == mText && balloon_->LinkText() == linkText &&
      balloon_->Icon() == BalloonIcon(mFlags) && balloon_->Anchor().x == anchor.x &&
      balloon_->Anchor().y == anchor.y)
    return;
  if (!balloon_)
    balloon_ = std::make_unique<WTL::CBalloonHelp>();
  balloon_->Create(hwnd(), mTitle, mText, anchor, BalloonIcon(mFlags),
                   BalloonOptions(mFlags, !mLinkText.empty()), linkText,
                   link ? mLinkHandler : std::function<void()>());
}

void ErrorProvider::ShowPopup() {
  POINT at{};
  ::GetCursorPos(&at);
  at.x += ::GetSystemMetrics(SM_CXCURSOR);
  at.y += ::GetSystemMetrics(SM_CYCURSOR);
  if (!mPopup)
    mPopup = std::make_unique<Tarn::Popup>();
  mPopup->Show(::GetAncestor(hwnd(), GA_ROOT), mText, at);
}

void ErrorProvider::ClosePopup() noexcept {
  mPopup.reset();
}

void ErrorProvider::Carry(const ErrorProviderPointer::Actions& actions) {
  if (actions.trackLeave) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    ::TrackMouseEvent(&track);
  }
  if (actions.showBalloon)
    ShowBalloon();
  if (actions.startTimer)
    ::SetTimer(hwnd(), ErrorProviderPointer::kTimerId, ErrorProviderPointer::kTickMs, nullptr);
  if (actions.killTimer)
    ::KillTimer(hwnd(), ErrorProviderPointer::kTimerId);
  if (actions.closePopup)
    ClosePopup();
  if (actions.showPopup)
    ShowPopup();
  if (actions.invokeClickHandler && mClickHandler)
    mClickHandler();
}

LRESULT ErrorProvider::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    Paint();
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_MOUSEMOVE:
    Carry(pointer_.Moved({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, !mText.empty()));
    return 0;
  case WM_LBUTTONDOWN:
    Carry(pointer_.Clicked({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, !mText.empty()));
    return 0;
  case WM_TIMER:
    if (wParam == ErrorProviderPointer::kTimerId) {
      Carry(pointer_.Tick());
      return 0;
    }
    break;
  case WM_MOUSELEAVE:
    Carry(pointer_.Left());
    return 0;
  case WM_NCDESTROY:
    ClosePopup();
    balloon_.reset();
    break;
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace TarnControls

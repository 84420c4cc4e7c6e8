#pragma once
#include <windows.h>

#include "controls/PopupLayout.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/BaseWindow.h"
#include "window/win/Theme.h"

#include <functional>
#include <string>

namespace WTL {

// A balloon-shaped popup: icon and bold title, body text, an optional link line, and a tail
// whose tip is the anchor point. Drawn with the "TOOLTIP" visual style when themes are on, in
// the tooltip colours otherwise. It closes itself as its options say.
class CBalloonHelp : public Tarn::Window::BaseWindow<CBalloonHelp> {
public:
  static constexpr const wchar_t* ClassName = L"XPBalloonHelp";

  enum Options : unsigned {
    unTopMost = 0x4,
    unCloseOnClick = 0x200,       // a click in the balloon (outside the link)
    unCloseOnPointerAway = 0x400, // the pointer left the balloon and where it was at the start
    unCloseWithOwner = 0x800,     // the owner was hidden, disabled or destroyed
    unCloseAfterTimeout = 0x1000, // after kTimeoutMs
    unNoActivate = 0x2000,        // shown without taking the activation
    unCloseOnOwnerMove = 0x4000,  // the owner's top-level window moved: the tail would point astray
    unLinkActive = 0x20000,       // a click on the link line runs its callback
    unLinkHandCursor = 0x40000,   // the hand cursor over the link line
    unAnimate = 0x80000,          // faded in
  };
  static constexpr UINT kTimeoutMs = 10000;
  static constexpr UINT_PTR kPollTimer = 1;
  static constexpr UINT kPollMs = 100;
  static constexpr int kPointerTolerance = 32; // at 96 dpi

  CBalloonHelp() = default;

  // Shows the balloon for `owner` with its tail at screen point `anchor`; `icon` is a stock icon
  // id (78 warning, 79 information, 80 error; 0 for none). False when the window cannot be made.
  bool Create(HWND owner, std::wstring title, std::wstring content, POINT anchor, int icon,
              unsigned options, std::wstring linkText = {}, std::function<void()> onLink = {});
  void Close() noexcept;
  bool IsOpen() const noexcept { return hwnd() != nullptr; }

  const std::wstring& Title() const noexcept { return title_; }
  const std::wstring& Content() const noexcept { return content_; }
  const std::wstring& LinkText() const noexcept { return linkText_; }
  unsigned OptionFlags() const noexcept { return options_; }
  int Icon() const noexcept { return icon_; }
  POINT Anchor() const noexcept { return anchor_; }
  bool Themed() const noexcept { return static_cast<bool>(theme_); }
  const TarnControls::BalloonLayout& Layout() const noexcept { return layout_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void MakeFonts();
  TarnControls::BalloonContent Measure(HWND owner, int dpi);
  // Text is measured and drawn with GDI in the balloon's own fonts, so both agree whatever
  // font the theme names.
  SIZE MeasureText(HDC dc, HFONT font, const std::wstring& text, UINT format, int width);
  void ApplyRegion();
  void Paint();
  void PaintFace(HDC dc, HRGN shape);
  void DrawPart(HDC dc, HFONT font, const std::wstring& text, TarnControls::Rect r, UINT format,
                COLORREF colour);
  void Poll();
  bool InLink(POINT client) const noexcept;

  HWND owner_ = nullptr;
  std::wstring title_;
  std::wstring content_;
  std::wstring linkText_;
  std::function<void()> onLink_;
  int icon_ = 0;
  unsigned options_ = 0;
  POINT anchor_{};
  POINT startCursor_{};
  RECT ownerRect_{};
  DWORD shownAt_ = 0;
  int dpi_ = 96;
  Tarn::Window::ThemeHandle theme_;
  Tarn::unique_hfont titleFont_;
  Tarn::unique_hfont linkFont_;
  Tarn::unique_hicon iconHandle_;
  TarnControls::BalloonLayout layout_;
};

} // namespace WTL

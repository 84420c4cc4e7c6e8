#pragma once
#include "window/Geometry.h"

namespace TarnControls {

using Tarn::Window::Point;
using Tarn::Window::Rect;

// Bits of ErrorProvider::mFlags: one glyph and one trigger are kept at window set-up.
enum ErrorProviderFlag : int {
  epBalloon = 0x01,
  epHoverPopup = 0x02,
  epOtherTrigger = 0x04,
  epError = 0x08,
  epWarning = 0x10,
  epInformation = 0x20,
  epShowLink = 0x40,
};

constexpr int kErrorProviderDefaultFlags = epError | epBalloon;
constexpr int kErrorProviderControlId = 105;
constexpr int kErrorIconSize = 12; // at 96 dpi

// Keeps one glyph (0x10 before 0x08 before 0x20; 0x08 when none) and one trigger (0x01 before
// 0x02 before 0x04; 0x01 when none); other bits stay.
int NormaliseErrorProviderFlags(int flags) noexcept;
// The image of the glyph: 0 error, 1 warning, 2 information.
int GlyphImageIndex(int flags) noexcept;

// Stock icon ids the balloon takes.
constexpr int kBalloonIconWarning = 78;
constexpr int kBalloonIconInformation = 79;
constexpr int kBalloonIconError = 80;
int BalloonIcon(int flags) noexcept;

constexpr unsigned kBalloonOptions = 0x87E00;
constexpr unsigned kBalloonOptionsWithLink = 0xE7E00;
// The options and whether the link line is added: only with epShowLink and a link text.
unsigned BalloonOptions(int flags, bool hasLinkText) noexcept;
bool BalloonHasLink(int flags, bool hasLinkText) noexcept;

// The control's rectangle made an icon square of 12 x dpi/96: left edge and bottom edge kept.
Rect IconSquare(const Rect& control, int dpi) noexcept;

// The balloon is shown again only after the pointer moved more than 3 pixels.
bool MovedBeyondBalloonTolerance(Point last, Point now) noexcept;

// The pointer behaviour of the provider: what the window has to do for each event.
class ErrorProviderPointer {
public:
  static constexpr int kTimerId = 1;
  static constexpr int kTickMs = 50;
  static constexpr int kHoverLimitMs = 5001;

  struct Actions {
    bool trackLeave = false;
    bool showBalloon = false;
    bool startTimer = false;
    bool killTimer = false;
    bool showPopup = false;
    bool closePopup = false;
    bool invokeClickHandler = false;
  };

  explicit ErrorProviderPointer(int flags = kErrorProviderDefaultFlags) noexcept
      : flags_(NormaliseErrorProviderFlags(flags)) {}

  Actions Moved(Point at, bool hasText) noexcept;
  Actions Clicked(Point at, bool hasText) noexcept;
  Actions Tick() noexcept;
  Actions Left() noexcept;

  int flags() const noexcept { return flags_; }
  int hoverTime() const noexcept { return hoverTime_; }
  bool popupShown() const noexcept { return popupShown_; }
  bool tracking() const noexcept { return tracking_; }
  Point lastPoint() const noexcept { return lastPoint_; }

private:
  void Trigger(Actions& actions, Point at, bool clicked, bool hasText) noexcept;

  int flags_;
  int hoverTime_ = 0;
  bool popupShown_ = false;
  bool timerRunning_ = false;
  bool tracking_ = false;
  // Far away, so the first movement over the icon shows the balloon.
  Point lastPoint_{-10000, -10000};
};

} // namespace TarnControls

#include "controls/ErrorProviderModel.h"

namespace TarnControls {
namespace {

int FirstSet(int flags, const int (&order)[3], int fallback) noexcept {
  for (int bit : order)
    if (flags & bit)
      return bit;
  return fallback;
}

} // namespace

int NormaliseErrorProviderFlags(int flags) noexcept {
  constexpr int glyphs = epError | epWarning | epInformation;
  constexpr int triggers = epBalloon | epHoverPopup | epOtherTrigger;
  const int glyph = FirstSet(flags, {epWarning, epError, epInformation}, epError);
  const int trigger = FirstSet(flags, {epBalloon, epHoverPopup, epOtherTrigger}, epBalloon);
  return (flags & ~(glyphs | triggers)) | glyph | trigger;
}

int GlyphImageIndex(int flags) noexcept {
  switch (NormaliseErrorProviderFlags(flags) & (epError | epWarning | epInformation)) {
  case epWarning:
    return 1;
  case epInformation:
    return 2;
  default:
    return 0;
  }
}

int BalloonIcon(int flags) noexcept {
  if (flags & epInformation)
    return kBalloonIconInformation;
  if (flags & epError)
    return kBalloonIconError;
  return kBalloonIconWarning;
}

bool BalloonHasLink(int flags, bool hasLinkText) noexcept {
  return (flags & epShowLink) && hasLinkText;
}

unsigned BalloonOptions(int flags, bool hasLinkText) noexcept {
  return BalloonHasLink(flags, hasLinkText) ? kBalloonOptionsWithLink : kBalloonOptions;
}

Rect IconSquare(const Rect& control, int dpi) noexcept {
  const int side = Tarn::Window::Scale(kErrorIconSize, dpi);
  return {control.left, control.bottom - side, control.left + side, control.bottom};
}

bool MovedBeyondBalloonTolerance(Point last, Point now) noexcept {
  const long long dx = now.x - last.x;
  const long long dy = now.y - last.y;
  return dx * dx + dy * dy > 9;
}

void ErrorProviderPointer::Trigger(Actions& actions, Point at, bool clicked,
                                   bool hasText) noexcept {
  if (flags_ & epBalloon) {
    if (clicked || MovedBeyondBalloonTolerance(lastPoint_, at)) {
      actions.showBalloon = true;
      lastPoint_ = at;
    }
  } else if (flags_ & epHoverPopup) {
    if (!popupShown_ && hasText) {
      actions.startTimer = true;
      timerRunning_ = true;
    }
  }
}

ErrorProviderPointer::Actions ErrorProviderPointer::Moved(Point at, bool hasText) noexcept {
  Actions actions;
  if (!tracking_) {
    actions.trackLeave = true;
    tracking_ = true;
  }
  Trigger(actions, at, false, hasText);
  return actions;
}

ErrorProviderPointer::Actions ErrorProviderPointer::Clicked(Point at, bool hasText) noexcept {
  Actions actions;
  Trigger(actions, at, true, hasText);
  actions.invokeClickHandler = true;
  return actions;
}

ErrorProviderPointer::Actions ErrorProviderPointer::Tick() noexcept {
  Actions actions;
  if (!timerRunning_)
    return actions;
  hoverTime_ += kTickMs;
  if (hoverTime_ < kHoverLimitMs) {
    if (!popupShown_) {
      actions.showPopup = true;
      popupShown_ = true;
    }
  } else {
    actions.killTimer = true;
    actions.closePopup = popupShown_;
    hoverTime_ = 0;
    popupShown_ = false;
    timerRunning_ = false;
  }
  return actions;
}

ErrorProviderPointer::Actions ErrorProviderPointer::Left() noexcept {
  Actions actions;
  tracking_ = false;
  if (flags_ & epHoverPopup) {
    actions.killTimer = timerRunning_;
    actions.closePopup = popupShown_;
    timerRunning_ = false;
    popupShown_ = false;
    // A new hover starts its five seconds afresh.
    hoverTime_ = 0;
  }
  return actions;
}

} // namespace TarnControls

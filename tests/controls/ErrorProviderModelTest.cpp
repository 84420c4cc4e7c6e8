#include "controls/ErrorProviderModel.h"

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(ErrorProviderFlags, OneGlyphAndOneTriggerAreKept) {
  struct Row {
    int flags;
    int normalised;
    int image;
    int balloonIcon;
  };
  const Row rows[] = {
      {0x09, 0x09, 0, 80}, {0x18, 0x11, 1, 78}, {0x00, 0x09, 0, 80}, {0x38, 0x11, 1, 78},
      {0x28, 0x09, 0, 80}, {0x20, 0x21, 2, 79}, {0x06, 0x0A, 0, 80}, {0x07, 0x09, 0, 80},
      {0x14, 0x14, 1, 78}, {0x4A, 0x4A, 0, 80}, {0x70, 0x51, 1, 78},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.flags);
    const int normalised = NormaliseErrorProviderFlags(r.flags);
    EXPECT_EQ(normalised, r.normalised);
    EXPECT_EQ(GlyphImageIndex(normalised), r.image);
    EXPECT_EQ(BalloonIcon(normalised), r.balloonIcon);
  }
}

TEST(ErrorProviderFlags, LinkNeedsTheFlagAndAText) {
  EXPECT_EQ(BalloonOptions(0x49, true), 0xE7E00u);
  EXPECT_EQ(BalloonOptions(0x49, false), 0x87E00u);
  EXPECT_EQ(BalloonOptions(0x09, true), 0x87E00u);
}

TEST(ErrorProviderGeometry, IconSquareKeepsLeftAndBottom) {
  const Rect control{20, 30, 60, 50};
  EXPECT_EQ(IconSquare(control, 96), (Rect{20, 38, 32, 50}));
  EXPECT_EQ(IconSquare(control, 144), (Rect{20, 32, 38, 50}));
  EXPECT_EQ(IconSquare(control, 120), (Rect{20, 35, 35, 50}));
  EXPECT_EQ(IconSquare(Rect{5, 5, 6, 6}, 192), (Rect{5, -18, 29, 6}));
}

TEST(ErrorProviderPointer, BalloonShowsOnClickOrAMoveOfMoreThanThreePixels) {
  ErrorProviderPointer pointer(epBalloon | epError);
  auto a = pointer.Moved({4, 4}, true);
  EXPECT_TRUE(a.trackLeave);
  EXPECT_TRUE(a.showBalloon);
  struct Step {
    Point at;
    bool shows;
  };
  // Distances from the point of the last balloon: 3 does not count, 3.6 does.
  const Step steps[] = {{{7, 4}, false}, {{4, 7}, false},  {{6, 6}, false}, {{7, 6}, true},
                        {{7, 6}, false}, {{10, 6}, false}, {{11, 6}, true}};
  for (const Step& s : steps) {
    a = pointer.Moved(s.at, true);
    EXPECT_FALSE(a.trackLeave);
    EXPECT_EQ(a.showBalloon, s.shows) << s.at.x << ',' << s.at.y;
  }
  a = pointer.Clicked({11, 6}, true);
  EXPECT_TRUE(a.showBalloon);
  EXPECT_TRUE(a.invokeClickHandler);
  EXPECT_FALSE(a.startTimer);
  pointer.Left();
  EXPECT_TRUE(pointer.Moved({11, 6}, true).trackLeave);
}

TEST(ErrorProviderPointer, HoverPopupLivesFiveSecondsOfTicks) {
  ErrorProviderPointer pointer(epHoverPopup | epWarning);
  EXPECT_FALSE(pointer.Moved({1, 1}, false).startTimer); // no text, no popup
  EXPECT_TRUE(pointer.Moved({2, 1}, true).startTimer);
  auto tick = pointer.Tick();
  EXPECT_TRUE(tick.showPopup);
  EXPECT_EQ(pointer.hoverTime(), 50);
  EXPECT_FALSE(pointer.Moved({3, 1}, true).startTimer); // a popup is up
  int ticks = 1;
  while (!(tick = pointer.Tick()).killTimer) {
    EXPECT_FALSE(tick.showPopup);
    ++ticks;
    ASSERT_LT(ticks, 1000);
  }
  // 100 ticks reach 5000 ms, the 101st passes 5001.
  EXPECT_EQ(ticks + 1, 101);
  EXPECT_TRUE(tick.closePopup);
  EXPECT_EQ(pointer.hoverTime(), 0);
  EXPECT_FALSE(pointer.popupShown());
  EXPECT_FALSE(pointer.Tick().showPopup); // the timer is gone
  EXPECT_TRUE(pointer.Clicked({3, 1}, true).startTimer);
}

TEST(ErrorProviderPointer, LeavingClosesThePopupAndStopsTheTimer) {
  ErrorProviderPointer pointer(epHoverPopup);
  pointer.Moved({1, 1}, true);
  pointer.Tick();
  pointer.Tick();
  const auto left = pointer.Left();
  EXPECT_TRUE(left.killTimer);
  EXPECT_TRUE(left.closePopup);
  EXPECT_FALSE(pointer.tracking());
  EXPECT_EQ(pointer.hoverTime(), 0);
  const auto again = pointer.Left();
  EXPECT_FALSE(again.killTimer || again.closePopup);
}

} // namespace
} // namespace TarnControls

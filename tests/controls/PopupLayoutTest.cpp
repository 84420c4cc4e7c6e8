#include "controls/PopupLayout.h"

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(PopupRect, PlacedBesideThePointAndKeptInTheWorkArea) {
  const Rect work{0, 0, 1280, 1000};
  struct Row {
    Point at;
    Size text;
    Rect expected;
  };
  const Row rows[] = {
      // Text plus 5 by 2, at the point plus 2.
      {{100, 200}, {120, 16}, {102, 202, 227, 220}},
      // Right edge exactly 10 inside: stays.
      {{1143, 200}, {120, 16}, {1145, 202, 1270, 220}},
      // One more pixel: moved left to 10 inside.
      {{1144, 200}, {120, 16}, {1145, 202, 1270, 220}},
      // Bottom exactly at the work area's bottom: stays.
      {{100, 980}, {120, 16}, {102, 982, 227, 1000}},
      // Passing the bottom: its bottom 3 pixels above the point.
      {{100, 981}, {120, 16}, {102, 960, 227, 978}},
      // Both at once, in the bottom-right corner.
      {{1270, 995}, {295, 48}, {970, 942, 1270, 992}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.at.x << ',' << r.at.y);
    EXPECT_EQ(PopupRect(r.at, r.text, work), r.expected);
  }
  // A work area that does not start at the origin (a second monitor).
  EXPECT_EQ(PopupRect({-20, 100}, {50, 10}, Rect{-1280, 0, 0, 1024}), (Rect{-65, 102, -10, 114}));
}

TEST(BalloonLayout, HangsBelowTheAnchorWithTheTailOnTop) {
  const BalloonContent content{{16, 16}, {80, 13}, {200, 26}, {0, 0}};
  const BalloonLayout b = LayoutBalloon(content, {500, 300}, Rect{0, 0, 1280, 1000}, 96);
  EXPECT_TRUE(b.tailOnTop);
  // Inner width 200 (the text), margins 8: body 216 wide; header 16, gap 6, text 26: 64 high.
  EXPECT_EQ(b.window, (Rect{484, 300, 700, 380}));
  EXPECT_EQ(b.body, (Rect{0, 16, 216, 80}));
  EXPECT_EQ(b.tail[1], (Point{16, 0}));
  EXPECT_EQ(b.tail[0], (Point{8, 16}));
  EXPECT_EQ(b.tail[2], (Point{24, 16}));
  EXPECT_EQ(b.icon, (Rect{8, 24, 24, 40}));
  EXPECT_EQ(b.title, (Rect{30, 25, 110, 38}));
  EXPECT_EQ(b.text, (Rect{8, 46, 208, 72}));
  EXPECT_EQ(b.link, (Rect{8, 72, 8, 72}));
}

TEST(BalloonLayout, StandsAboveTheAnchorNearTheBottomRightCorner) {
  const BalloonContent content{{16, 16}, {80, 13}, {200, 26}, {60, 13}};
  const BalloonLayout b = LayoutBalloon(content, {1275, 990}, Rect{0, 0, 1280, 1000}, 96);
  EXPECT_FALSE(b.tailOnTop);
  // Header 16 + 6 + 26 + 6 + 13 = 67, margins: 83 high; the tail below it.
  EXPECT_EQ(b.window, (Rect{1064, 891, 1280, 990}));
  EXPECT_EQ(b.body, (Rect{0, 0, 216, 83}));
  EXPECT_EQ(b.tail[1], (Point{211, 99}));
  // The base slides to the far corner but not past the rounding.
  EXPECT_EQ(b.tail[0], (Point{192, 83}));
  EXPECT_EQ(b.tail[2], (Point{208, 83}));
  EXPECT_EQ(b.link, (Rect{8, 62, 68, 75}));
}

TEST(BalloonLayout, ScalesWithDpi) {
  const BalloonContent content{{24, 24}, {120, 20}, {150, 20}, {0, 0}};
  const BalloonLayout b = LayoutBalloon(content, {100, 100}, Rect{0, 0, 1920, 1080}, 144);
  // Margin 12, gap 9, tail 24: inner width 24 + 9 + 120 = 153.
  EXPECT_EQ(b.window.Width(), 153 + 24);
  EXPECT_EQ(b.window.Height(), 24 + 9 + 20 + 24 + 24);
  EXPECT_EQ(b.cornerRadius, 12);
  EXPECT_EQ(b.title.left, 12 + 24 + 9);
}

} // namespace
} // namespace TarnControls

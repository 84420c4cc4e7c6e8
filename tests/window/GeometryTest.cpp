#include "window/Geometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarn::Window;

namespace {

TEST(GeometryTest, ScaleRoundsLikeMulDiv) {
  struct Case {
    int value;
    int dpi;
    int expected;
  } cases[] = {
      {12, 96, 12},  {12, 144, 18}, {12, 120, 15},  {1, 120, 1},   {3, 144, 5}, // 4.5 rounds up
      {-3, 144, -5}, {0, 144, 0},   {75, 144, 113}, {23, 192, 46}, {16, 72, 12},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Scale(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  EXPECT_EQ(Scale(Size{75, 23}, 144), (Size{113, 35}));
}

TEST(GeometryTest, RectangleHelpers) {
  const Rect r{10, 20, 110, 70};
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.Center(), (Point{60, 45}));
  EXPECT_TRUE(r.Contains(Point{10, 20}));
  EXPECT_FALSE(r.Contains(Point{110, 20})); // right edge is outside
  EXPECT_TRUE(r.Contains(Rect{10, 20, 110, 70}));
  EXPECT_FALSE(r.Contains(Rect{9, 20, 110, 70}));
  EXPECT_EQ(Offset(r, -10, 5), (Rect{0, 25, 100, 75}));
  EXPECT_EQ(Inflate(r, 2, 3), (Rect{8, 17, 112, 73}));
  EXPECT_EQ(Intersect(r, Rect{100, 0, 200, 30}), (Rect{100, 20, 110, 30}));
  EXPECT_EQ(Intersect(r, Rect{110, 20, 120, 70}), Rect{}); // touching edges do not overlap
  EXPECT_FALSE(Overlap(r, Rect{110, 20, 120, 70}));
  EXPECT_EQ(MakeRect({5, 6}, {7, 8}), (Rect{5, 6, 12, 14}));
}

TEST(GeometryTest, CenterAndSquare) {
  EXPECT_EQ(CenterIn({16, 16}, Rect{0, 0, 23, 23}), (Rect{3, 3, 19, 19}));
  EXPECT_EQ(CenterIn({16, 16}, Rect{10, 10, 42, 30}), (Rect{18, 12, 34, 28}));
  // A bitmap larger than the button is centred too, overhanging both sides.
  EXPECT_EQ(CenterIn({20, 20}, Rect{0, 0, 10, 10}), (Rect{-5, -5, 15, 15}));
  // The error marker: a 12-pixel (18 at 144 dpi) square on the old bottom-left corner.
  EXPECT_EQ(SquareOnBottomLeft(Rect{100, 40, 120, 60}, 12), (Rect{100, 48, 112, 60}));
  EXPECT_EQ(SquareOnBottomLeft(Rect{100, 40, 120, 60}, Scale(12, 144)), (Rect{100, 42, 118, 60}));
}

TEST(GeometryTest, KeepInside) {
  const Rect area{0, 0, 1280, 1024};
  struct Case {
    Rect r;
    Rect expected;
  } cases[] = {
      {{10, 10, 110, 60}, {10, 10, 110, 60}},              // already inside
      {{1250, 1000, 1350, 1050}, {1180, 974, 1280, 1024}}, // past right and bottom
      {{-20, -5, 80, 45}, {0, 0, 100, 50}},                // past left and top
      {{-10, 0, 1300, 20}, {0, 0, 1310, 20}},              // wider than the area: left edge wins
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeepInside(c.r, area), c.expected);
}

TEST(GeometryTest, PlacePopup) {
  const Rect work{0, 0, 1280, 994}; // a task bar of 30 pixels below
  struct Case {
    const char* what;
    Point anchor;
    Size size;
    Rect expected;
  } cases[] = {
      {"room everywhere", {100, 100}, {200, 40}, {102, 102, 302, 142}},
      {"right edge kept 10 inside", {1200, 100}, {200, 40}, {1070, 102, 1270, 142}},
      {"exactly at the limit", {1068, 100}, {200, 40}, {1070, 102, 1270, 142}},
      {"bottom: above the anchor", {100, 980}, {200, 40}, {102, 937, 302, 977}},
      {"bottom just fits", {100, 952}, {200, 40}, {102, 954, 302, 994}},
      {"corner", {1279, 993}, {200, 40}, {1070, 950, 1270, 990}},
      {"wider than the area", {50, 100}, {1400, 40}, {0, 102, 1400, 142}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlacePopup(c.anchor, c.size, work), c.expected) << c.what;
  // A second monitor left of the primary one has negative coordinates.
  EXPECT_EQ(PlacePopup({-50, 10}, {100, 20}, Rect{-1024, 0, 0, 768}), (Rect{-110, 12, -10, 32}));
}

TEST(GeometryTest, LayoutFaults) {
  const Rect client{0, 0, 300, 135};
  const std::vector<Rect> good{{11, 14, 71, 27}, {75, 11, 195, 32}, {215, 11, 290, 34}};
  EXPECT_TRUE(FindLayoutFaults(client, good).empty());

  const std::vector<Rect> bad{{11, 14, 71, 27},
                              {60, 11, 195, 32},
                              {215, 11, 301, 34},
                              {0, 100, 10, 110},
                              {5, 105, 20, 120}};
  const LayoutFaults faults = FindLayoutFaults(client, bad);
  EXPECT_EQ(faults.outside, (std::vector<std::size_t>{2}));
  using Pair = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(faults.overlapping, (std::vector<Pair>{{0, 1}, {3, 4}}));
}

} // namespace

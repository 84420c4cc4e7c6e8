#include <gtest/gtest.h>

#include "DataSelection.h"
#include "TimeLayout.h"

namespace Vela {
namespace {

TEST(TimeLayout, BlocksShareTheWidthByLengthWithGaps) {
  // 300 and 100 samples over 100 columns with a 4-column gap: 96 columns to share, 3 : 1.
  const TimeLayout layout({300, 100}, 10, 110, 4);
  EXPECT_EQ(layout.BlockSpan(0).left, 10);
  EXPECT_EQ(layout.BlockSpan(1).right, 110);
  EXPECT_EQ(layout.BlockSpan(1).left - layout.BlockSpan(0).right, 4);
  EXPECT_NEAR(layout.BlockSpan(0).Width(), 3 * layout.BlockSpan(1).Width(), 1);
}

TEST(TimeLayout, ShortBlocksKeepAColumn) {
  const TimeLayout layout({1000000, 1, 1}, 0, 50, 2);
  for (std::size_t b = 0; b < 3; ++b)
    EXPECT_GE(layout.BlockSpan(b).Width(), 1) << b;
  EXPECT_EQ(layout.BlockSpan(2).right, 50);
}

TEST(TimeLayout, PixelsToSampleBoundaries) {
  const TimeLayout layout({100, 50}, 0, 154, 4); // block 0: 0..100, block 1: 104..154
  ASSERT_EQ(layout.BlockSpan(0).right, 100);
  struct Case {
    double x;
    SamplePoint expected;
  };
  const Case cases[] = {
      {-20, {0, 0}}, {0, {0, 0}},    {25.4, {25, 0}}, {99.6, {100, 0}}, {102, {100, 0}},
      {104, {0, 1}}, {129, {25, 1}}, {154, {50, 1}},  {1000, {50, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout.At(c.x), c.expected) << c.x;
    EXPECT_NEAR(layout.X(c.expected), std::clamp(c.x, 0.0, 154.0), 2.1) << c.x;
  }
}

TEST(TimeLayout, EmptyRecordingMapsToTheStart) {
  const TimeLayout layout({}, 5, 100, 4);
  EXPECT_EQ(layout.At(50), SamplePoint{});
  EXPECT_EQ(layout.X({3, 0}), 5);
}

TEST(DataSelection, DragEitherWayWithinAndAcrossBlocks) {
  const TimeLayout layout({100, 50}, 0, 154, 4);
  struct Case {
    double from, to;
    SamplePoint first, last;
  };
  const Case cases[] = {
      {10, 30, {10, 0}, {29, 0}},  {30, 10, {10, 0}, {29, 0}},  {-5, 200, {0, 0}, {49, 1}},
      {90, 114, {90, 0}, {9, 1}},  {114, 90, {90, 0}, {9, 1}},  {100, 114, {0, 1}, {9, 1}},
      {90, 102, {90, 0}, {99, 0}}, {90, 104, {90, 0}, {99, 0}},
  };
  for (const Case& c : cases) {
    const auto s = DataSelection::FromDrag(layout, c.from, c.to);
    ASSERT_TRUE(s) << c.from << " " << c.to;
    EXPECT_EQ(s->first, c.first) << c.from << " " << c.to;
    EXPECT_EQ(s->last, c.last) << c.from << " " << c.to;
  }
}

TEST(DataSelection, DragOverNoWholeSampleSelectsNothing) {
  const TimeLayout layout({100, 50}, 0, 154, 4);
  EXPECT_FALSE(DataSelection::FromDrag(layout, 20, 20.2));
  EXPECT_FALSE(DataSelection::FromDrag(layout, 100, 104)); // across the gap only
  EXPECT_FALSE(DataSelection::FromDrag(layout, 300, 400));
  EXPECT_FALSE(DataSelection::FromDrag(TimeLayout({}, 0, 100, 4), 10, 90));
}

} // namespace
} // namespace Vela

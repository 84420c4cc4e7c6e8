#include "plotting/PixMap.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

TEST(PixMap, RowsGoToTheLastBlockStartingAtOrBeforeThem) {
  PixMap map(0.5);
  ASSERT_EQ(map.AddBlock(0, 10.0), Tarn::hr::ok);
  ASSERT_EQ(map.AddBlock(100, 200.0), Tarn::hr::ok);
  ASSERT_EQ(map.AddBlock(5'000'000'000LL, -3.0), Tarn::hr::ok);
  const struct {
    std::int64_t row;
    std::int64_t block;
    double position;
  } cases[] = {
      {0, 0, 10.0},
      {99, 0, 59.5},
      {100, 1, 200.0},
      {101, 1, 200.5},
      {4'999'999'999LL, 1, 200.0 + (4'999'999'999.0 - 100.0) * 0.5},
      {5'000'000'000LL, 2, -3.0},
      {5'000'000'004LL, 2, -1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(map.BlockOf(c.row), c.block);
    double position = 0;
    ASSERT_TRUE(map.ToDisplay(c.row, position));
    EXPECT_DOUBLE_EQ(position, c.position);
  }
}

TEST(PixMap, NothingMapsBeforeTheFirstBlock) {
  PixMap map;
  double position = 7;
  EXPECT_EQ(map.BlockOf(0), -1);
  EXPECT_FALSE(map.ToDisplay(0, position));
  ASSERT_EQ(map.AddBlock(20, 0.0), Tarn::hr::ok);
  EXPECT_EQ(map.BlockOf(19), -1);
  EXPECT_FALSE(map.ToDisplay(19, position));
  EXPECT_EQ(position, 7);
}

TEST(PixMap, BlocksOutOfOrderOrOffTheMapAreRefused) {
  PixMap map;
  ASSERT_EQ(map.AddBlock(10, 0.0), Tarn::hr::ok);
  const struct {
    std::int64_t first;
    double position;
  } refused[] = {{10, 1.0},
                 {9, 1.0},
                 {-1, 1.0},
                 {11, std::numeric_limits<double>::quiet_NaN()},
                 {11, std::numeric_limits<double>::infinity()}};
  for (const auto& r : refused)
    EXPECT_EQ(map.AddBlock(r.first, r.position), Tarn::hr::invalidArg) << r.first;
  EXPECT_EQ(map.BlockCount(), 1u);
}

} // namespace
} // namespace GUILib

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "BandLayout.h"
#include "TraceColumns.h"

namespace Vela {
namespace {

TEST(TraceColumns, EveryColumnKeepsItsPeaks) {
  std::vector<float> samples(1000, 0.0f);
  samples[17] = 5.0f;
  samples[998] = -3.0f;
  const auto columns = TraceColumns::Reduce(samples.data(), samples.size(), 100);
  ASSERT_EQ(columns.size(), 100u);
  EXPECT_EQ(columns[1].maximum, 5.0f);
  EXPECT_EQ(columns[99].minimum, -3.0f);
  EXPECT_EQ(columns[50].minimum, 0.0f);
  EXPECT_EQ(columns[50].maximum, 0.0f);
}

TEST(TraceColumns, FewerSamplesThanColumnsStillFillEveryColumn) {
  const std::vector<float> samples{1, 2, 3};
  const auto columns = TraceColumns::Reduce(samples.data(), samples.size(), 7);
  ASSERT_EQ(columns.size(), 7u);
  for (const auto& c : columns)
    EXPECT_FALSE(c.empty);
  EXPECT_EQ(columns.front().minimum, 1.0f);
  EXPECT_EQ(columns.back().maximum, 3.0f);
}

TEST(TraceColumns, NanSamplesAreSkipped) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> samples{nan, nan, 4, nan};
  const auto columns = TraceColumns::Reduce(samples.data(), samples.size(), 2);
  EXPECT_TRUE(columns[0].empty);
  EXPECT_EQ(columns[1].minimum, 4.0f);
  EXPECT_EQ(columns[1].maximum, 4.0f);
}

TEST(TraceColumns, NothingToReduce) {
  const float one = 1;
  EXPECT_TRUE(TraceColumns::Reduce(nullptr, 5, 10).empty());
  EXPECT_TRUE(TraceColumns::Reduce(&one, 0, 10).empty());
  EXPECT_TRUE(TraceColumns::Reduce(&one, 1, 0).empty());
  EXPECT_TRUE(TraceColumns::Sparse(20, 10));
  EXPECT_FALSE(TraceColumns::Sparse(21, 10));
}

TEST(BandLayout, BandsFillTheHeightWithGaps) {
  const BandLayout bands(3, 10, 110, 5); // 90 rows for 3 bands
  EXPECT_EQ(bands.At(0).top, 10);
  EXPECT_EQ(bands.At(2).bottom, 110);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(bands.At(i).bottom - bands.At(i).top, 30) << i;
  EXPECT_EQ(bands.At(1).top - bands.At(0).bottom, 5);
}

TEST(BandLayout, RowsToBands) {
  const BandLayout bands(2, 0, 101, 4); // 97 rows: 49 and 48
  struct Case {
    int y;
    int band;
  };
  const Case cases[] = {{-1, -1}, {0, 0}, {48, 0}, {49, -1}, {53, 1}, {100, 1}, {101, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(bands.BandAtRow(c.y), c.band) << c.y;
  EXPECT_EQ(BandLayout(0, 0, 100, 4).BandAtRow(10), -1);
}

} // namespace
} // namespace Vela

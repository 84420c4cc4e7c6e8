#include "plotting/PlotGeometry.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

LineRuns Runs(std::vector<std::vector<Point>> runs) {
  LineRuns out;
  for (const auto& run : runs) {
    out.points.insert(out.points.end(), run.begin(), run.end());
    out.counts.push_back(static_cast<std::uint32_t>(run.size()));
  }
  return out;
}

void ExpectSame(const LineRuns& actual, const LineRuns& expected) {
  EXPECT_EQ(actual.counts, expected.counts);
  ASSERT_EQ(actual.points.size(), expected.points.size());
  for (std::size_t i = 0; i < actual.points.size(); ++i)
    EXPECT_EQ(actual.points[i], expected.points[i]) << "point " << i;
}

TEST(ReduceToColumns, KeepsFirstLowestHighestAndLastOfEachColumnInOrder) {
  const struct {
    const char* what;
    LineRuns in;
    LineRuns out;
  } cases[] = {
      {"nothing to leave out", Runs({{{0, 5}, {0, 1}, {0, 9}, {0, 4}, {1, 3}}}),
       Runs({{{0, 5}, {0, 1}, {0, 9}, {0, 4}, {1, 3}}})},
      {"the highest came first", Runs({{{0, 5}, {0, 9}, {0, 7}, {0, 1}, {0, 6}, {1, 2}}}),
       Runs({{{0, 5}, {0, 9}, {0, 1}, {0, 6}, {1, 2}}})},
      {"repeated points once", Runs({{{0, 5}, {0, 5}, {0, 5}, {1, 5}, {1, 5}, {2, 6}}}),
       Runs({{{0, 5}, {1, 5}, {2, 6}}})},
      {"a middle point inside the column's extent goes", Runs({{{0, 5}, {0, 6}, {0, 7}, {1, 7}}}),
       Runs({{{0, 5}, {0, 7}, {1, 7}}})},
      {"a run shrunk to one point goes, the others stay apart",
       Runs({{{0, 0}, {1, 1}}, {{5, 5}, {5, 5}}, {{7, 1}, {7, 3}, {7, 2}}}),
       Runs({{{0, 0}, {1, 1}}, {{7, 1}, {7, 3}, {7, 2}}})},
      {"a column visited again later is a new stretch", Runs({{{0, 0}, {1, 4}, {0, 8}}}),
       Runs({{{0, 0}, {1, 4}, {0, 8}}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectSame(ReduceToColumns(c.in), c.out);
  }
}

// A million noisy samples across 800 columns with a gap every 1,000: few points left, every
// column spanning the same pixels, and the run ends where they were.
TEST(ReduceToColumns, MillionSamplesKeepEveryColumnsExtent) {
  std::vector<float> x(1'000'000), y(1'000'000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<float>(i) / 1e6f;
    y[i] = std::sin(static_cast<float>(i) * 0.001f) + 0.1f * static_cast<float>(i * 7919 % 97);
    if (i % 1000 == 999)
      y[i] = std::nanf("");
  }
  const AxisTransform h = HorizontalTransform({1.0, 0.0}, 800);
  const AxisTransform v = VerticalTransform({12.0, -2.0}, 600);
  const LineRuns all = PolylineRuns(BuildLineRuns(x, y, h, v, {0, 0}));
  const LineRuns reduced = ReduceToColumns(all);
  ExpectSame(BuildReducedLineRuns(x, y, h, v, {0, 0}), reduced);
  EXPECT_EQ(reduced.counts.size(), all.counts.size());
  EXPECT_LT(reduced.points.size(), all.points.size() / 100);

  const auto extents = [](const LineRuns& runs) {
    std::map<int, std::pair<int, int>> spans;
    for (const Point& p : runs.points) {
      auto [it, added] = spans.try_emplace(p.x, p.y, p.y);
      it->second.first = std::min(it->second.first, p.y);
      it->second.second = std::max(it->second.second, p.y);
    }
    return spans;
  };
  EXPECT_EQ(extents(reduced), extents(all));

  std::size_t a = 0, r = 0;
  for (std::size_t run = 0; run < all.counts.size(); ++run) {
    EXPECT_EQ(reduced.points[r], all.points[a]) << "start of run " << run;
    a += all.counts[run];
    r += reduced.counts[run];
    EXPECT_EQ(reduced.points[r - 1], all.points[a - 1]) << "end of run " << run;
  }
  ExpectSame(ReduceToColumns(reduced), reduced);
}

} // namespace
} // namespace GUILib

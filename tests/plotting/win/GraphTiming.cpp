// The drawing routine's time into a memory DC: 1,000 points with markers and lines plus a
// 101-sample curve, and 1,000,000 points as lines with a gap every 1,000.
#include "GraphTestWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>

namespace GUILib::Testing {
namespace {

struct Timed {
  TabulatedTable table;
  Tarn::ComPtr<TestScale> horizontal = TestScale::Make(false, 800, {1.0, 0.0});
  Tarn::ComPtr<TestScale> vertical = TestScale::Make(true, 600, {1.5, -0.5});
  CGraph2D graph;

  explicit Timed(std::size_t points) {
    (void)table.SetColumnCount(4);
    std::vector<float> x(points), y(points);
    for (std::size_t i = 0; i < points; ++i) {
      x[i] = static_cast<float>(i) / static_cast<float>(points);
      y[i] = 0.5f + 0.4f * std::sin(static_cast<float>(i) * 0.01f) +
             0.05f * static_cast<float>((i * 7919) % 101) / 101.0f;
      if (i % 1000 == 999)
        y[i] = kNaN;
    }
    (void)table.AppendValues(0, x);
    (void)table.AppendValues(1, y);
    for (int k = 0; k < 101; ++k) {
      (void)table.AppendValue(2, static_cast<float>(k) / 101.0f);
      (void)table.AppendValue(3, 0.2f + 0.6f * static_cast<float>(k) / 101.0f);
    }
    horizontal->gridSpacing = 80;
    vertical->gridSpacing = 60;
    graph.SetScales(horizontal.get(), vertical.get());
    graph.SetData(&table);
  }

  // The fastest and the median of repeated draws, in milliseconds. The limits hold the fastest:
  // the machine's other work lengthens the rest.
  struct DrawTimes {
    double fastest;
    double median;
  };
  DrawTimes TimeDraws(int repeats) {
    const HDC screen = ::GetDC(nullptr);
    Tarn::unique_hdc memory(::CreateCompatibleDC(screen));
    Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, 800, 600));
    ::ReleaseDC(nullptr, screen);
    Tarn::unique_select_object selected(memory.get(), bitmap.get());
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
      const auto start = std::chrono::steady_clock::now();
      graph.Draw(memory.get(), {0, 0, 800, 600});
      ::GdiFlush();
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
  }
};

TEST(GraphTiming, ThousandPointsAndACurveWithinFiveMilliseconds) {
  Timed t(1000);
  ASSERT_TRUE(t.graph.AddPlot(0, 1));
  t.graph.GetPlot({0, 1})->Plot().SetLayer(0, DataPlotXY::Points, 3, RGB(255, 0, 0));
  t.graph.GetPlot({0, 1})->Plot().SetLayer(1, DataPlotXY::Lines, 1, RGB(0, 128, 0));
  ASSERT_TRUE(t.graph.AddPlot(2, 3));
  t.graph.GetPlot({2, 3})->Plot().SetLayer(0, DataPlotXY::Lines, 1, RGB(0, 0, 255));
  const auto [fastest, median] = t.TimeDraws(41);
  std::printf("graph draw, 1,000 points with markers and lines + 101-sample curve: fastest %.3f "
              "ms, median %.3f ms\n",
              fastest, median);
  EXPECT_LE(fastest, 5.0);
}

TEST(GraphTiming, MillionPointsWithinFiftyMilliseconds) {
  Timed t(1'000'000);
  ASSERT_TRUE(t.graph.AddPlot(0, 1));
  t.graph.GetPlot({0, 1})->Plot().SetLayer(0, DataPlotXY::Lines, 1, RGB(0, 0, 255));
  const auto [fastest, median] = t.TimeDraws(11);
  std::printf("graph draw, 1,000,000 points as lines: fastest %.3f ms, median %.3f ms\n", fastest,
              median);
  EXPECT_LE(fastest, 50.0);
}

} // namespace
} // namespace GUILib::Testing

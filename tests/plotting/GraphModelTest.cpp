#include "plotting/GraphModel.h"

#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(GraphModel, AddingPlotsAndTheFollowedPlot) {
  GraphModel graph;
  EXPECT_FALSE(graph.Selected());
  struct Row {
    PlotKey key;
    bool added;
  };
  const Row rows[] = {{{1, 2}, true},   {{0, 1}, true},   {{1, 2}, false},
                      {{-1, 0}, false}, {{0, -3}, false}, {{0, 2}, true}};
  for (const Row& r : rows)
    EXPECT_EQ(graph.AddPlot(r.key, L""), r.added) << r.key.x << "," << r.key.y;
  // The first plot added is followed, whatever its place in the order.
  ASSERT_TRUE(graph.Selected());
  EXPECT_EQ(*graph.Selected(), (PlotKey{1, 2}));
  EXPECT_FALSE(graph.Select({5, 5}));
  EXPECT_TRUE(graph.Select({0, 2}));
  EXPECT_EQ(*graph.Selected(), (PlotKey{0, 2}));
}

TEST(GraphModel, TraceMenuListsPlotsInKeyOrder) {
  GraphModel graph;
  graph.AddPlot({0, 2}, L"Fit");
  EXPECT_FALSE(graph.HasTraceMenu());
  graph.AddPlot({0, 1}, L"");
  graph.Find({0, 1})->colour = 0xFF0000;
  EXPECT_TRUE(graph.HasTraceMenu());
  const std::vector<TraceEntry> menu = graph.TraceMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].key, (PlotKey{0, 1}));
  EXPECT_EQ(menu[0].name, L"");
  EXPECT_EQ(menu[0].number, 1u);
  EXPECT_EQ(menu[0].colour, 0xFF0000u);
  EXPECT_FALSE(menu[0].checked);
  EXPECT_EQ(menu[1].name, L"Fit");
  EXPECT_EQ(menu[1].number, 0u);
  EXPECT_EQ(menu[1].colour, 255u);
  EXPECT_TRUE(menu[1].checked);
}

TEST(GraphModel, RecomputeReadsTheColumnsAndExpandsWhenAsked) {
  TabulatedTable table;
  for (int i = 0; i < 4; ++i)
    table.AddColumn(L"", L"");
  const float x[] = {1, 2, 3, kNaN}, y[] = {5, kNaN, 30, 4}, shorter[] = {1, 2};
  table.AppendValues(0, x);
  table.AppendValues(1, y);
  table.AppendValues(2, shorter);
  std::vector<float> many(3000, 1.0f);
  many[2999] = 50;
  table.AppendValues(3, many);

  for (bool expand : {false, true}) {
    SCOPED_TRACE(expand);
    GraphModel graph;
    graph.autoExpand = expand;
    graph.AddPlot({0, 1}, L"");
    graph.AddPlot({0, 2}, L"");
    graph.AddPlot({0, 9}, L"");
    AxisRange h{10, 0}, v{10, 0};
    graph.Recompute(table, h, v);
    const PlotSamples& drawn = *graph.Find({0, 1});
    EXPECT_TRUE(drawn.visible);
    EXPECT_EQ(drawn.x.size(), 4u);
    EXPECT_EQ(drawn.bounds.maxY, 30.0f);
    EXPECT_EQ(drawn.bounds.maxX, 3.0f);
    EXPECT_FALSE(graph.Find({0, 2})->visible);
    EXPECT_FALSE(graph.Find({0, 9})->visible);
    EXPECT_EQ(h, (AxisRange{10, 0}));
    EXPECT_EQ(v, (expand ? AxisRange{15, 0} : AxisRange{10, 0}));
  }
  EXPECT_EQ(ReadColumn(table, 3), many);
  EXPECT_TRUE(ReadColumn(table, 7).empty());
}

} // namespace
} // namespace GUILib

namespace GUILib {
namespace {

TEST(ZoomDrag, EndIsKeptInsideAndMakesASelectionOnlyWhenMoved) {
  const Rect client{0, 0, 200, 100};
  struct Row {
    Point start, end;
    bool selection;
    Rect rectangle;
  };
  const Row rows[] = {
      {{10, 10}, {50, 60}, true, {10, 10, 50, 60}},  {{50, 60}, {10, 10}, true, {10, 10, 50, 60}},
      {{10, 10}, {10, 10}, false, {10, 10, 10, 10}}, {{10, 10}, {500, -40}, true, {10, 0, 199, 10}},
      {{0, 0}, {-5, -5}, false, {0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.end.x);
    ZoomDrag drag;
    EXPECT_FALSE(drag.Shown());
    drag.Begin(r.start);
    drag.Move({r.end.x / 2, r.end.y / 2});
    EXPECT_TRUE(drag.Dragging());
    EXPECT_TRUE(drag.Shown());
    drag.End(r.end, client);
    EXPECT_FALSE(drag.Dragging());
    EXPECT_EQ(drag.HasSelection(), r.selection);
    EXPECT_EQ(drag.Shown(), r.selection);
    EXPECT_EQ(drag.Rectangle(), r.rectangle);
    drag.Clear();
    EXPECT_FALSE(drag.Shown());
  }
  ZoomDrag idle;
  idle.End({5, 5}, client);
  EXPECT_FALSE(idle.HasSelection());
}

} // namespace
} // namespace GUILib

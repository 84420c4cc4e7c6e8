#include "plotting/GraphLayout.h"

#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

TEST(GraphLayout, CurveWindowPartsTileTheClientWithoutOverlap) {
  struct Case {
    Rect client;
    int dpi;
    Rect graph;
  };
  const Case cases[] = {
      {{0, 0, 640, 480}, 96, {80, 18, 614, 425}},
      {{10, 20, 410, 320}, 96, {90, 38, 384, 265}},
      // The margins follow the window's dpi: 80, 18, 26 and 55 pixels at 96 dpi.
      {{0, 0, 960, 720}, 144, {120, 27, 921, 637}},
      {{10, 20, 410, 320}, 120, {110, 43, 377, 251}},
  };
  for (const Case& c : cases) {
    const Rect client = c.client;
    SCOPED_TRACE(c.dpi);
    SCOPED_TRACE(client.right);
    const CurveWindowLayout l = LayoutCurveWindow(client, c.dpi);
    EXPECT_EQ(l.graph, c.graph);
    EXPECT_EQ(l.xReadOut.bottom, l.graph.top);
    EXPECT_EQ(l.verticalScale.right, l.graph.left);
    EXPECT_EQ(l.verticalScale.top, l.graph.top);
    EXPECT_EQ(l.verticalScale.bottom, l.graph.bottom);
    EXPECT_EQ(l.horizontalScale.top, l.graph.bottom);
    EXPECT_EQ(l.horizontalScale.left, l.graph.left);
    EXPECT_EQ(l.horizontalScale.right, l.graph.right);
    EXPECT_EQ(l.horizontalScale.bottom, client.bottom);
    const std::vector<Rect> parts{l.graph, l.verticalScale, l.horizontalScale, l.xReadOut,
                                  l.yReadOut};
    const Tarn::Window::LayoutFaults faults = Tarn::Window::FindLayoutFaults(client, parts);
    EXPECT_TRUE(faults.outside.empty());
    EXPECT_TRUE(faults.overlapping.empty());
    for (std::size_t i = 0; i < parts.size(); ++i)
      EXPECT_GT(parts[i].Width(), 0) << i;
    EXPECT_GT(l.xReadOut.Width(), 2 * kReadOutTextInset);
  }
}

TEST(GraphLayout, PaintingNeedsMoreThanThreePixelsEachWay) {
  EXPECT_FALSE(CanPaintGraph({0, 0, 3, 100}));
  EXPECT_FALSE(CanPaintGraph({0, 0, 100, 3}));
  EXPECT_TRUE(CanPaintGraph({0, 0, 4, 4}));
  EXPECT_FALSE(CanPaintGraph({0, 0, 0, 0}));
  const auto axes = AxisPolyline({0, 0, 200, 100});
  EXPECT_EQ(axes[0], (Point{0, 0}));
  EXPECT_EQ(axes[1], (Point{0, 99}));
  EXPECT_EQ(axes[2], (Point{199, 99}));
}

TEST(GraphLayout, ReadOutAnchors) {
  const Rect c{0, 0, 120, 20};
  struct Row {
    ReadOutOrientation orientation;
    unsigned align;
    Point anchor;
  };
  using O = ReadOutOrientation;
  const Row rows[] = {
      {O::Normal, kAlignBottom | kAlignCentre, {60, 20}},
      {O::Normal, kAlignRight, {120, 20}},
      {O::Normal, kAlignLeft, {0, 20}},
      {O::Up, kAlignCentre, {120, 10}},
      {O::Up, kAlignRight, {120, 0}},
      {O::Up, kAlignLeft, {120, 0}},
      {O::Down, kAlignCentre, {0, 10}},
      {O::Down, kAlignRight | kAlignBottom, {0, 20}},
      {O::Down, kAlignLeft, {0, 0}},
      {O::UpsideDown, kAlignCentre, {60, 0}},
      {O::UpsideDown, kAlignRight, {0, 0}},
      {O::UpsideDown, kAlignLeft, {0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.orientation) * 100 + static_cast<int>(r.align));
    EXPECT_EQ(ReadOutAnchor(r.orientation, r.align, c), r.anchor);
  }
}

TEST(GraphLayout, ColourMenuEntry) {
  EXPECT_EQ(ColourMenuEntrySize(13, 80, 19), (Point{13 + 80 + 19 + 8, 19}));
  const ColourMenuEntryParts parts = LayoutColourMenuEntry({0, 40, 150, 60}, 13, 13);
  EXPECT_EQ(parts.checkMark, (Rect{2, 42, 15, 55}));
  EXPECT_EQ(parts.text, (Rect{17, 42, 133, 58}));
  EXPECT_EQ(parts.swatch, (Rect{132, 42, 148, 58}));
  EXPECT_EQ(parts.swatch.Width(), parts.swatch.Height());
}

TEST(GraphLayout, TableColumnsAndRows) {
  const std::vector<double> report{0.15, 0.425, 0.425};
  EXPECT_EQ(TableColumns({10, 0, 410, 100}, report),
            (std::vector<TableColumn>{{10, 60}, {70, 170}, {240, 170}}));
  const std::vector<double> halves{0.5, 0.5};
  EXPECT_EQ(TableColumns({0, 0, 101, 10}, halves), (std::vector<TableColumn>{{0, 50}, {50, 50}}));

  EXPECT_EQ(TableRowHeight(13), 15);
  EXPECT_EQ(TableRowHeight(16), 19);

  struct Row {
    int top, bottom;
    double offset;
    int rowHeight, first, last;
  };
  const Row rows[] = {
      {0, 100, 0, 15, 0, 6},   {0, 90, 0, 15, 0, 6},   {0, 100, 7, 15, 0, 6},
      {0, 100, -20, 15, 2, 8}, {30, 100, 0, 15, 2, 6},
  };
  for (const Row& r : rows) {
    const RowSpan span = TableRowBoundaries(r.top, r.bottom, r.offset, r.rowHeight);
    EXPECT_EQ(span.first, r.first);
    EXPECT_EQ(span.last, r.last);
  }
  // No boundary inside, or no row height: an empty span.
  for (const RowSpan empty : {TableRowBoundaries(5, 10, 0, 15), TableRowBoundaries(0, 100, 0, 0)})
    EXPECT_GT(empty.first, empty.last);
  EXPECT_EQ(TableCell({70, 170}, 2, 15, 3), (Rect{70, 33, 240, 48}));

  struct Whole {
    int top, bottom, rowHeight, expected;
  };
  const Whole wholes[] = {
      {0, 100, 15, 91}, // 6 rows and the closing line; the 7th would be cut
      {0, 91, 15, 91},  // already whole
      {0, 90, 15, 76},  // one pixel short of the 6th row's closing line
      {10, 40, 15, 26}, // from a top other than 0
      {0, 10, 15, 10},  // not even one row: the rectangle as it is
      {0, 100, 0, 100}, // no row height
      {50, 50, 15, 50}, // empty
  };
  for (const Whole& w : wholes)
    EXPECT_EQ(TableWholeRowsBottom(w.top, w.bottom, w.rowHeight), w.expected)
        << w.top << ".." << w.bottom << " by " << w.rowHeight;
}

} // namespace
} // namespace GUILib

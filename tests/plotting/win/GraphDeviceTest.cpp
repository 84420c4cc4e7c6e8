// The graph drawn where the window is not: into an enhanced metafile at an offset rectangle,
// and over the reference host's own drag scales.
#include "GraphTestWindow.h"
#include "GuiDriver.h"
#include "HostDragScale.h"
#include "plotting/win/ReadOut.h"

#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib::Testing {
namespace {

struct Recorded {
  std::vector<std::vector<POINT>> polyPolylines;
  std::vector<std::wstring> texts;
  int ellipses = 0;
  int bitmaps = 0;
};

Recorded Record(const CGraph2D& graph, Rect rect, CGraph2D::Marks marks = CGraph2D::Marks::Shown) {
  Tarn::unique_hdc dc(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
  graph.Draw(dc.get(), rect, marks);
  Tarn::unique_henhmetafile metafile(::CloseEnhMetaFile(dc.release()));
  Recorded recorded;
  ::EnumEnhMetaFile(
      nullptr, metafile.get(),
      [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
        auto& out = *reinterpret_cast<Recorded*>(data);
        if (record->iType == EMR_POLYPOLYLINE16) {
          const auto* r = reinterpret_cast<const EMRPOLYPOLYLINE16*>(record);
          // Read past the one-element arrays the declaration gives them through plain offsets,
          // which the compiler cannot bound.
          const auto* bytes = reinterpret_cast<const BYTE*>(r);
          const auto* counts =
              reinterpret_cast<const DWORD*>(bytes + offsetof(EMRPOLYPOLYLINE16, aPolyCounts));
          const auto* points = reinterpret_cast<const POINTS*>(counts + r->nPolys);
          for (DWORD run = 0, at = 0; run < r->nPolys; at += counts[run++]) {
            std::vector<POINT> line;
            for (DWORD i = 0; i < counts[run]; ++i)
              line.push_back({points[at + i].x, points[at + i].y});
            out.polyPolylines.push_back(line);
          }
        } else if (record->iType == EMR_EXTTEXTOUTW) {
          const auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
          const auto* text = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(r) +
                                                              r->emrtext.offString);
          out.texts.emplace_back(text, r->emrtext.nChars);
        } else if (record->iType == EMR_ELLIPSE) {
          ++out.ellipses;
        } else if (record->iType == EMR_BITBLT || record->iType == EMR_STRETCHBLT ||
                   record->iType == EMR_TRANSPARENTBLT || record->iType == EMR_STRETCHDIBITS ||
                   record->iType == EMR_ALPHABLEND) {
          ++out.bitmaps;
        }
        return 1;
      },
      &recorded, nullptr);
  return recorded;
}

// The tracking cursor is the window's: a page or a copy drawn while it shows leaves it out (a
// printer driver turned its transparent blit into a black square on the page).
TEST(GraphDevice, CopiesAndPagesLeaveTheTrackingCursorOut) {
  GraphSetup s;
  const POINT point = s.Pixel(3.0, 7.0);
  GuiDriver::MoveMouse(s.graph.hwnd(), {point.x + 4, point.y - 3});
  ASSERT_TRUE(s.graph.Cursor().Position());
  const Rect at{0, 0, GraphSetup::kWidth, GraphSetup::kHeight};
  const Recorded window = Record(s.graph, at, CGraph2D::Marks::Shown);
  const Recorded page = Record(s.graph, at, CGraph2D::Marks::Left);
  // The cursor is the one blit more; the plots are drawn alike.
  EXPECT_EQ(window.bitmaps, page.bitmaps + 1);
  EXPECT_EQ(page.ellipses, window.ellipses);
  EXPECT_EQ(page.polyPolylines.size(), window.polyPolylines.size());
  EXPECT_EQ(page.texts, window.texts);
}

TEST(GraphDevice, MetafileHoldsTheRunsMarkersAndNumbersAtTheGivenRectangle) {
  GraphSetup s;
  s.graph.GetPlot({0, 1})->Plot().SetLayer(1, DataPlotXY::Ordinal, 6, RGB(0, 0, 0));
  const Rect at{50, 40, 50 + GraphSetup::kWidth, 40 + GraphSetup::kHeight};
  const Recorded recorded = Record(s.graph, at);

  EXPECT_EQ(recorded.ellipses, 4);
  EXPECT_EQ(recorded.texts, (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
  // The grid lines, then the curve in two runs on either side of the gap.
  std::vector<std::vector<POINT>> curve;
  for (const auto& line : recorded.polyPolylines)
    if (line.size() > 2)
      curve.push_back(line);
  ASSERT_EQ(curve.size(), 2u);
  const POINT start = s.Pixel(0.0, 1.0);
  EXPECT_EQ(curve[0].front().x, at.left + start.x);
  EXPECT_EQ(curve[0].front().y, at.top + start.y);
  const POINT resume = s.Pixel(5.5, 0.8f * 5.5f + 1.0f);
  EXPECT_EQ(curve[1].front().x, at.left + resume.x);
  EXPECT_EQ(curve[1].front().y, at.top + resume.y);
}

TEST(GraphDevice, GridOfIntersectionsSetsOnlyTheCrossings) {
  GraphSetup s;
  GridPlot grid;
  HostAxisScale h(s.horizontal.get()), v(s.vertical.get());
  grid.SetScales(&h, &v);
  grid.mode = GridPlot::Intersections;
  grid.colour = RGB(1, 2, 3);
  const HDC screen = ::GetDC(nullptr);
  Tarn::unique_hdc memory(::CreateCompatibleDC(screen));
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, 400, 300));
  ::ReleaseDC(nullptr, screen);
  Tarn::unique_select_object selected(memory.get(), bitmap.get());
  ::PatBlt(memory.get(), 0, 0, 400, 300, WHITENESS);
  grid.Draw(memory.get(), {0, 0, 400, 300});
  int set = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (::GetPixel(memory.get(), x, y) == RGB(1, 2, 3)) {
        ++set;
        EXPECT_EQ((x - 20) % 40, 0) << x << ", " << y;
        EXPECT_EQ((y - 15) % 30, 0) << x << ", " << y;
      }
  EXPECT_EQ(set, 10 * 10);
}

// Where a read-out anchors its text and how it turns its font, from its orientation and alignment.
TEST(GraphDevice, ReadOutAnchorsItsTextByOrientationAndAlignment) {
  const Rect rect{10, 20, 210, 40};
  const struct {
    ReadOutOrientation orientation;
    UINT alignment;
    POINT anchor;
    LONG escapement;
  } cases[] = {
      {ReadOutOrientation::Normal, TA_BOTTOM | TA_CENTER, {110, 40}, 0},
      {ReadOutOrientation::Normal, TA_BOTTOM | TA_LEFT, {10 + 8, 40}, 0},
      {ReadOutOrientation::Normal, TA_BOTTOM | TA_RIGHT, {210 - 8, 40}, 0},
      {ReadOutOrientation::Up, TA_BOTTOM | TA_CENTER, {210, 30}, 900},
      {ReadOutOrientation::Down, TA_BOTTOM | TA_CENTER, {10, 30}, -900},
      {ReadOutOrientation::UpsideDown, TA_BOTTOM | TA_CENTER, {110, 20}, 1800},
  };
  for (const auto& c : cases) {
    CReadOut readOut;
    readOut.SetText(L"x = 1.00 V");
    readOut.SetInset(8);
    readOut.Format().orientation = c.orientation;
    readOut.Format().alignment = c.alignment;
    Tarn::unique_hdc dc(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr));
    // The inset is given at 96 dpi; this reference device may have another.
    const int inset = ::MulDiv(8, ::GetDeviceCaps(dc.get(), LOGPIXELSX), 96);
    readOut.Draw(dc.get(), rect);
    Tarn::unique_henhmetafile metafile(::CloseEnhMetaFile(dc.release()));
    struct Seen {
      std::vector<POINT> anchors;
      std::vector<LONG> escapements;
      std::vector<std::wstring> texts;
    } seen;
    ::EnumEnhMetaFile(
        nullptr, metafile.get(),
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
          auto& out = *reinterpret_cast<Seen*>(data);
          if (record->iType == EMR_EXTTEXTOUTW) {
            const auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            out.anchors.push_back({r->emrtext.ptlReference.x, r->emrtext.ptlReference.y});
            out.texts.emplace_back(reinterpret_cast<const wchar_t*>(
                                       reinterpret_cast<const BYTE*>(r) + r->emrtext.offString),
                                   r->emrtext.nChars);
          } else if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
            out.escapements.push_back(reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record)
                                          ->elfw.elfLogFont.lfEscapement);
          }
          return 1;
        },
        &seen, nullptr);
    ASSERT_EQ(seen.texts, std::vector<std::wstring>{L"x = 1.00 V"});
    POINT expected = c.anchor;
    if (c.alignment == (TA_BOTTOM | TA_LEFT))
      expected.x += inset - 8;
    if (c.alignment == (TA_BOTTOM | TA_RIGHT))
      expected.x -= inset - 8;
    EXPECT_EQ(seen.anchors[0].x, expected.x) << static_cast<int>(c.orientation);
    EXPECT_EQ(seen.anchors[0].y, expected.y) << static_cast<int>(c.orientation);
    EXPECT_EQ(seen.escapements, std::vector<LONG>{c.escapement});
  }
}

// The reference host's scales, made without windows over the graph's extent.
Tarn::ComPtr<Host::IAxisScale> HostScale(Vela::ScaleMath::Orientation orientation, RECT rect,
                                         double high, double low) {
  Vela::HostDragScale::Creation creation;
  creation.rect = rect;
  creation.orientation = orientation;
  Tarn::ComPtr<Host::IDragScale> scale;
  if (FAILED(Vela::HostDragScale::Create(nullptr, creation, scale.put())) ||
      FAILED(scale->SetRange(high, low)))
    return {};
  Tarn::ComPtr<Host::IAxisScale> axis;
  if (FAILED(scale->GetAxisScale(axis.put())))
    return {};
  return axis;
}

TEST(GraphDevice, OverTheHostsScalesMarkersSitOnTheirTransformAndZoomSetsThem) {
  GraphSetup s;
  auto horizontal = HostScale(Vela::ScaleMath::Orientation::Horizontal,
                              {0, 0, GraphSetup::kWidth, 30}, 10.0, 0.0);
  auto vertical =
      HostScale(Vela::ScaleMath::Orientation::Vertical, {0, 0, 60, GraphSetup::kHeight}, 10.0, 0.0);
  ASSERT_TRUE(horizontal && vertical);
  s.graph.SetScales(horizontal.get(), vertical.get());
  ::UpdateWindow(s.graph.hwnd());

  const HostAxisScale h(horizontal.get()), v(vertical.get());
  const GuiDriver::Picture picture = GuiDriver::Capture(s.graph.hwnd());
  for (auto [x, y] : {std::pair{1.0, 1.0}, {3.0, 7.0}, {5.0, 4.0}, {8.0, 8.0}}) {
    const int px = ValueToPixel(x, h.Transform(), 0), py = ValueToPixel(y, v.Transform(), 0);
    EXPECT_EQ(picture.At(px, py), Rgb(255, 0, 0)) << x << ", " << y;
  }

  s.graph.SetInteractive(true);
  const ZoomRanges expected = ZoomRectangleRanges(h, v, {60, 40}, {300, 250});
  const auto at = [](int x, int y) { return MAKELPARAM(x, y); };
  ::SendMessageW(s.graph.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(300, 250));
  ::SendMessageW(s.graph.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(60, 40));
  ::SendMessageW(s.graph.hwnd(), WM_LBUTTONUP, 0, at(60, 40));
  EXPECT_TRUE(s.graph.ZoomSelection());
  EXPECT_EQ(h.GetRange(), expected.horizontal);
  EXPECT_EQ(v.GetRange(), expected.vertical);
  EXPECT_LT(expected.horizontal.high - expected.horizontal.low, 10.0);

  // The reset goes back to the first range each scale was given.
  EXPECT_TRUE(s.graph.CanResetScales());
  s.graph.ResetScales();
  EXPECT_EQ(h.GetRange(), (AxisRange{10.0, 0.0}));
  EXPECT_EQ(v.GetRange(), (AxisRange{10.0, 0.0}));
}

} // namespace
} // namespace GUILib::Testing

#include "GraphTestWindow.h"
#include "GuiDriver.h"
#include "foundation/ModuleStrings.h"
#include "plotting/GraphStrings.h"
#include "plotting/win/SetRangeDlg.h"

#include <string>

#include <gtest/gtest.h>

namespace GUILib::Testing {
namespace {

using namespace std::chrono_literals;

bool Near(const GuiDriver::Picture& picture, POINT at, std::uint32_t colour, int radius = 1) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      const int x = at.x + dx, y = at.y + dy;
      if (x >= 0 && y >= 0 && x < picture.width && y < picture.height && picture.At(x, y) == colour)
        return true;
    }
  return false;
}

int CountInRow(const GuiDriver::Picture& picture, int y, int from, int to, std::uint32_t colour) {
  int count = 0;
  for (int x = from; x < to; ++x)
    count += picture.At(x, y) == colour;
  return count;
}

int CountInColumn(const GuiDriver::Picture& picture, int x, int from, int to,
                  std::uint32_t colour) {
  int count = 0;
  for (int y = from; y < to; ++y)
    count += picture.At(x, y) == colour;
  return count;
}

const std::uint32_t kRed = Rgb(255, 0, 0);
const std::uint32_t kBlue = Rgb(0, 0, 255);
const std::uint32_t kBlack = Rgb(0, 0, 0);
const std::uint32_t kGrid = Rgb(166, 202, 240);

// The left button pressed at one point, moved and released at another, as a user drags.
void Drag(HWND window, POINT from, POINT to) {
  const auto at = [](POINT p) { return MAKELPARAM(p.x, p.y); };
  GuiDriver::MoveMouse(window, from);
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(from));
  const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
  ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(middle));
  ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(to));
  ::SendMessageW(window, WM_LBUTTONUP, 0, at(to));
}

TEST(GraphWin, DrawsAxesGridMarkersAndACurveBrokenAtNaN) {
  GraphSetup s;
  const GuiDriver::Picture picture = GuiDriver::Capture(s.graph.hwnd());
  ASSERT_EQ(picture.width, GraphSetup::kWidth);
  EXPECT_FALSE(GuiDriver::CaptureToPng(s.graph.hwnd(), L"graph-probed").empty());

  // The axes: down the left edge (where the line starts, at y = 1, it is drawn over them) and
  // along the bottom.
  EXPECT_EQ(CountInColumn(picture, 0, 0, 250, kBlack), 250);
  EXPECT_GE(CountInRow(picture, GraphSetup::kHeight - 1, 0, GraphSetup::kWidth, kBlack),
            GraphSetup::kWidth - 1);

  // Grid rows at 15, 45, ... and columns at 20, 60, ..., dotted: about every other pixel of a
  // stretch the data leave free. Between two columns a row's neighbours have none, and between
  // two rows a column's neighbours have none.
  for (int y : {15, 45, 75}) {
    const int dots = CountInRow(picture, y, 262, 298, kGrid);
    EXPECT_GE(dots, 15) << "row " << y;
    EXPECT_LE(dots, 21) << "row " << y;
    EXPECT_EQ(CountInRow(picture, y - 1, 262, 298, kGrid), 0) << "row " << y - 1;
    EXPECT_EQ(CountInRow(picture, y + 1, 262, 298, kGrid), 0) << "row " << y + 1;
  }
  for (int x : {260, 300}) {
    const int dots = CountInColumn(picture, x, 196, 224, kGrid);
    EXPECT_GE(dots, 12) << "column " << x;
    EXPECT_EQ(CountInColumn(picture, x - 1, 196, 224, kGrid), 0) << "column " << x - 1;
    EXPECT_EQ(CountInColumn(picture, x + 1, 196, 224, kGrid), 0) << "column " << x + 1;
  }

  // A filled red marker at every point.
  for (auto [x, y] : {std::pair{1.0, 1.0}, {3.0, 7.0}, {5.0, 4.0}, {8.0, 8.0}}) {
    const POINT p = s.Pixel(x, y);
    EXPECT_EQ(picture.At(p.x, p.y), kRed) << x << ", " << y;
    EXPECT_EQ(picture.At(p.x + 2, p.y), kRed) << x << ", " << y;
  }
  // The line runs on both sides of the gap and not across it.
  EXPECT_TRUE(Near(picture, s.Pixel(2.0, 0.8 * 2.0 + 1.0), kBlue));
  EXPECT_TRUE(Near(picture, s.Pixel(7.0, 0.8 * 7.0 + 1.0), kBlue));
  EXPECT_FALSE(Near(picture, s.Pixel(5.0, 0.8 * 5.0 + 1.0), kBlue, 2));
}

TEST(GraphWin, PaintsOverWhatWasThereBefore) {
  GraphSetup s;
  const POINT marker = s.Pixel(3.0, 7.0);
  ASSERT_EQ(GuiDriver::Capture(s.graph.hwnd()).At(marker.x, marker.y), kRed);
  // The graph repaints without erasing; the old marker must still go.
  (void)s.table.DeleteRows(0, 4);
  s.graph.Recompute();
  ::UpdateWindow(s.graph.hwnd());
  const GuiDriver::Picture after = GuiDriver::Capture(s.graph.hwnd());
  EXPECT_EQ(after.At(marker.x, marker.y),
            Rgb(GetRValue(::GetSysColor(COLOR_WINDOW)), GetGValue(::GetSysColor(COLOR_WINDOW)),
                GetBValue(::GetSysColor(COLOR_WINDOW))));
}

TEST(GraphWin, GridSpacingThatIsNotAPositiveNumberDrawsNoGrid) {
  for (double spacing : {0.0, -40.0, std::nan(""), HUGE_VAL}) {
    GraphSetup s;
    s.horizontal->gridSpacing = spacing;
    s.vertical->gridSpacing = spacing;
    const GuiDriver::Picture picture = GuiDriver::Capture(s.graph.hwnd());
    int grid = 0;
    for (std::uint32_t pixel : picture.pixels)
      grid += pixel == kGrid;
    EXPECT_EQ(grid, 0) << spacing;
  }
}

TEST(GraphWin, ReadsATabulatedDataObjectItKeepsAlive) {
  GraphSetup s;
  Tarn::ComPtr<CTabulatedData> data = CTabulatedData::Create();
  ITabulatedData* table = data.get();
  ASSERT_EQ(table->AddColumn(L"Raw Values", L"V"), S_OK);
  ASSERT_EQ(table->AddColumn(L"Fitted Values", L"kPa"), S_OK);
  ASSERT_EQ(table->AppendValue(0, 6.0f), S_OK);
  ASSERT_EQ(table->AppendValue(1, 2.0f), S_OK);
  ::ShowWindow(s.graph.hwnd(), SW_HIDE);
  CGraph2D graph;
  graph.Create(s.parent.hwnd(), {0, 0, GraphSetup::kWidth, GraphSetup::kHeight});
  graph.SetScales(s.horizontal.get(), s.vertical.get());
  graph.SetData(data.get());
  data = nullptr;
  ASSERT_TRUE(graph.AddPlot(0, 1));
  graph.GetPlot({0, 1})->Plot().SetLayer(0, DataPlotXY::Points, 3, RGB(255, 0, 0));
  ASSERT_EQ(table->AppendValue(0, 2.0f), S_OK);
  ASSERT_EQ(table->AppendValue(1, 9.0f), S_OK);
  graph.Recompute();
  ::UpdateWindow(graph.hwnd());
  const GuiDriver::Picture picture = GuiDriver::Capture(graph.hwnd());
  for (auto [x, y] : {std::pair{6.0, 2.0}, {2.0, 9.0}}) {
    const POINT p = s.Pixel(x, y);
    EXPECT_EQ(picture.At(p.x, p.y), kRed) << x << ", " << y;
  }
  EXPECT_EQ(graph.AxisUnits(), (std::pair<std::wstring, std::wstring>{L"V", L"kPa"}));
}

TEST(GraphWin, FirstPlotAddedIsFollowedAndRefusalsKeepIt) {
  GraphSetup s;
  ASSERT_TRUE(s.graph.SelectedPlot());
  EXPECT_EQ(*s.graph.SelectedPlot(), (PlotKey{0, 1}));
  EXPECT_FALSE(s.graph.AddPlot(0, 1));
  EXPECT_FALSE(s.graph.AddPlot(-1, 1));
  CGraph2D empty;
  EXPECT_FALSE(empty.AddPlot(0, 1)) << "no table";
}

TEST(GraphWin, CursorMessageOnMoveAndZeroOnLeave) {
  GraphSetup s;
  const POINT point = s.Pixel(3.0, 7.0);
  GuiDriver::MoveMouse(s.graph.hwnd(), {point.x + 4, point.y - 3});
  ASSERT_EQ(s.parent.cursor.size(), 1u);
  ASSERT_TRUE(s.parent.cursor[0]);
  EXPECT_EQ(s.parent.cursor[0]->first, 3.0f);
  EXPECT_EQ(s.parent.cursor[0]->second, 7.0f);
  ASSERT_TRUE(s.graph.Cursor().Position());
  EXPECT_EQ(s.graph.Cursor().Position()->x, point.x);
  EXPECT_EQ(s.graph.Cursor().Position()->y, point.y);

  // The pointer leaves for the parent's margin.
  POINT outside{GraphSetup::kWidth + 10, GraphSetup::kHeight + 10};
  ::ClientToScreen(s.parent.hwnd(), &outside);
  ::SetCursorPos(outside.x, outside.y);
  EXPECT_TRUE(GuiDriver::PumpUntil([&] { return s.parent.cursor.size() == 2; }, 3000ms));
  ASSERT_EQ(s.parent.cursor.size(), 2u);
  EXPECT_FALSE(s.parent.cursor[1]);
  EXPECT_FALSE(s.graph.Cursor().Position());
}

TEST(GraphWin, ChoosingATraceMovesTheCursorToIt) {
  GraphSetup s;
  HMENU popup = s.graph.PreparePopupMenu();
  ASSERT_TRUE(popup);
  const auto key = s.graph.TraceMenu().KeyForCommand(CColourMenu::kFirstCommand + 1);
  ASSERT_TRUE(key);
  EXPECT_TRUE(s.graph.RunCommand(CColourMenu::kFirstCommand + 1));
  EXPECT_EQ(*s.graph.SelectedPlot(), (PlotKey{2, 3}));
  const POINT onCurve = s.Pixel(2.0, 2.6);
  GuiDriver::MoveMouse(s.graph.hwnd(), onCurve);
  ASSERT_FALSE(s.parent.cursor.empty());
  ASSERT_TRUE(s.parent.cursor.back());
  EXPECT_EQ(s.parent.cursor.back()->first, 2.0f);
}

TEST(GraphWin, ZoomByDragGivesTheModelsRangesEitherWay) {
  for (bool reversed : {false, true}) {
    GraphSetup s;
    s.graph.SetInteractive(true);
    POINT from{60, 40}, to{300, 250};
    const ZoomRanges expected =
        ZoomRectangleRanges(HostAxisScale(s.horizontal.get()), HostAxisScale(s.vertical.get()),
                            {from.x, from.y}, {to.x, to.y});
    if (reversed)
      std::swap(from, to);
    Drag(s.graph.hwnd(), from, to);
    ASSERT_TRUE(s.graph.Zoom().HasSelection());
    EXPECT_TRUE(s.graph.RunCommand(CGraph2D::kZoomSelectionCommand));
    EXPECT_EQ(s.horizontal->range(), expected.horizontal);
    EXPECT_EQ(s.vertical->range(), expected.vertical);
    EXPECT_NEAR(s.horizontal->range().low, 1.5, 1e-12);
    EXPECT_NEAR(s.horizontal->range().high, 7.5, 1e-12);
    EXPECT_FALSE(s.graph.Zoom().HasSelection());
  }
}

TEST(GraphWin, CaptureTakenAwayEndsTheDragWhereItGotTo) {
  GraphSetup s;
  s.graph.SetInteractive(true);
  ::SendMessageW(s.graph.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 40));
  ::SendMessageW(s.graph.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
  ASSERT_TRUE(s.graph.Zoom().Dragging());
  ::SetCapture(s.parent.hwnd());
  EXPECT_FALSE(s.graph.Zoom().Dragging());
  EXPECT_TRUE(s.graph.Zoom().HasSelection());
  EXPECT_EQ(s.graph.Zoom().Rectangle(), (Rect{60, 40, 200, 100}));
  ::ReleaseCapture();
}

TEST(GraphWin, ZoomNeedsInteractiveMode) {
  GraphSetup s;
  Drag(s.graph.hwnd(), {60, 40}, {300, 250});
  EXPECT_FALSE(s.graph.Zoom().HasSelection());
}

TEST(GraphWin, RefusedZoomKeepsTheRangesAndTheDrawing) {
  GraphSetup s;
  s.graph.SetInteractive(true);
  Drag(s.graph.hwnd(), {60, 40}, {300, 250});
  s.vertical->refuse = true;
  EXPECT_FALSE(s.graph.ZoomSelection());
  EXPECT_EQ(s.horizontal->range(), (AxisRange{10.0, 0.0}));
  EXPECT_EQ(s.vertical->range(), (AxisRange{10.0, 0.0}));
  EXPECT_TRUE(s.graph.ScalesValid());
  const POINT marker = s.Pixel(3.0, 7.0);
  EXPECT_EQ(GuiDriver::Capture(s.graph.hwnd()).At(marker.x, marker.y), kRed);
}

TEST(GraphWin, ResetScalesGoesBackToTheDefaultRanges) {
  GraphSetup s;
  ASSERT_EQ(s.horizontal->SetRange(4.0, 2.0), S_OK);
  ASSERT_EQ(s.vertical->SetRange(6.0, -6.0), S_OK);
  EXPECT_TRUE(s.graph.CanResetScales());
  EXPECT_TRUE(s.graph.RunCommand(CGraph2D::kResetScalesCommand));
  EXPECT_EQ(s.horizontal->range(), (AxisRange{10.0, 0.0}));
  EXPECT_EQ(s.vertical->range(), (AxisRange{10.0, 0.0}));
}

struct MenuItem {
  UINT id;
  std::wstring text;
  bool enabled;
  HMENU submenu;
};

std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    items.push_back({info.wID, text, !(info.fState & MFS_GRAYED), info.hSubMenu});
  }
  return items;
}

TEST(GraphWin, PopupShownTwiceHoldsItsCommandsAndOneTraceSubmenu) {
  GraphSetup s;
  s.graph.SetInteractive(true);
  for (int shown = 0; shown < 2; ++shown) {
    HMENU popup = s.graph.PreparePopupMenu();
    ASSERT_TRUE(popup);
    const std::vector<MenuItem> items = Items(popup);
    ASSERT_EQ(items.size(), 4u) << "shown " << shown;
    EXPECT_EQ(items[0].text, L"Set Scales...");
    EXPECT_EQ(items[0].id, 101u);
    EXPECT_EQ(items[1].text, L"Reset Scales");
    EXPECT_TRUE(items[1].enabled);
    EXPECT_EQ(items[2].text, L"Zoom Selection");
    EXPECT_FALSE(items[2].enabled) << "no rectangle yet";
    EXPECT_EQ(items[3].text, Tarn::ModuleString(kSelectTraceString));
    ASSERT_TRUE(items[3].submenu);
    const std::vector<MenuItem> traces = Items(items[3].submenu);
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(::GetMenuState(items[3].submenu, 0, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(::GetMenuState(items[3].submenu, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
  }
  Drag(s.graph.hwnd(), {60, 40}, {300, 250});
  EXPECT_TRUE(Items(s.graph.PreparePopupMenu())[2].enabled);
}

TEST(GraphWin, TraceEntryWithoutANameShowsItsNumber) {
  TraceEntry entry{{4, 5}, L"", 3, 0, false};
  EXPECT_EQ(CColourMenu::EntryText(entry), Tarn::ModuleString(kPlotNumberString) + L" 3");
  entry.name = L"Curve";
  EXPECT_EQ(CColourMenu::EntryText(entry), L"Curve");
}

// What the answerer's late check saw of the Set Scales dialog after its message box closed.
struct AfterBox {
  HWND dialog = nullptr;
  bool stillOpen = false;
  bool checked = false;
};
AfterBox* g_afterBox = nullptr;

TEST(GraphWin, SetScalesStaysOpenOnANarrowVerticalRange) {
  GraphSetup s;
  AfterBox after;
  g_afterBox = &after;
  GuiDriver::ModalAnswerer answerer;
  answerer
      .Then([](HWND dialog) {
        g_afterBox->dialog = dialog;
        ::SetDlgItemTextW(dialog, SetRangeDlg::kTop, L"5");
        ::SetDlgItemTextW(dialog, SetRangeDlg::kBottom, L"5");
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      })
      .Then([](HWND box) {
        GuiDriver::ModalAnswerer::Press(IDOK)(box);
        // Once the box has gone, the dialog must still be there; then it is cancelled.
        ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
          ::KillTimer(nullptr, id);
          g_afterBox->checked = true;
          g_afterBox->stillOpen =
              ::IsWindow(g_afterBox->dialog) && ::IsWindowVisible(g_afterBox->dialog);
          ::PostMessageW(g_afterBox->dialog, WM_COMMAND, IDCANCEL, 0);
        });
      });
  EXPECT_TRUE(s.graph.RunCommand(CGraph2D::kSetScalesCommand));
  g_afterBox = nullptr;
  ASSERT_EQ(answerer.Seen().size(), 2u);
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  EXPECT_TRUE(after.checked);
  EXPECT_TRUE(after.stillOpen);
  const GuiDriver::SeenWindow& box = answerer.Seen()[1];
  EXPECT_EQ(box.caption, Tarn::ModuleString(kVerticalRangeString));
  const double width = 5.0 * 2.220446049250313e-11;
  EXPECT_EQ(box.text, RangeMessage(kRangeTooNarrowMessage, &width, 1));
  EXPECT_NE(box.text.find(L"1.11022e-10"), std::wstring::npos) << box.text;
  EXPECT_EQ(s.vertical->range(), (AxisRange{10.0, 0.0}));
  EXPECT_EQ(s.horizontal->setRangeCalls, 0);
}

TEST(GraphWin, SetScalesSetsBothTypedRanges) {
  GraphSetup s;
  GuiDriver::ModalAnswerer answerer;
  answerer.Then([](HWND dialog) {
    EXPECT_EQ(GuiDriver::Text(::GetDlgItem(dialog, 124)), L"kPa");
    EXPECT_EQ(GuiDriver::Text(::GetDlgItem(dialog, 126)), L"V");
    ::SetDlgItemTextW(dialog, SetRangeDlg::kTop, L"20");
    ::SetDlgItemTextW(dialog, SetRangeDlg::kBottom, L"-2");
    ::SetDlgItemTextW(dialog, SetRangeDlg::kRight, L"4");
    ::SetDlgItemTextW(dialog, SetRangeDlg::kLeft, L"1");
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(s.graph.RunCommand(CGraph2D::kSetScalesCommand));
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(s.vertical->range(), (AxisRange{20.0, -2.0}));
  EXPECT_EQ(s.horizontal->range(), (AxisRange{4.0, 1.0}));
}

} // namespace
} // namespace GUILib::Testing

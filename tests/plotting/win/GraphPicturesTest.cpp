#include "GraphTestWindow.h"
#include "GuiDriver.h"
#include "plotting/GraphLayout.h"
#include "plotting/win/ReadOut.h"
#include "plotting/win/SetRangeDlg.h"

#include <string>

#include <gtest/gtest.h>

namespace GUILib::Testing {
namespace {

using namespace std::chrono_literals;

std::wstring Suffix() {
  return L"-" + std::to_wstring(GuiDriver::ExpectedDpi());
}

int Scaled(int value) {
  return Tarn::Window::Scale(value, GuiDriver::ExpectedDpi());
}

// The curve window's arrangement: the graph, and the two read-outs in the strip above it, with
// the points, their numbers and the curve as its three plots.
TEST(GraphPictures, ThreePlotsAndTheCursorReadOut) {
  TabulatedTable table;
  FillTable(table);
  (void)table.AddColumn(L"", L"");
  (void)table.AddColumn(L"", L"");
  const float px[] = {1, 3, 5, 8};
  const float py[] = {1, 7, 4, 8};
  (void)table.AppendValues(4, px);
  (void)table.AppendValues(5, py);

  GraphParent parent;
  const Rect client{0, 0, Scaled(480), Scaled(340)};
  parent.Create(client.Width(), client.Height());
  const CurveWindowLayout layout = LayoutCurveWindow(client);
  const int width = layout.graph.Width(), height = layout.graph.Height();
  auto horizontal = TestScale::Make(false, width, {10.0, 0.0});
  auto vertical = TestScale::Make(true, height, {10.0, 0.0});
  horizontal->gridFirst = 0;
  horizontal->gridSpacing = width / 5.0;
  vertical->gridFirst = 0;
  vertical->gridSpacing = height / 5.0;

  CGraph2D graph;
  graph.Create(parent.hwnd(), layout.graph);
  graph.SetScales(horizontal.get(), vertical.get());
  graph.SetData(&table);
  graph.AddPlot(0, 1, L"Points");
  graph.GetPlot({0, 1})->Plot().SetLayer(0, DataPlotXY::Points, 3, RGB(255, 0, 0));
  graph.GetPlot({0, 1})->SetColour(RGB(255, 0, 0));
  graph.AddPlot(4, 5, L"Numbers");
  graph.GetPlot({4, 5})->Plot().SetLayer(0, DataPlotXY::Ordinal, 6, RGB(0, 0, 0));
  graph.GetPlot({4, 5})->SetColour(RGB(0, 0, 0));
  graph.AddPlot(2, 3, L"Curve");
  graph.GetPlot({2, 3})->Plot().SetLayer(0, DataPlotXY::Lines, 1, RGB(0, 0, 255));
  graph.GetPlot({2, 3})->SetColour(RGB(0, 0, 255));
  ASSERT_EQ(graph.SelectedPlot(), (PlotKey{0, 1}));

  CReadOut xReadOut, yReadOut;
  xReadOut.Create(parent.hwnd(), layout.xReadOut);
  yReadOut.Create(parent.hwnd(), layout.yReadOut);
  for (CReadOut* readOut : {&xReadOut, &yReadOut}) {
    readOut->SetInset(kReadOutTextInset);
    readOut->Format().alignment = TA_BOTTOM | TA_LEFT;
  }
  const POINT point{ValueToPixel(5.0, horizontal->transform(), 0),
                    ValueToPixel(4.0, vertical->transform(), 0)};
  GuiDriver::MoveMouse(graph.hwnd(), {point.x + 5, point.y + 5});
  ASSERT_FALSE(parent.cursor.empty());
  ASSERT_TRUE(parent.cursor.back());
  EXPECT_EQ(*parent.cursor.back(), (std::pair{5.0f, 4.0f}));
  xReadOut.SetText(L"x = 5.00 V");
  yReadOut.SetText(L"y = 4.00 kPa");
  ::UpdateWindow(parent.hwnd());
  EXPECT_FALSE(GuiDriver::CaptureToPng(parent.hwnd(), L"graph-three-plots" + Suffix()).empty());
}

TEST(GraphPictures, SetScalesDialog) {
  GraphSetup s;
  SetRangeDlg dialog(s.graph);
  const HWND hwnd = GuiDriver::ShowModeless(dialog, s.parent.hwnd());
  ASSERT_TRUE(hwnd);
  for (const std::string& fault : GuiDriver::LayoutFaults(hwnd))
    ADD_FAILURE() << fault;
  EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"graph-set-scales" + Suffix()).empty());
}

// The popup as it is shown, captured while it is open and closed again.
TEST(GraphPictures, PopupMenuWithTraces) {
  GraphSetup s;
  s.graph.SetInteractive(true);
  struct Shot {
    std::wstring path;
    int ticks = 0;
  } shot;
  static Shot* current = nullptr;
  current = &shot;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    ++current->ticks;
    HWND menu = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) -> BOOL {
          wchar_t name[16] = {};
          ::GetClassNameW(hwnd, name, 16);
          if (std::wstring(name) == L"#32768" && ::IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&menu));
    if (menu && current->path.empty()) {
      // Open the submenu so its owner-drawn entries show too.
      ::PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
      ::PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
      current->path = L"pending";
      return;
    }
    if (current->path == L"pending") {
      std::vector<HWND> menus;
      ::EnumThreadWindows(
          ::GetCurrentThreadId(),
          [](HWND hwnd, LPARAM list) -> BOOL {
            wchar_t name[16] = {};
            ::GetClassNameW(hwnd, name, 16);
            if (std::wstring(name) == L"#32768" && ::IsWindowVisible(hwnd))
              reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&menus));
      std::wstring saved;
      for (std::size_t i = 0; i < menus.size(); ++i)
        saved = GuiDriver::CaptureToPng(menus[i], L"graph-popup-" + std::to_wstring(i) + Suffix());
      current->path = saved.empty() ? L"failed" : saved;
      ::EndMenu();
    }
    if (current->ticks > 30)
      ::EndMenu();
  });
  POINT at{100, 100};
  ::ClientToScreen(s.graph.hwnd(), &at);
  ::SendMessageW(s.graph.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.graph.hwnd()),
                 MAKELPARAM(at.x, at.y));
  ::KillTimer(nullptr, timer);
  current = nullptr;
  EXPECT_NE(shot.path, L"failed");
  EXPECT_NE(shot.path, L"");
  EXPECT_NE(shot.path, L"pending");
}

} // namespace
} // namespace GUILib::Testing

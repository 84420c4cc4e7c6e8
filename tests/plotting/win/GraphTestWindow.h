#pragma once
#include <windows.h>

#include "TestScale.h"
#include "plotting/TabulatedData.h"
#include "plotting/win/Graph2D.h"
#include "window/win/BaseWindow.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace GUILib::Testing {

// A top-level window holding a graph, recording the cursor messages the graph sends it.
class GraphParent : public Tarn::Window::BaseWindow<GraphParent> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalGraphTestParent";

  HWND Create(int width, int height) {
    return CreateWindowHandle(0, L"Graph", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr);
  }
  // Each cursor message: the point it carried, or nothing for a leave.
  std::vector<std::optional<std::pair<float, float>>> cursor;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCursorMessage) {
      if (lParam == 0) {
        cursor.push_back(std::nullopt);
      } else {
        const auto* xy = reinterpret_cast<const float*>(lParam);
        cursor.push_back(std::pair{xy[0], xy[1]});
      }
      return 0;
    }
    if (message == WM_ERASEBKGND) {
      RECT r;
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_WINDOW));
      return 1;
    }
    return DefaultHandle(message, wParam, lParam);
  }
};

inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Four calibration-like points in columns 0 and 1, a straight line y = 0.8 x + 1 sampled every
// 0.5 from 0 to 10 with a gap at x = 5 in columns 2 and 3.
inline void FillTable(TabulatedTable& table) {
  (void)table.AddColumn(L"Raw Values", L"V");
  (void)table.AddColumn(L"Fitted Values", L"kPa");
  (void)table.AddColumn(L"Raw Values", L"V");
  (void)table.AddColumn(L"Fitted Values", L"kPa");
  const float px[] = {1, 3, 5, 8};
  const float py[] = {1, 7, 4, 8};
  (void)table.AppendValues(0, px);
  (void)table.AppendValues(1, py);
  for (int i = 0; i <= 20; ++i) {
    const float x = 0.5f * static_cast<float>(i);
    (void)table.AppendValue(2, x);
    (void)table.AppendValue(3, i == 10 ? kNaN : 0.8f * x + 1.0f);
  }
}

// A graph of 400 x 300 pixels over (0, 10) on both axes, grid lines every 40 pixels from 20
// across and every 30 from 15 down; red markers at the points and the blue line.
struct GraphSetup {
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;

  GraphSetup() {
    FillTable(table);
    horizontal->gridFirst = 20;
    horizontal->gridSpacing = 40;
    vertical->gridFirst = 15;
    vertical->gridSpacing = 30;
    parent.Create(kWidth + 20, kHeight + 20);
    graph.Create(parent.hwnd(), {0, 0, kWidth, kHeight});
    graph.SetScales(horizontal.get(), vertical.get());
    graph.SetData(&table);
    graph.AddPlot(0, 1, L"Points");
    graph.GetPlot({0, 1})->Plot().SetLayer(0, DataPlotXY::Points, 3, RGB(255, 0, 0));
    graph.AddPlot(2, 3, L"Curve");
    graph.GetPlot({2, 3})->Plot().SetLayer(0, DataPlotXY::Lines, 1, RGB(0, 0, 255));
    graph.GetPlot({2, 3})->SetColour(RGB(0, 0, 255));
    ::UpdateWindow(parent.hwnd());
  }

  POINT Pixel(double x, double y) const {
    return {ValueToPixel(x, horizontal->transform(), 0), ValueToPixel(y, vertical->transform(), 0)};
  }

  TabulatedTable table;
  Tarn::ComPtr<TestScale> horizontal = TestScale::Make(false, kWidth, {10.0, 0.0});
  Tarn::ComPtr<TestScale> vertical = TestScale::Make(true, kHeight, {10.0, 0.0});
  GraphParent parent;
  CGraph2D graph;
};

inline std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

} // namespace GUILib::Testing

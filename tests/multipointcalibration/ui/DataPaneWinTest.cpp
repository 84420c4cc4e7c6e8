#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "ChannelDataSource.h"
#include "GuiDriver.h"
#include "HostApplication.h"
#include "InProcessHost.h"
#include "PaneDoubles.h"
#include "Recording.h"
#include "controls/win/DialogFonts.h"
#include "foundation/XHResult.h"
#include "foundation/win/HostServices.h"
#include "multipointcalibration/ui/DragScale.h"
#include "multipointcalibration/ui/UnitConvertDataPane.h"
#include "window/win/BaseWindow.h"

namespace MPCalibration {
namespace {

using namespace std::chrono_literals;
using PaneDoubles::MakeReader;

constexpr int kWidth = 418; // 400 data columns
constexpr int kHeight = 240;

std::vector<float> Ramp(std::size_t n) {
  std::vector<float> v(n);
  std::iota(v.begin(), v.end(), 0.0f);
  return v;
}

// The reference host's sample reader over one block of a one-channel recording: the raw
// samples from the first to the block's end.
Tarn::ComPtr<Host::IEnumFloatEx> HostReader(std::vector<float> samples) {
  auto recording = std::make_shared<Vela::Recording>();
  Vela::Recording::Channel ramp;
  ramp.name = L"Ramp";
  ramp.unit = L"V";
  recording->AddChannel(ramp);
  Vela::Recording::Block block;
  block.length = samples.size();
  block.samples = {std::move(samples)};
  recording->AddBlock(std::move(block));
  auto source = Tarn::ComPtr<Vela::ChannelDataSource>::Adopt(
      Vela::ChannelDataSource::Create(std::move(recording)));
  Tarn::ComPtr<Host::IEnumFloatEx> reader;
  EXPECT_EQ(source->OpenReader(Host::kDataKindRaw, 0, 0, 0, 0x7FFFFFFF, reader.put()), S_OK);
  return reader;
}

// The dialog's stand-in: holds the scale and the pane and counts the take-mean requests.
class Parent : public Tarn::Window::BaseWindow<Parent> {
public:
  static constexpr const wchar_t* ClassName = L"DataPaneTestParent";
  int takeMeanRequests = 0;

  bool Create(int width, int height) {
    return CreateWindowHandle(0, L"Data pane", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 40, 40,
                              width, height, nullptr) != nullptr;
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UnitConvertDataPane::kTakeMeanMessage) {
      ++takeMeanRequests;
      return 0;
    }
    if (message == WM_ERASEBKGND) {
      RECT r;
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    return DefaultHandle(message, wParam, lParam);
  }
};

// A drag as the pointer makes it: button down, moves with the button held, button up, all
// through the thread's queue.
void Drag(HWND pane, int fromX, int toX, int y = kHeight / 2) {
  ::PostMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, y));
  ::PostMessageW(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((fromX + toX) / 2, y));
  ::PostMessageW(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
  ::PostMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(toX, y));
  GuiDriver::Pump(20ms);
}

class DataPaneWin : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    HostServices::ResetForTesting();
    CDragScale::ResetFactoryForTesting();
    TarnControls::DialogFonts::Shared().EnsureBuilt();
    textHeight_ = TarnControls::DialogFonts::Shared().TextExtent().cy;
  }
  void TearDown() override {
    pane_.reset();
    parent_.reset();
    CDragScale::ResetFactoryForTesting();
    HostServices::ResetForTesting();
  }

  // The dialog's layout: the scale at the left over the full height, the pane right of it with
  // the text margins at top and bottom.
  void Build(int paneWidth = kWidth, int paneHeight = kHeight, COLORREF colour = RGB(255, 64, 64)) {
    const int margin = textHeight_ / 2 + 2;
    parent_ = std::make_unique<Parent>();
    ASSERT_TRUE(parent_->Create(8, 8));
    RECT scaleRect{4, 4, 4 + 48, 4 + paneHeight + 2 * margin};
    scale_.Create(parent_->hwnd(), scaleRect, textHeight_);
    // As the dialog does: the scale as wide as its labels need, the pane beside it.
    scaleRect.right = scaleRect.left + std::max(scale_.CalcSize(nullptr, 0), 8);
    scale_.SetPosition(scaleRect);
    paneRect_ = {scaleRect.right + 2, scaleRect.top + margin, scaleRect.right + 2 + paneWidth,
                 scaleRect.bottom - margin};
    RECT frame{0, 0, paneRect_.right + 8, scaleRect.bottom + 4};
    ::AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
    ::SetWindowPos(parent_->hwnd(), nullptr, 0, 0, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pane_ = std::make_unique<UnitConvertDataPane>(colour);
    ASSERT_TRUE(pane_->Create(parent_->hwnd(), paneRect_));
    pane_->LinkScale(scale_);
    ::ShowWindow(parent_->hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(parent_->hwnd());
  }

  void Fill(std::vector<float> samples, int state = UnitConvertDataPane::Data) {
    pane_->Clear();
    pane_->SetState(state);
    ASSERT_TRUE(pane_->AppendFrom(HostReader(std::move(samples)), 1.0));
  }

  // The stand-in scale instead of the host's, for what only it shows (creation values, its
  // observers).
  void UseStandInScale() {
    factory_ =
        Tarn::ComPtr<PaneDoubles::TestScaleFactory>::Adopt(new PaneDoubles::TestScaleFactory(0));
    CDragScale::ResetFactoryForTesting(Tarn::ComPtr<Host::IDragScaleFactory>(factory_.get()));
  }

  Vela::InProcessHost host_;
  Tarn::ComPtr<PaneDoubles::TestScaleFactory> factory_;
  int textHeight_ = 0;
  std::unique_ptr<Parent> parent_;
  CDragScale scale_;
  RECT paneRect_{};
  std::unique_ptr<UnitConvertDataPane> pane_;
};

TEST_F(DataPaneWin, ScaleIsTheHostsOwnWindow) {
  Build();
  ASSERT_TRUE(scale_.IsCreated());
  EXPECT_EQ(::GetParent(scale_.hwnd()), parent_->hwnd());
  wchar_t name[64]{};
  ::GetClassNameW(scale_.hwnd(), name, 64);
  EXPECT_STREQ(name, L"VelaDragScale");
  EXPECT_GT(scale_.CalcSize(nullptr, 0), 0);

  // A horizontal scale is made the same way.
  CDragScale across;
  across.Create(parent_->hwnd(), RECT{0, 0, 200, 40}, textHeight_, CDragScale::kHorizontal);
  across.SetRange(5.0, -5.0);
  double right = 0.0;
  double left = 0.0;
  across.GetRange(right, left);
  EXPECT_EQ(right, 5.0);
  EXPECT_EQ(left, -5.0);
}

TEST_F(DataPaneWin, ScaleGetsItsCreationValues) {
  UseStandInScale();
  Build();
  ASSERT_TRUE(scale_.IsCreated());
  const std::int32_t end = -(textHeight_ / 2) - 2;
  EXPECT_EQ(factory_->lastCreation, (std::vector<std::int32_t>{end, end, 48, 0}));
  HWND scaleWindow = nullptr;
  ASSERT_EQ(factory_->lastScale->GetWindow(&scaleWindow), S_OK);
  EXPECT_EQ(scale_.hwnd(), scaleWindow);
  EXPECT_EQ(::GetParent(scaleWindow), parent_->hwnd());

  CDragScale across;
  across.Create(parent_->hwnd(), RECT{0, 0, 200, 40}, textHeight_, CDragScale::kHorizontal);
  EXPECT_EQ(factory_->lastCreation[3], 1);
}

TEST_F(DataPaneWin, WithoutAFactoryCreationFails) {
  UseStandInScale();
  factory_->refuse = true;
  parent_ = std::make_unique<Parent>();
  ASSERT_TRUE(parent_->Create(200, 200));
  EXPECT_THROW(scale_.Create(parent_->hwnd(), RECT{0, 0, 48, 100}, textHeight_), Tarn::XHResult);
  EXPECT_FALSE(scale_.IsCreated());
}

TEST_F(DataPaneWin, ObserverGetsTheScaleTransform) {
  Build();
  scale_.SetRange(50.0, -50.0);
  double factor = 0.0;
  double offset = 0.0;
  ASSERT_EQ(scale_.AxisScale()->GetTransform(&factor, &offset), S_OK);
  EXPECT_EQ(pane_->Map().factor, factor);
  EXPECT_EQ(pane_->Map().offset, offset);
  EXPECT_LT(factor, 0.0); // the top value at the top

  // A flat range is widened rather than refused: the pane still gets a finite map.
  scale_.SetRange(3.0, 3.0);
  EXPECT_TRUE(std::isfinite(pane_->Map().factor));
  EXPECT_NE(pane_->Map().factor, 0.0);
  double top = 0.0;
  double bottom = 0.0;
  scale_.GetRange(top, bottom);
  EXPECT_GT(top, 3.0);
  EXPECT_LT(bottom, 3.0);

  // A drag on the scale's middle pans it, and the pane follows as the scale tells it.
  RECT r{};
  ::GetClientRect(scale_.hwnd(), &r);
  const int x = r.right / 2;
  const int y = r.bottom / 2;
  ::PostMessageW(scale_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(scale_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 20));
  ::PostMessageW(scale_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 40));
  ::PostMessageW(scale_.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y + 40));
  GuiDriver::Pump(30ms);
  double panned = 0.0;
  scale_.GetRange(panned, bottom);
  EXPECT_NE(panned, top);
  ASSERT_EQ(scale_.AxisScale()->GetTransform(&factor, &offset), S_OK);
  EXPECT_EQ(pane_->Map().factor, factor);
  EXPECT_EQ(pane_->Map().offset, offset);

  // The pane goes before the scale: the scale lives on and changes without it.
  pane_.reset();
  scale_.SetRange(10.0, 0.0);
  scale_.SetRange(20.0, 0.0);
}

TEST_F(DataPaneWin, PaneLeavesTheScaleWhenDestroyed) {
  UseStandInScale();
  Build();
  EXPECT_EQ(factory_->lastScale->ObserverCount(), 1u);
  pane_.reset();
  EXPECT_EQ(factory_->lastScale->ObserverCount(), 0u);
  const int before = factory_->lastScale->notifications;
  scale_.SetRange(10.0, 0.0);
  EXPECT_EQ(factory_->lastScale->notifications, before);
}

TEST_F(DataPaneWin, ReaderIsReadInChunksOfSixteenAndReleased) {
  Build();
  bool alive = false;
  Tarn::ComPtr<Host::IEnumFloatEx> reader = MakeReader(Ramp(100), &alive);
  auto* raw = static_cast<PaneDoubles::VectorReader*>(reader.get());
  raw->AddRef();
  EXPECT_TRUE(pane_->AppendFrom(std::move(reader), 2.0));
  EXPECT_EQ(raw->largestRequest, 16u);
  raw->Release();
  EXPECT_FALSE(alive);
  ASSERT_EQ(pane_->SampleCount(), 100u);
  EXPECT_EQ(pane_->Samples()[99], 198.0f);

  // A reader with nothing leaves the pane as it was.
  EXPECT_FALSE(pane_->AppendFrom(MakeReader({}), 1.0));
  EXPECT_EQ(pane_->SampleCount(), 100u);
}

TEST_F(DataPaneWin, RampGivesTheSameStatisticsDraggedEitherWay) {
  Build();
  scale_.SetRange(1000.0, 0.0);
  Fill(Ramp(1000)); // 2.5 samples per column

  Drag(pane_->hwnd(), 10, 60);
  ASSERT_TRUE(pane_->Mean());
  EXPECT_DOUBLE_EQ(*pane_->Mean(), (25 + 150) / 2.0);
  EXPECT_DOUBLE_EQ(*pane_->Max(), 150.0);
  EXPECT_DOUBLE_EQ(*pane_->Min(), 25.0);

  Drag(pane_->hwnd(), 60, 10);
  EXPECT_DOUBLE_EQ(*pane_->Mean(), (25 + 150) / 2.0);
  EXPECT_DOUBLE_EQ(*pane_->Max(), 150.0);
  EXPECT_DOUBLE_EQ(*pane_->Min(), 25.0);
}

// The pointer itself: input through the system, as a user's hand makes it.
void DragWithPointer(HWND pane, int fromX, int toX, int y = kHeight / 2) {
  POINT from{fromX, y};
  POINT to{toX, y};
  ::ClientToScreen(pane, &from);
  ::ClientToScreen(pane, &to);
  // Queued at once: the pane runs its own loop from the button-down until the release.
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const auto at = [&](POINT p, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(p.x, 65535, screenWidth - 1);
    input.mi.dy = ::MulDiv(p.y, 65535, screenHeight - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
  };
  INPUT inputs[] = {at(from, 0), at(from, MOUSEEVENTF_LEFTDOWN), at({(from.x + to.x) / 2, to.y}, 0),
                    at(to, 0), at(to, MOUSEEVENTF_LEFTUP)};
  // Should the input not arrive, taking the capture away ends the mark.
  const UINT_PTR watchdog =
      ::SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { ::ReleaseCapture(); });
  ::SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
  GuiDriver::Pump(50ms);
  ::KillTimer(nullptr, watchdog);
}

TEST_F(DataPaneWin, PointerDragsMarkEitherWay) {
  Build();
  Fill(Ramp(1000));
  DragWithPointer(pane_->hwnd(), 10, 60);
  ASSERT_TRUE(pane_->Mean());
  EXPECT_DOUBLE_EQ(*pane_->Min(), 25.0);
  EXPECT_DOUBLE_EQ(*pane_->Max(), 150.0);
  DragWithPointer(pane_->hwnd(), 60, 10);
  EXPECT_DOUBLE_EQ(*pane_->Min(), 25.0);
  EXPECT_DOUBLE_EQ(*pane_->Max(), 150.0);
  EXPECT_NE(::GetCapture(), pane_->hwnd());
}

TEST_F(DataPaneWin, MarksAreClampedToTheSamples) {
  Build();
  Fill(Ramp(1000));
  struct Case {
    int from, to;
    double min, max;
  };
  const Case cases[] = {
      {300, 900, 750.0, 999.0}, // past the last sample, beyond the pane
      {-40, 20, 0.0, 50.0},     // starting left of the pane
      {399, 399, 997.0, 999.0}, // the last column, clicked
      {200, 200, 500.0, 502.0}, // one column: a click without movement
  };
  for (const Case& c : cases) {
    Drag(pane_->hwnd(), c.from, c.to);
    ASSERT_TRUE(pane_->Min());
    EXPECT_DOUBLE_EQ(*pane_->Min(), c.min) << c.from << ".." << c.to;
    EXPECT_DOUBLE_EQ(*pane_->Max(), c.max) << c.from << ".." << c.to;
  }
}

TEST_F(DataPaneWin, DoubleClickAsksForTheMeanOnlyWithSamples) {
  Build();
  const auto doubleClick = [&] {
    ::SendMessageW(pane_->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
  };
  doubleClick();
  Drag(pane_->hwnd(), 10, 20); // an empty pane ignores marking too
  EXPECT_EQ(parent_->takeMeanRequests, 0);
  EXPECT_FALSE(pane_->Mean()); // nothing a take-value could write

  Fill(Ramp(10));
  doubleClick();
  EXPECT_EQ(parent_->takeMeanRequests, 1);
  doubleClick();
  doubleClick();
  EXPECT_EQ(parent_->takeMeanRequests, 3);

  pane_->Clear();
  doubleClick();
  EXPECT_EQ(parent_->takeMeanRequests, 3);
  EXPECT_FALSE(pane_->Mean());
}

TEST_F(DataPaneWin, KeepsOneMillionAndOneSamplesAndDropsTheNext) {
  Build();
  pane_->SetState(UnitConvertDataPane::Data);
  ASSERT_TRUE(pane_->AppendFrom(HostReader(Ramp(1'000'002)), 1.0));
  ASSERT_EQ(pane_->SampleCount(), 1'000'001u);
  EXPECT_EQ(pane_->Samples().back(), 1'000'000.0f);
  EXPECT_TRUE(pane_->AppendFrom(HostReader(Ramp(5)), 1.0));
  EXPECT_EQ(pane_->SampleCount(), 1'000'001u);
}

TEST_F(DataPaneWin, NarrowPanesNeitherCrashNorMark) {
  Build();
  Fill(Ramp(500));
  for (int width = 0; width <= 18; ++width) {
    ::MoveWindow(pane_->hwnd(), paneRect_.left, paneRect_.top, width, kHeight, TRUE);
    ::UpdateWindow(pane_->hwnd());
    Drag(pane_->hwnd(), 0, 10);
    EXPECT_FALSE(pane_->Mean()) << width;
    ASSERT_TRUE(pane_->AppendFrom(HostReader(Ramp(3)), 1.0));
    ::UpdateWindow(pane_->hwnd());
  }
}

TEST_F(DataPaneWin, MarkLoopEndsWhenCaptureIsTakenAway) {
  Build();
  Fill(Ramp(1000));
  static HWND thief = nullptr;
  static bool watchdogFired = false;
  thief = parent_->hwnd();
  watchdogFired = false;
  const UINT_PTR steal =
      ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ::SetCapture(thief); });
  // Should the loop not end, a release after two seconds ends it and the test fails.
  const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) {
    watchdogFired = true;
    ::ReleaseCapture();
  });
  ::PostMessageW(pane_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  GuiDriver::Pump(10ms);
  ::KillTimer(nullptr, steal);
  ::KillTimer(nullptr, watchdog);
  ::ReleaseCapture();
  EXPECT_FALSE(watchdogFired);
  EXPECT_NE(::GetCapture(), pane_->hwnd());
  EXPECT_TRUE(pane_->Mean()); // the mark made so far counts
}

TEST_F(DataPaneWin, DialogClosedDuringAMark) {
  Build();
  Fill(Ramp(1000));
  static HWND dialog = nullptr;
  dialog = parent_->hwnd();
  const UINT_PTR close =
      ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ::DestroyWindow(dialog); });
  ::PostMessageW(pane_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  GuiDriver::PumpUntil([] { return !::IsWindow(dialog); });
  ::KillTimer(nullptr, close);
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(pane_->hwnd(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DataPaneWin, MarkLoopPassesOnAQuit) {
  Build();
  Fill(Ramp(1000));
  ::PostMessageW(pane_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  ::PostQuitMessage(7);
  MSG msg;
  bool sawQuit = false;
  WPARAM code = 0;
  const auto until = std::chrono::steady_clock::now() + 2s;
  while (!sawQuit && std::chrono::steady_clock::now() < until) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        sawQuit = true;
        code = msg.wParam;
        break;
      }
      ::DispatchMessageW(&msg);
    }
  }
  EXPECT_TRUE(sawQuit);
  EXPECT_EQ(code, 7u);
  EXPECT_NE(::GetCapture(), pane_->hwnd());
}

TEST_F(DataPaneWin, FullPaneRepaintsIntoAMemoryContextInTime) {
  Build(800 + 18, 300);
  scale_.SetRange(12.0, -2.0);
  std::vector<float> samples(1'000'001);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<float>(5.0 + 4.0 * std::sin(i * 0.0001) + (i % 7) * 0.1);
  Fill(std::move(samples));
  Drag(pane_->hwnd(), 100, 300);

  auto screen = Tarn::unique_window_dc::Get(pane_->hwnd());
  Tarn::unique_hdc memory(::CreateCompatibleDC(screen.get()));
  Tarn::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), 818, 300));
  Tarn::unique_select_object selected(memory.get(), bitmap.get());
  std::vector<double> times;
  for (int i = 0; i < 7; ++i) {
    const auto start = std::chrono::steady_clock::now();
    pane_->PaintTo(memory.get());
    ::GdiFlush();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  std::printf("data pane repaint of 1,000,001 samples into a memory DC: median %.2f ms, best %.2f "
              "ms\n",
              times[times.size() / 2], times.front());
  EXPECT_LT(times[times.size() / 2], 30.0);
}

} // namespace
} // namespace MPCalibration

namespace MPCalibration {
namespace {

// The pane in each of its states beside the host's scale, for pictures at 96 and 144 dpi.
class PanePictures : public DataPaneWin {
protected:
  std::wstring Name(const wchar_t* what) const {
    return std::wstring(L"data-pane-") + what + L"-" + std::to_wstring(GuiDriver::ExpectedDpi());
  }
  void Take(const wchar_t* what) {
    ::InvalidateRect(parent_->hwnd(), nullptr, TRUE);
    ::UpdateWindow(parent_->hwnd());
    GuiDriver::Pump(30ms);
    EXPECT_FALSE(GuiDriver::CaptureToPng(parent_->hwnd(), Name(what)).empty());
  }
  // The pane's own scale of the samples, as the dialog sets it for a channel without a range.
  void ScaleTo(const std::vector<float>& samples) {
    const Pane::ScaleRange r = Pane::DataScaleRange(samples);
    const double margin = (r.top - r.bottom) * 0.1;
    scale_.SetRange(r.top + margin, r.bottom - margin);
  }
  // A mark over pane columns `from`..`to`, dragged as the pointer does.
  void Mark(int from, int to) { Drag(pane_->hwnd(), from, to); }
};

TEST_F(PanePictures, States) {
  const int scaled = ::MulDiv(kWidth, GuiDriver::ExpectedDpi(), 96);
  const int tall = ::MulDiv(kHeight, GuiDriver::ExpectedDpi(), 96);
  Build(scaled, tall);
  scale_.SetUnitLabel(L"V");
  scale_.SetRange(10.0, 0.0);

  pane_->SetState(UnitConvertDataPane::NoSelection);
  Take(L"no-selection");
  pane_->SetState(UnitConvertDataPane::NoData);
  Take(L"no-data");

  // Dense: 200,000 samples of a slow wave with noise, far more than columns.
  std::vector<float> dense(200'000);
  for (std::size_t i = 0; i < dense.size(); ++i)
    dense[i] = static_cast<float>(5.0 + 3.0 * std::sin(i * 0.00005) + 0.4 * std::sin(i * 0.37) +
                                  0.2 * std::sin(i * 1.9));
  Fill(dense);
  ScaleTo(dense);
  Mark(scaled / 5, scaled / 3);
  ASSERT_TRUE(pane_->Mean());
  Take(L"dense");

  // Sparse: 40 steps, fewer samples than columns.
  std::vector<float> sparse(40);
  for (std::size_t i = 0; i < sparse.size(); ++i)
    sparse[i] = static_cast<float>(1.0 + (i / 8) * 0.75 + ((i * 7) % 5) * 0.05);
  Fill(sparse);
  ScaleTo(sparse);
  Mark(scaled / 2, scaled * 3 / 4);
  ASSERT_TRUE(pane_->Mean());
  Take(L"sparse");
}

} // namespace
} // namespace MPCalibration

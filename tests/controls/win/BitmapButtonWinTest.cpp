#include "ControlsTestIds.h"
#include "GuiDriver.h"
#include "controls/win/BmpTxtButton.h"
#include "controls/win/ButtonBitmaps.h"
#include "controls/win/SicnButton.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/Bitmaps.h"
#include "window/win/Dialog.h"
#include "window/win/Dpi.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

using namespace std::chrono_literals;

class ButtonDialog : public Tarn::Window::Dialog {
public:
  ButtonDialog() : Dialog({L"COMBOTEST"}) {}
  TSICNButton sicn;
  TBmpTxtButton help;

private:
  bool OnInitDialog() override {
    sicn.Attach(hwnd(), IDC_SICN);
    help.Attach(hwnd(), IDC_BMPTXT);
    help.SetGlyph(354);
    return true;
  }
};

int Channel(std::uint32_t p, int shift) {
  return static_cast<int>((p >> shift) & 0xFF);
}

bool IsGrey(std::uint32_t p, int tolerance) {
  const int r = Channel(p, 16), g = Channel(p, 8), b = Channel(p, 0);
  return std::abs(r - g) <= tolerance && std::abs(g - b) <= tolerance &&
         std::abs(r - b) <= tolerance;
}

class BitmapButtonWin : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(GuiDriver::ShowModeless(dialog), nullptr); }
  void Repaint(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GuiDriver::Pump(10ms);
  }
  ButtonDialog dialog;
};

using SicnButtonWin = BitmapButtonWin;
using BmpTxtButtonWin = BitmapButtonWin;

TEST_F(SicnButtonWin, ShowsTheBitmapOfEachState) {
  TSICNButton& button = dialog.sicn;
  const HWND hwnd = button.hwnd();
  EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  button.SetOptions(kSicnShowPressed | kSicnShowFocused | kSicnShowDisabled);
  const HWND ok = dialog.Item(IDOK);

  struct Case {
    const char* what;
    void (*set)(HWND button, HWND other);
    int bitmap;
  };
  const Case cases[] = {
      {"normal", [](HWND, HWND other) { ::SetFocus(other); }, 324},
      {"pressed", [](HWND b, HWND) { ::SendMessageW(b, BM_SETSTATE, TRUE, 0); }, 325},
      {"focused",
       [](HWND b, HWND) {
         ::SendMessageW(b, BM_SETSTATE, FALSE, 0);
         ::SetFocus(b);
       },
       326},
      {"disabled",
       [](HWND b, HWND other) {
         ::SetFocus(other);
         ::EnableWindow(b, FALSE);
       },
       327},
  };
  const int dpi = Tarn::Window::DpiOfWindow(hwnd);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set(hwnd, ok);
    Repaint(hwnd);
    EXPECT_EQ(button.LastDrawnBitmap(), c.bitmap);

    // The picture of the button holds the bitmap, face colours mapped, at its centre.
    const auto bitmap = LoadButtonBitmap(c.bitmap, dpi, true);
    const SIZE size = BitmapSize(bitmap.get());
    EXPECT_EQ(size.cx, dpi >= 120 ? 24 : 16);
    const auto expected = Tarn::Window::ReadBitmapPixels(bitmap.get(), size);
    const GuiDriver::Picture picture = GuiDriver::Capture(hwnd);
    const int left = (picture.width - size.cx) / 2, top = (picture.height - size.cy) / 2;
    const COLORREF f = ::GetSysColor(COLOR_BTNFACE);
    const std::uint32_t face = (GetRValue(f) << 16) | (GetGValue(f) << 8) | GetBValue(f);
    int mismatches = 0, glyph = 0;
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) {
        const std::uint32_t want = expected[y * size.cx + x];
        if (want == face)
          continue;
        ++glyph;
        mismatches += picture.At(left + x, top + y) != want;
      }
    EXPECT_GT(glyph, 40);
    EXPECT_EQ(mismatches, 0);
  }
  // After construction only the pressed bitmap differs from the normal one.
  button.SetOptions(kSicnShowPressed);
  Repaint(hwnd);
  EXPECT_EQ(button.LastDrawnBitmap(), 324);
  ::EnableWindow(hwnd, TRUE);
  ::SetFocus(hwnd);
  Repaint(hwnd);
  EXPECT_EQ(button.LastDrawnBitmap(), 324);
}

TEST_F(SicnButtonWin, EachClickCounts) {
  int clicks = 0;
  class Counter : public Tarn::Window::ControlSubclass {
  public:
    explicit Counter(int& clicks) : clicks_(clicks) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_COMMAND && LOWORD(wParam) == IDC_SICN && HIWORD(wParam) == BN_CLICKED)
        ++clicks_;
      return DefaultHandle(message, wParam, lParam);
    }
    int& clicks_;
  } counter(clicks);
  ASSERT_TRUE(counter.Attach(dialog.hwnd()));
  const HWND hwnd = dialog.sicn.hwnd();
  const LPARAM at = MAKELPARAM(5, 5);
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 2);
}

// The data pane draws 326, 327 and 328 as 16 x 16 markers with AND on white, the value on row 8:
// loaded with the window colour for their light grey, only the triangle pointing at row 8 is left.
TEST(PaneMarkers, LoadOnTheWindowColourAndPointAtRowEight) {
  const COLORREF w = ::GetSysColor(COLOR_WINDOW);
  const std::uint32_t window = (GetRValue(w) << 16) | (GetGValue(w) << 8) | GetBValue(w);
  for (int id : {326, 327, 328}) {
    SCOPED_TRACE(id);
    Tarn::unique_hbitmap marker(
        static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                          IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT)));
    ASSERT_TRUE(marker);
    const SIZE size = BitmapSize(marker.get());
    ASSERT_EQ(size.cx, 16);
    ASSERT_EQ(size.cy, 16);
    const auto pixels = Tarn::Window::ReadBitmapPixels(marker.get(), size);
    auto at = [&](int x, int y) { return pixels[y * 16 + x]; };
    int drawn[16] = {};
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        drawn[y] += at(x, y) != window && at(x, y) != 0xFFFFFF;
    EXPECT_EQ(drawn[0], 0);
    EXPECT_EQ(drawn[15], 0);
    // The tip is the leftmost drawn pixel, on row 8; the rows around it mirror each other.
    int tip = 16;
    for (int x = 15; x >= 0; --x)
      if (at(x, 8) != window && at(x, 8) != 0xFFFFFF)
        tip = x;
    EXPECT_LE(tip, 3);
    for (int y = 0; y < 16; ++y)
      EXPECT_TRUE(at(tip, y) == window || at(tip, y) == 0xFFFFFF || y == 8) << y;
    for (int d = 1; d < 7; ++d)
      EXPECT_EQ(drawn[8 - d], drawn[8 + d]) << d;
    EXPECT_GT(drawn[8], drawn[2]);
  }
}

TEST_F(BmpTxtButtonWin, DisabledGlyphIsDrawnInGreyTones) {
  TBmpTxtButton& button = dialog.help;
  const HWND hwnd = button.hwnd();
  auto glyphPixels = [&] {
    const GuiDriver::Picture picture = GuiDriver::Capture(hwnd);
    const RECT r = button.LastGlyphRect();
    std::vector<std::uint32_t> pixels;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        pixels.push_back(picture.At(x, y));
    return pixels;
  };
  auto countNotGrey = [](const std::vector<std::uint32_t>& pixels) {
    int n = 0;
    for (auto p : pixels)
      n += !IsGrey(p, 2);
    return n;
  };

  Repaint(hwnd);
  EXPECT_EQ(button.LastGlyphState(), 0);
  const auto enabled = glyphPixels();
  ASSERT_FALSE(enabled.empty());
  EXPECT_GT(countNotGrey(enabled), 50); // the blue disc

  ::EnableWindow(hwnd, FALSE);
  Repaint(hwnd);
  EXPECT_EQ(button.LastGlyphState(), 2);
  EXPECT_EQ(button.LastGreyToneRenderer(), GreyToneRenderer::GdiPlus);
  const auto throughGdiPlus = glyphPixels();
  EXPECT_EQ(countNotGrey(throughGdiPlus), 0);

  button.SetGdiPlusAllowed(false);
  Repaint(hwnd);
  EXPECT_EQ(button.LastGreyToneRenderer(), GreyToneRenderer::Gdi);
  const auto throughGdi = glyphPixels();
  EXPECT_EQ(countNotGrey(throughGdi), 0);
  ASSERT_EQ(throughGdi.size(), throughGdiPlus.size());
  int distant = 0;
  for (std::size_t i = 0; i < throughGdi.size(); ++i)
    distant += std::abs(Channel(throughGdi[i], 8) - Channel(throughGdiPlus[i], 8)) > 3;
  EXPECT_EQ(distant, 0);
  // The disc is lighter than it was, but not the face: the glyph is still there.
  int darker = 0;
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  for (auto p : throughGdi)
    darker += Channel(p, 8) + 8 < GetGValue(face);
  EXPECT_GT(darker, 20);
}

TEST_F(BmpTxtButtonWin, PressedGlyphMovesAndLeavingReleases) {
  TBmpTxtButton& button = dialog.help;
  const HWND hwnd = button.hwnd();
  Repaint(hwnd);
  const RECT normal = button.LastGlyphRect();
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Repaint(hwnd);
  EXPECT_TRUE(button.IsPressed());
  EXPECT_EQ(button.LastGlyphState(), 1);
  const RECT pressed = button.LastGlyphRect();
  EXPECT_EQ(pressed.left, normal.left + 1);
  EXPECT_EQ(pressed.top, normal.top + 1);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right + 20, 5));
  EXPECT_FALSE(button.IsPressed());
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(client.right + 20, 5));
  Repaint(hwnd);
  EXPECT_EQ(button.LastGlyphState(), 0);
}

TEST_F(BmpTxtButtonWin, TooltipAfterResting) {
  TBmpTxtButton& button = dialog.help;
  const HWND hwnd = button.hwnd();
  // Without a tool tip text resting shows nothing.
  GuiDriver::MoveMouse(hwnd, {10, 5});
  GuiDriver::Pump(700ms);
  EXPECT_FALSE(button.TooltipShown());
  ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);

  button.SetTooltip(L"Get help on using Multipoint Calibration");
  const auto start = std::chrono::steady_clock::now();
  GuiDriver::MoveMouse(hwnd, {10, 5});
  GuiDriver::Pump(100ms);
  EXPECT_FALSE(button.TooltipShown());
  ASSERT_TRUE(GuiDriver::PumpUntil([&] { return button.TooltipShown(); }, 2000ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 450ms);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
  tool.lpszText = text;
  ::SendMessageW(button.TooltipWindow(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Get help on using Multipoint Calibration");
  ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button.TooltipShown());
}

TEST_F(BmpTxtButtonWin, CaptionWithoutAmpersandsInButtonText) {
  TBmpTxtButton& button = dialog.help;
  const HWND hwnd = button.hwnd();
  Repaint(hwnd);
  const GuiDriver::Picture picture = GuiDriver::Capture(hwnd);
  const RECT glyph = button.LastGlyphRect();
  // Dark text pixels right of the glyph, none left of it.
  int right = 0, left = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = picture.At(x, y);
      if (Channel(p, 16) < 60 && Channel(p, 8) < 60 && Channel(p, 0) < 60) {
        right += x >= glyph.right;
        left += x < glyph.left - 2 && x > 3;
      }
    }
  EXPECT_GT(right, 10);
  EXPECT_EQ(left, 0);
}

} // namespace
} // namespace TarnControls

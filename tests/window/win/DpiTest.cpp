#include "window/win/Dpi.h"
#include "window/win/WindowUtil.h"

#include "GuiDriver.h"
#include "TestDialog.h"
#include "foundation/win/UniqueHandle.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tarn::Window;

namespace {

// These cases run at 96 dpi and again in the 144-dpi prefix (test_window_win_144).

TEST(DpiTest, ProcessRunsAtThePrefixDpi) {
  WindowTest::TestDialog dialog;
  const HWND hwnd = GuiDriver::ShowModeless(dialog);
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(SystemDpi(), GuiDriver::ExpectedDpi());
  EXPECT_EQ(DpiOfWindow(hwnd), GuiDriver::ExpectedDpi());
  EXPECT_EQ(DpiOfWindow(nullptr), GuiDriver::ExpectedDpi());
  EXPECT_EQ(ScaleForWindow(hwnd, 12), GuiDriver::ExpectedDpi() == 144 ? 18 : 12);
}

// The template's 50 x 14 push buttons grow with the screen's DPI, by the dialog font.
TEST(DpiTest, DialogUnitsFollowTheDpi) {
  WindowTest::TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  RECT units{0, 0, 50, 14};
  ASSERT_TRUE(::MapDialogRect(dialog.hwnd(), &units));
  const Rect ok = RectInParent(dialog.Item(IDOK));
  EXPECT_EQ(ok.Width(), units.right);
  EXPECT_EQ(ok.Height(), units.bottom);
  const double ratio = GuiDriver::ExpectedDpi() / 96.0;
  EXPECT_NEAR(ok.Width(), 75 * ratio, 8 * ratio);
  EXPECT_NEAR(ok.Height(), 23 * ratio, 3 * ratio);
}

TEST(DpiTest, TestDialogLayoutHasNoFaults) {
  WindowTest::TestDialog dialog;
  ASSERT_TRUE(GuiDriver::ShowModeless(dialog));
  std::vector<Rect> children;
  std::vector<HWND> handles;
  for (HWND child = ::GetWindow(dialog.hwnd(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(RectInParent(child));
    handles.push_back(child);
  }
  ASSERT_EQ(children.size(), 8u);
  const LayoutFaults faults = FindLayoutFaults(ClientRect(dialog.hwnd()), children);
  EXPECT_TRUE(faults.empty()) << faults.outside.size() << " outside, " << faults.overlapping.size()
                              << " overlapping";

  // No label or button caption is clipped by its own rectangle.
  for (HWND child : handles) {
    const std::wstring text = WindowText(child);
    if (text.empty())
      continue;
    const auto dc = Tarn::unique_window_dc::Get(child);
    Tarn::unique_select_object font(
        dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    const Rect r = ClientRect(child);
    EXPECT_LE(extent.right, r.Width()) << std::string(text.begin(), text.end());
    EXPECT_LE(extent.bottom, r.Height()) << std::string(text.begin(), text.end());
  }
}

TEST(PicturesTest, TestDialog) {
  WindowTest::TestDialog dialog;
  const HWND hwnd = GuiDriver::ShowModeless(dialog);
  ASSERT_TRUE(hwnd);
  GuiDriver::TypeText(dialog.Item(WindowTest::kValue), L"12.5");
  GuiDriver::Click(dialog.Item(WindowTest::kRemember));
  const GuiDriver::Picture picture = GuiDriver::Capture(hwnd);
  const Rect window = ScreenRect(hwnd);
  ASSERT_EQ(picture.width, window.Width());
  ASSERT_EQ(picture.height, window.Height());

  // The picture shows the dialog: the face colour fills the space between the buttons, and the
  // edit field's inside is the window colour.
  POINT face{0, 0};
  const Rect ok = RectInParent(dialog.Item(IDOK));
  face = {ok.left - 3, ok.top + ok.Height() / 2};
  ::ClientToScreen(hwnd, &face);
  const auto at = [&](POINT screen) {
    return picture.At(screen.x - window.left, screen.y - window.top);
  };
  const auto rgb = [](COLORREF c) {
    return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  };
  EXPECT_EQ(at(face), rgb(::GetSysColor(COLOR_BTNFACE)));
  const Rect edit = RectInParent(dialog.Item(WindowTest::kValue));
  POINT inside{edit.right - 4, edit.top + edit.Height() / 2};
  ::ClientToScreen(hwnd, &inside);
  EXPECT_EQ(at(inside), rgb(::GetSysColor(COLOR_WINDOW)));

  const std::wstring name = L"window_test_dialog_" + std::to_wstring(GuiDriver::ExpectedDpi());
  const std::wstring path = GuiDriver::CaptureToPng(hwnd, name);
  ASSERT_FALSE(path.empty());
  EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace

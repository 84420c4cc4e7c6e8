#include "ControlsTestIds.h"
#include "GuiDriver.h"
#include "controls/win/MenuCombo.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/Dialog.h"
#include "window/win/Module.h"

#include <cmath>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

using namespace std::chrono_literals;

// Items: 0 "Alpha", 1 separator, 2 "Gamma", 3 heading "Heading", 4 "Epsilon".
class ComboDialog : public Tarn::Window::Dialog {
public:
  ComboDialog() : Dialog({L"COMBOTEST"}) {}
  MenuCombo combo;
  int selectionChanges = 0;

private:
  bool OnInitDialog() override {
    combo.Attach(hwnd(), IDC_MENU_COMBO);
    combo.AddString(L"Alpha");
    combo.AddSpecialItem();
    combo.AddString(L"Gamma");
    combo.AddSpecialItem(L"Heading");
    combo.AddString(L"Epsilon");
    combo.SetSelection(0);
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    if (id == IDC_MENU_COMBO && code == CBN_SELCHANGE) {
      ++selectionChanges;
      return true;
    }
    return Dialog::OnCommand(id, code, control);
  }
};

class MenuComboWin : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(MenuCombo::RegisterWindowClass());
    ASSERT_NE(GuiDriver::ShowModeless(dialog), nullptr);
    combo = dialog.combo.hwnd();
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(dialog.combo.ListWindow(), nullptr);
  }
  void Wheel(int delta) { ::SendMessageW(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }
  void Open() {
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    GuiDriver::Pump(20ms);
  }
  bool IsOpen() const { return ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }
  POINT ItemCentre(int index) const {
    RECT r{};
    ::SendMessageW(dialog.combo.ListWindow(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  ComboDialog dialog;
  HWND combo = nullptr;
};

TEST_F(MenuComboWin, ClosedComboKeysSkipSpecialItems) {
  struct Step {
    UINT key;
    int selection;
  };
  const Step steps[] = {{VK_DOWN, 2}, {VK_DOWN, 4},  {VK_DOWN, 4}, {VK_UP, 2},  {VK_UP, 0},
                        {VK_UP, 0},   {VK_RIGHT, 2}, {VK_LEFT, 0}, {VK_END, 4}, {VK_HOME, 0}};
  int expectedChanges = 0;
  int previous = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "key " << s.key << " to " << s.selection);
    ASSERT_TRUE(GuiDriver::PressKey(combo, s.key));
    EXPECT_EQ(GuiDriver::ComboSelection(combo), s.selection);
    if (s.selection != previous)
      ++expectedChanges;
    previous = s.selection;
    EXPECT_EQ(dialog.selectionChanges, expectedChanges);
    EXPECT_FALSE(IsOpen());
  }
}

TEST_F(MenuComboWin, TypingTheFirstLetterOfAHeadingMovesPastIt) {
  ASSERT_TRUE(GuiDriver::TypeText(combo, L"h"));
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 4);
  ASSERT_TRUE(GuiDriver::TypeText(combo, L"g"));
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 2);
}

TEST_F(MenuComboWin, WheelOnClosedComboSkipsSpecialItems) {
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 2);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 4);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 2);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 0);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 0);
  EXPECT_EQ(dialog.selectionChanges, 4);
}

TEST_F(MenuComboWin, OpenListKeysSkipSpecialItems) {
  Open();
  ASSERT_TRUE(IsOpen());
  const HWND list = dialog.combo.ListWindow();
  auto listSelection = [&] { return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)); };
  // The second item is a separator: down on the first selects the third.
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_DOWN));
  EXPECT_EQ(listSelection(), 2);
  EXPECT_TRUE(IsOpen());
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_DOWN));
  EXPECT_EQ(listSelection(), 4);
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_DOWN)); // the last item: nothing happens
  EXPECT_EQ(listSelection(), 4);
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_UP));
  EXPECT_EQ(listSelection(), 2);
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_RIGHT));
  EXPECT_EQ(listSelection(), 4);
  EXPECT_TRUE(IsOpen());
  ASSERT_TRUE(GuiDriver::PressKey(combo, VK_RETURN));
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 4);
  EXPECT_GE(dialog.selectionChanges, 1);
}

TEST_F(MenuComboWin, ClickOnHeadingOrSeparatorLeavesSelection) {
  const HWND list = dialog.combo.ListWindow();
  for (int special : {3, 1}) {
    SCOPED_TRACE(special);
    Open();
    ASSERT_TRUE(IsOpen());
    const int changes = dialog.selectionChanges;
    ASSERT_TRUE(GuiDriver::ClickAt(list, ItemCentre(special)));
    GuiDriver::Pump(20ms);
    EXPECT_EQ(GuiDriver::ComboSelection(combo), 0);
    EXPECT_EQ(static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)), 0);
    EXPECT_EQ(dialog.selectionChanges, changes);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  }
  // An ordinary item is chosen as usual.
  Open();
  ASSERT_TRUE(GuiDriver::ClickAt(list, ItemCentre(4)));
  GuiDriver::Pump(20ms);
  EXPECT_EQ(GuiDriver::ComboSelection(combo), 4);
  EXPECT_FALSE(IsOpen());
}

TEST_F(MenuComboWin, ItemHeightFromTheControlsFont) {
  const auto dc = Tarn::unique_window_dc::Get(combo);
  Tarn::unique_select_object font(dc.get(),
                                  reinterpret_cast<HFONT>(::SendMessageW(combo, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  ASSERT_TRUE(::GetTextMetricsW(dc.get(), &metrics));
  const int expected =
      static_cast<int>(std::lround((metrics.tmHeight + metrics.tmExternalLeading) * 1.25));
  EXPECT_EQ(dialog.combo.ItemHeight(), expected);
  EXPECT_EQ(::SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), expected);
  // The selection field: Wine answers with the 2 pixels of its border added.
  const auto field = ::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  EXPECT_GE(field, expected);
  EXPECT_LE(field, expected + 2);
  // "MS Shell Dlg 2" at 8 points is 13 pixels high at 96 dpi and 19 at 144.
  EXPECT_EQ(expected, GuiDriver::ExpectedDpi() == 144 ? 24 : 16);
}

TEST_F(MenuComboWin, SpecialItemsFollowTheListMessages) {
  MenuCombo& c = dialog.combo;
  EXPECT_EQ(c.Specials().Indices(), (std::vector<int>{1, 3}));
  ::SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"Zero"));
  EXPECT_EQ(c.Specials().Indices(), (std::vector<int>{2, 4}));
  c.InsertString(3, L"Inserted");
  EXPECT_EQ(c.Specials().Indices(), (std::vector<int>{2, 5}));
  ::SendMessageW(combo, CB_DELETESTRING, 2, 0);
  EXPECT_EQ(c.Specials().Indices(), (std::vector<int>{4}));
  EXPECT_EQ(c.ItemText(4), L"Heading");
  EXPECT_FALSE(c.SetSelection(4));
  c.ResetContent();
  EXPECT_TRUE(c.Specials().Indices().empty());
  EXPECT_EQ(c.Count(), 0);
  c.AddSpecialItem(L"Only heading");
  EXPECT_TRUE(GuiDriver::PressKey(combo, VK_DOWN)); // nothing to choose: no change
  EXPECT_EQ(GuiDriver::ComboSelection(combo), -1);
}

TEST_F(MenuComboWin, ClassIsTheSystemComboBoxOfThisModule) {
  WNDCLASSEXW mine{};
  mine.cbSize = sizeof mine;
  ASSERT_TRUE(::GetClassInfoExW(Tarn::Window::ModuleInstance(), kMenuComboClassName, &mine));
  WNDCLASSEXW system{};
  system.cbSize = sizeof system;
  {
    auto context = Tarn::Window::ActivateModuleContext();
    ASSERT_TRUE(::GetClassInfoExW(nullptr, L"ComboBox", &system));
  }
  EXPECT_EQ(mine.lpfnWndProc, system.lpfnWndProc);
  EXPECT_EQ(mine.cbWndExtra, system.cbWndExtra);
  EXPECT_EQ(mine.style, system.style & ~static_cast<UINT>(CS_GLOBALCLASS));

  const WNDCLASSEXW fallback = MenuComboClassFrom(nullptr, Tarn::Window::ModuleInstance());
  EXPECT_EQ(fallback.style, 131u);
  EXPECT_EQ(fallback.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(16)));
  EXPECT_EQ(fallback.hInstance, Tarn::Window::ModuleInstance());
  EXPECT_STREQ(fallback.lpszClassName, L"MenuCombo");
}

TEST_F(MenuComboWin, AttachesToOwnerDrawnComboBoxOfTemplate) {
  MenuCombo plain;
  ASSERT_TRUE(plain.Attach(dialog.hwnd(), IDC_PLAIN_COMBO));
  plain.AddString(L"One");
  plain.AddSpecialItem();
  plain.AddString(L"Three");
  plain.SetSelection(0);
  ASSERT_TRUE(GuiDriver::PressKey(plain.hwnd(), VK_DOWN));
  EXPECT_EQ(GuiDriver::ComboSelection(plain.hwnd()), 2);
}

TEST_F(MenuComboWin, SeparatorIsALightGreyLineAndHeadingIsNotHighlighted) {
  Open();
  const HWND list = dialog.combo.ListWindow();
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The pointer on the heading moves no highlight there.
  ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(ItemCentre(3).x, ItemCentre(3).y));
  GuiDriver::Pump(20ms);
  EXPECT_EQ(static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)), 0);

  const GuiDriver::Picture picture = GuiDriver::Capture(list);
  ASSERT_GT(picture.width, 0);
  RECT separator{};
  ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator));
  POINT origin{0, 0};
  ::ClientToScreen(list, &origin);
  RECT window{};
  ::GetWindowRect(list, &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  const int middle = separator.top + (separator.bottom - separator.top) / 2;
  const std::uint32_t grey = 0xC0C0C0;
  const COLORREF w = ::GetSysColor(COLOR_WINDOW);
  const std::uint32_t white = (GetRValue(w) << 16) | (GetGValue(w) << 8) | GetBValue(w);
  EXPECT_EQ(picture.At(dx + separator.left + 2, dy + middle), grey);
  EXPECT_EQ(picture.At(dx + separator.right - 3, dy + middle), grey);
  EXPECT_EQ(picture.At(dx + separator.left + 1, dy + middle), white);
  EXPECT_EQ(picture.At(dx + separator.right - 2, dy + middle), white);
  EXPECT_EQ(picture.At(dx + (separator.left + separator.right) / 2, dy + middle - 1), white);
  EXPECT_EQ(picture.At(dx + (separator.left + separator.right) / 2, dy + middle + 1), white);
  ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

} // namespace
} // namespace TarnControls

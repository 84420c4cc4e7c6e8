#include "controls/NumberText.h"
#include "controls/win/HostTexts.h"
#include "foundation/win/LocaleInfo.h"
#include "window/win/Dpi.h"
#include "window/win/MessageBox.h"
#include "window/win/WindowUtil.h"

#include "EditTestDialog.h"
#include "GuiDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using TarnControls::ErrorProviderPointer;

namespace {

std::wstring Separator() {
  return TarnControls::UserDecimalSeparator();
}

void SelectAll(HWND edit) {
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

// Pastes `text` through the clipboard, as Ctrl+V does: no character message reaches the edit.
bool Paste(HWND edit, const std::wstring& text) {
  for (int attempt = 0; attempt < 20 && !::OpenClipboard(edit); ++attempt)
    GuiDriver::Pump(10ms);
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
  ::GlobalUnlock(memory);
  const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  ::CloseClipboard();
  if (set)
    ::SendMessageW(edit, WM_PASTE, 0, 0);
  return set;
}

class EditControls : public testing::Test {
protected:
  HWND Show(EditTest::EditTestDialog& dialog) {
    const HWND hwnd = GuiDriver::ShowModeless(dialog);
    EXPECT_TRUE(hwnd);
    return hwnd;
  }
};

TEST_F(EditControls, TypingShowsAndHidesTheMarker) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  const HWND edit = dialog.Item(EditTest::kDecimals);
  auto& marker = dialog.provider;
  EXPECT_FALSE(marker.IsShown());

  struct Step {
    const wchar_t* action;
    std::function<void()> act;
    const wchar_t* text;
    bool marked;
  };
  const Step steps[] = {
      {L"type 9 over 3",
       [&] {
         SelectAll(edit);
         GuiDriver::TypeText(edit, L"9");
       },
       L"9", true},
      {L"backspace", [&] { GuiDriver::TypeText(edit, L"\b"); }, L"", true},
      {L"type 4", [&] { GuiDriver::TypeText(edit, L"4"); }, L"4", false},
      {L"a letter is filtered", [&] { GuiDriver::TypeText(edit, L"x"); }, L"4", false},
      {L"type 0", [&] { GuiDriver::TypeText(edit, L"0"); }, L"40", true},
      {L"delete the 0",
       [&] {
         ::SendMessageW(edit, EM_SETSEL, 1, 2);
         ::SendMessageW(edit, WM_CLEAR, 0, 0);
       },
       L"4", false},
      {L"delete all",
       [&] {
         SelectAll(edit);
         ::SendMessageW(edit, WM_CLEAR, 0, 0);
       },
       L"", true},
      {L"paste 5", [&] { ASSERT_TRUE(Paste(edit, L"5")); }, L"5", false},
      {L"paste 7 over it",
       [&] {
         SelectAll(edit);
         ASSERT_TRUE(Paste(edit, L"7"));
       },
       L"7", true},
      {L"cut it",
       [&] {
         SelectAll(edit);
         ::SendMessageW(edit, WM_CUT, 0, 0);
       },
       L"", true},
      {L"paste 6",
       [&] {
         SelectAll(edit);
         ASSERT_TRUE(Paste(edit, L"6"));
       },
       L"6", false},
      // The number parses, but the range validator's filter has no blank.
      {L"paste a blank and 6",
       [&] {
         SelectAll(edit);
         ASSERT_TRUE(Paste(edit, L" 6"));
       },
       L" 6", true},
      {L"paste 6 and a blank",
       [&] {
         SelectAll(edit);
         ASSERT_TRUE(Paste(edit, L"6 "));
       },
       L"6 ", true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(s.action)));
    s.act();
    EXPECT_EQ(GuiDriver::Text(edit), s.text);
    EXPECT_EQ(marker.IsShown(), s.marked);
    if (s.marked) {
      EXPECT_EQ(marker.Title(), L"Value out of range");
      EXPECT_EQ(marker.Text(), L"Enter a value from 0 to 6.");
    } else {
      EXPECT_EQ(marker.Title(), L"");
      EXPECT_EQ(marker.Text(), L"");
    }
  }
}

TEST_F(EditControls, TextIsLimitedTo255Characters) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  const HWND edit = dialog.Item(EditTest::kScale);
  ::SetWindowTextW(edit, std::wstring(250, L'1').c_str());
  ::SendMessageW(edit, EM_SETSEL, 250, 250);
  GuiDriver::TypeText(edit, std::wstring(8, L'2'));
  EXPECT_EQ(GuiDriver::Text(edit).size(), 255u);
}

// Runs at 96 dpi and again at 144 dpi.
TEST_F(EditControls, MarkerIsATwelvePixelSquareAtTheDpi) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  // The dialog manager maps the template's position and size separately.
  RECT position{EditTest::kMarkerUnits.left, EditTest::kMarkerUnits.top, 0, 0};
  RECT size{0, 0, EditTest::kMarkerUnits.right - EditTest::kMarkerUnits.left,
            EditTest::kMarkerUnits.bottom - EditTest::kMarkerUnits.top};
  ASSERT_TRUE(::MapDialogRect(dialog.hwnd(), &position));
  ASSERT_TRUE(::MapDialogRect(dialog.hwnd(), &size));
  const RECT units{position.left, position.top, position.left + size.right,
                   position.top + size.bottom};
  const Tarn::Window::Rect square = Tarn::Window::RectInParent(dialog.Item(EditTest::kMarker));
  const int side = GuiDriver::ExpectedDpi() == 144 ? 18 : 12;
  EXPECT_EQ(Tarn::Window::DpiOfWindow(dialog.hwnd()), GuiDriver::ExpectedDpi());
  EXPECT_EQ(square.Width(), side);
  EXPECT_EQ(square.Height(), side);
  EXPECT_EQ(square.left, units.left);
  EXPECT_EQ(square.bottom, units.bottom);
  EXPECT_EQ(dialog.provider.IconSize(), side);
  EXPECT_TRUE(::GetWindowLongPtrW(dialog.Item(EditTest::kMarker), GWL_STYLE) & SS_NOTIFY);
}

TEST_F(EditControls, MarkerDrawsTheGlyphOfItsFlags) {
  // 0x18: the warning glyph wins over the error glyph.
  EditTest::EditTestDialog warning(0x18);
  EditTest::EditTestDialog error(0x08);
  ASSERT_TRUE(Show(warning));
  ASSERT_TRUE(Show(error));
  EXPECT_EQ(warning.provider.Flags(), 0x11);
  ASSERT_TRUE(warning.provider.HasImages());
  for (auto* d : {&warning, &error}) {
    d->provider.Show(true);
    ::UpdateWindow(d->hwnd());
  }
  GuiDriver::Pump(20ms);
  auto dominant = [](HWND marker) {
    const GuiDriver::Picture p = GuiDriver::Capture(marker);
    long red = 0, green = 0, blue = 0;
    for (std::uint32_t px : p.pixels) {
      red += (px >> 16) & 0xFF;
      green += (px >> 8) & 0xFF;
      blue += px & 0xFF;
    }
    return std::vector<long>{red, green, blue};
  };
  const auto w = dominant(warning.provider.hwnd());
  const auto e = dominant(error.provider.hwnd());
  // The warning glyph is yellow (red and green), the error glyph red.
  EXPECT_GT(w[1], e[1]);
  EXPECT_GT(e[0], e[1]);
}

TEST_F(EditControls, HoverPopupClosesAfterFiveSecondsOfTicks) {
  EditTest::EditTestDialog dialog(TarnControls::epHoverPopup | TarnControls::epError);
  ASSERT_TRUE(Show(dialog));
  auto& marker = dialog.provider;
  marker.SetText(L"The unit requires a name.");
  marker.Show(true);
  const HWND square = marker.hwnd();
  GuiDriver::MoveMouse(square, {3, 3});
  // The test sends the ticks itself: the real timer would add some while pictures are taken.
  ::KillTimer(square, ErrorProviderPointer::kTimerId);
  auto tick = [&] { ::SendMessageW(square, WM_TIMER, ErrorProviderPointer::kTimerId, 0); };
  tick();
  ASSERT_TRUE(marker.CurrentPopup() && marker.CurrentPopup()->hwnd());
  const HWND popup = marker.CurrentPopup()->hwnd();
  EXPECT_TRUE(::IsWindowVisible(popup));
  EXPECT_EQ(marker.CurrentPopup()->Text(), L"The unit requires a name.");
  EXPECT_TRUE(::GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_NE(::GetActiveWindow(), popup);
  const std::wstring name = L"edit_hover_popup_" + std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(popup, name).empty());
  const GuiDriver::Picture picture = GuiDriver::Capture(popup);
  EXPECT_EQ(picture.At(picture.width - 1, picture.height - 1), 0xFFFFE1u);

  for (int i = 2; i <= 100; ++i)
    tick();
  EXPECT_EQ(marker.HoverTime(), 5000);
  EXPECT_TRUE(::IsWindow(popup));
  tick(); // 5050 ms
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(marker.HoverTime(), 0);

  // A new hover shows it again; leaving closes it.
  GuiDriver::MoveMouse(square, {4, 4});
  ::KillTimer(square, ErrorProviderPointer::kTimerId);
  tick();
  ASSERT_TRUE(marker.CurrentPopup() && marker.CurrentPopup()->hwnd());
  const HWND again = marker.CurrentPopup()->hwnd();
  ::SendMessageW(square, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(::IsWindow(again));
  EXPECT_EQ(marker.HoverTime(), 0);
}

TEST_F(EditControls, RangeErrorWithoutMarkerNamesMinimumAndMaximum) {
  std::vector<Tarn::Window::MessageBoxRequest> shown;
  Tarn::Window::ScopedMessageBoxFunction recorder(
      [&](const Tarn::Window::MessageBoxRequest& request) {
        shown.push_back(request);
        return IDOK;
      });
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  const HWND scale = dialog.Item(EditTest::kScale);
  SelectAll(scale);
  GuiDriver::TypeText(scale, L"12");
  EXPECT_TRUE(shown.empty()); // no marker: nothing until the dialog checks
  ::SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, L"Please enter a value between -10 and 10.");
  EXPECT_EQ(shown[0].caption, L"Multipoint Calibration");
  EXPECT_EQ(shown[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_TRUE(::IsWindow(dialog.hwnd())); // the dialog stays open

  // Both ends are accepted.
  for (const wchar_t* text : {L"10", L"-10"}) {
    SelectAll(scale);
    GuiDriver::TypeText(scale, text);
    EXPECT_TRUE(dialog.scale.Validate()) << testing::PrintToString(std::wstring(text));
  }
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(EditControls, DoubleEditWritesAndReadsTheUsersSeparator) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  auto& scale = dialog.scale;
  const std::wstring sep = Separator();
  EXPECT_EQ(GuiDriver::Text(scale.hwnd()), L"2" + sep + L"5");

  scale.SetFixed(true);
  scale.SetPrecision(2);
  scale.SetValue(0.5);
  EXPECT_EQ(GuiDriver::Text(scale.hwnd()), L"0" + sep + L"50");
  scale.SetPrecision(0);
  scale.SetValue(0.5);
  EXPECT_EQ(GuiDriver::Text(scale.hwnd()), L"0" + sep + L"500000000");

  scale.SetPrecision(9);
  scale.SetText(L"123" + sep + L"4567891234");
  EXPECT_DOUBLE_EQ(scale.GetValue(), 123.4567891);
  EXPECT_TRUE(scale.IsTextValid());
  scale.SetText(L"0");
  EXPECT_EQ(scale.GetValue(), 0.0);
  scale.SetText(L"1e-310");
  EXPECT_TRUE(std::isfinite(scale.GetValue()));
  EXPECT_NEAR(scale.GetValue() / 1e-310, 1.0, 1e-6);
  scale.SetText(L"7 ");
  EXPECT_FALSE(scale.IsTextValid());
}

TEST_F(EditControls, DoubleEditBoundToTheMarker) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  auto& scale = dialog.scale;
  scale.SetErrorProvider(&dialog.provider);
  // The range of the validator it replaced is kept.
  auto* validator = dynamic_cast<TarnControls::FltRangeValidatorErrProv*>(scale.GetValidator());
  ASSERT_TRUE(validator);
  EXPECT_EQ(validator->Range().min, -10.0);
  EXPECT_EQ(validator->Range().max, 10.0);

  const std::wstring sep = Separator();
  const wchar_t other = sep == L"," ? L'.' : L',';
  SelectAll(scale.hwnd());
  GuiDriver::TypeText(scale.hwnd(), L"1");
  GuiDriver::TypeText(scale.hwnd(), std::wstring(1, other)); // not the user's separator
  EXPECT_EQ(GuiDriver::Text(scale.hwnd()), L"1");
  GuiDriver::TypeText(scale.hwnd(), sep + L"5e1");
  EXPECT_EQ(GuiDriver::Text(scale.hwnd()), L"1" + sep + L"5e1");
  EXPECT_TRUE(dialog.provider.IsShown());
  EXPECT_EQ(dialog.provider.Text(), L"Enter a value from -10 to 10.");
  GuiDriver::TypeText(scale.hwnd(), L"\b\b");
  EXPECT_FALSE(dialog.provider.IsShown());
  EXPECT_DOUBLE_EQ(scale.GetValue(), 1.5);
  GuiDriver::TypeText(scale.hwnd(), L"e");
  EXPECT_TRUE(dialog.provider.IsShown()); // "1.5e" does not parse to its end
}

TEST_F(EditControls, BalloonShowsOnTheMarkerAndCloses) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  auto& marker = dialog.provider;
  const HWND edit = dialog.Item(EditTest::kDecimals);
  SelectAll(edit);
  GuiDriver::TypeText(edit, L"8");
  ASSERT_TRUE(marker.IsShown());
  GuiDriver::MoveMouse(marker.hwnd(), {5, 5});
  const WTL::CBalloonHelp* balloon = marker.CurrentBalloon();
  ASSERT_TRUE(balloon && balloon->IsOpen());
  const HWND window = balloon->hwnd();
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, L"XPBalloonHelp");
  EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(balloon->OptionFlags(), 0x87E00u);
  EXPECT_EQ(balloon->Icon(), 80);
  EXPECT_EQ(balloon->Title(), L"Value out of range");
  EXPECT_EQ(balloon->Content(), L"Enter a value from 0 to 6.");
  EXPECT_TRUE(::IsWindowVisible(window));
  // The tail's tip is the centre of the marker.
  const Tarn::Window::Rect square = Tarn::Window::ScreenRect(marker.hwnd());
  const Tarn::Window::Rect placed = Tarn::Window::ScreenRect(window);
  const auto& layout = balloon->Layout();
  EXPECT_EQ(placed.left + layout.tail[1].x, (square.left + square.right) / 2);
  EXPECT_EQ(placed.top + layout.tail[1].y, (square.top + square.bottom) / 2);

  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(window, L"edit_balloon_" + dpi).empty());
  EXPECT_FALSE(GuiDriver::CaptureToPng(dialog.hwnd(), L"edit_dialog_marked_" + dpi).empty());

  // Moving over the marker keeps the same balloon up; a click in it closes it.
  GuiDriver::MoveMouse(marker.hwnd(), {6, 7});
  GuiDriver::MoveMouse(marker.hwnd(), {1, 1});
  EXPECT_EQ(marker.CurrentBalloon()->hwnd(), window);
  const POINT inside{layout.body.left + 20, layout.body.top + 5};
  ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
  EXPECT_FALSE(::IsWindow(window));

  // Shown again by a click on the marker, closed with the marker when the text is mended.
  GuiDriver::ClickAt(marker.hwnd(), {5, 5});
  ASSERT_TRUE(marker.CurrentBalloon()->IsOpen());
  const HWND second = marker.CurrentBalloon()->hwnd();
  SelectAll(edit);
  GuiDriver::TypeText(edit, L"2");
  EXPECT_FALSE(marker.IsShown());
  EXPECT_FALSE(::IsWindow(second));
}

TEST_F(EditControls, BalloonLinkRunsItsHandler) {
  EditTest::EditTestDialog dialog(TarnControls::epShowLink | TarnControls::epInformation);
  ASSERT_TRUE(Show(dialog));
  auto& marker = dialog.provider;
  int clicked = 0;
  int linked = 0;
  marker.SetTitle(L"Unit");
  marker.SetText(L"Units are defined in the unit list.");
  marker.SetLinkText(L"Define a unit...");
  marker.SetLinkHandler([&] { ++linked; });
  marker.SetClickHandler([&] { ++clicked; });
  marker.Show(true);
  GuiDriver::ClickAt(marker.hwnd(), {5, 5});
  EXPECT_EQ(clicked, 1);
  const WTL::CBalloonHelp* balloon = marker.CurrentBalloon();
  ASSERT_TRUE(balloon && balloon->IsOpen());
  EXPECT_EQ(balloon->OptionFlags(), 0xE7E00u);
  EXPECT_EQ(balloon->Icon(), 79);
  EXPECT_EQ(balloon->LinkText(), L"Define a unit...");
  const auto& link = balloon->Layout().link;
  ASSERT_GT(link.Width(), 0);
  ::SendMessageW(balloon->hwnd(), WM_LBUTTONUP, 0,
                 MAKELPARAM(link.left + 2, (link.top + link.bottom) / 2));
  EXPECT_EQ(linked, 1);
  EXPECT_TRUE(balloon->IsOpen());
  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(balloon->hwnd(), L"edit_balloon_link_" + dpi).empty());
}

} // namespace

namespace {

TEST_F(EditControls, BalloonClosesAsItsOptionsSay) {
  using Balloon = WTL::CBalloonHelp;
  struct Row {
    const char* name;
    unsigned options;
    std::function<void(HWND owner)> event;
    bool closes;
  };
  const Row rows[] = {
      {"owner hidden", Balloon::unCloseWithOwner, [](HWND o) { ::ShowWindow(o, SW_HIDE); }, true},
      {"owner hidden, not asked", 0, [](HWND o) { ::ShowWindow(o, SW_HIDE); }, false},
      {"owner disabled", Balloon::unCloseWithOwner, [](HWND o) { ::EnableWindow(o, FALSE); }, true},
      {"dialog moved", Balloon::unCloseOnOwnerMove,
       [](HWND o) {
         ::SetWindowPos(::GetAncestor(o, GA_ROOT), nullptr, 40, 40, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       },
       true},
      {"dialog moved, not asked", Balloon::unCloseWithOwner,
       [](HWND o) {
         ::SetWindowPos(::GetAncestor(o, GA_ROOT), nullptr, 60, 60, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       },
       false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EditTest::EditTestDialog dialog;
    ASSERT_TRUE(Show(dialog));
    const HWND owner = dialog.Item(EditTest::kScale);
    Balloon balloon;
    ASSERT_TRUE(balloon.Create(owner, L"Title", L"Text", {100, 100}, 78,
                               r.options | Balloon::unNoActivate));
    const HWND window = balloon.hwnd();
    // The test polls itself, so the real timer never closes the balloon behind its back.
    ::KillTimer(window, Balloon::kPollTimer);
    ::SendMessageW(window, WM_TIMER, Balloon::kPollTimer, 0);
    ASSERT_TRUE(::IsWindow(window));
    r.event(owner);
    ::SendMessageW(window, WM_TIMER, Balloon::kPollTimer, 0);
    EXPECT_EQ(!::IsWindow(window), r.closes);
    EXPECT_EQ(!balloon.IsOpen(), r.closes);
  }
}

TEST_F(EditControls, BalloonIsTopMostOnlyWhenAsked) {
  EditTest::EditTestDialog dialog;
  ASSERT_TRUE(Show(dialog));
  for (unsigned options : {0x87E00u, 0x87E04u}) {
    WTL::CBalloonHelp balloon;
    ASSERT_TRUE(balloon.Create(dialog.hwnd(), L"Title", L"Text", {100, 100}, 79, options));
    const auto exStyle = ::GetWindowLongPtrW(balloon.hwnd(), GWL_EXSTYLE);
    EXPECT_EQ((exStyle & WS_EX_TOPMOST) != 0, (options & 0x4) != 0) << std::hex << options;
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindowLongPtrW(balloon.hwnd(), GWL_STYLE) & WS_POPUP, WS_POPUP);
    EXPECT_EQ(::GetWindow(balloon.hwnd(), GW_OWNER), dialog.hwnd());
  }
}

} // namespace

namespace {

TEST(RangeValidators, TransferOnlyWhenAskedWithTheUsersSeparator) {
  const std::wstring sep = TarnControls::UserDecimalSeparator();
  TarnControls::FltRangeValidator decimal(10.0, -10.0);
  std::wstring text = L"2" + sep + L"25";
  double value = -1.0;
  EXPECT_EQ(decimal.Transfer(text, &value, TarnControls::TransferDirection::Get), 0u);
  EXPECT_EQ(value, -1.0);
  decimal.SetTransfer(true);
  EXPECT_EQ(decimal.Transfer(text, &value, TarnControls::TransferDirection::Get), 8u);
  EXPECT_EQ(value, 2.25);
  value = -0.125;
  EXPECT_EQ(decimal.Transfer(text, &value, TarnControls::TransferDirection::Set), 8u);
  EXPECT_EQ(text, L"-0" + sep + L"125");

  TarnControls::TarnRangeValidator whole(0, 6);
  whole.SetTransfer(true);
  std::wstring digits = L"5";
  std::int32_t number = 0;
  EXPECT_EQ(whole.Transfer(digits, &number, TarnControls::TransferDirection::Get), 4u);
  EXPECT_EQ(number, 5);
}

TEST(RangeValidators, FilterAndWholeTextChecks) {
  const std::wstring sep = TarnControls::UserDecimalSeparator();
  TarnControls::FltRangeValidator decimal(2.0, -1.5);
  for (wchar_t c : std::wstring(L"-+eE0123456789") + sep)
    EXPECT_TRUE(decimal.IsValidInput(c)) << static_cast<int>(c);
  const std::wstring rejected = std::wstring(L"dfx ") + (sep == L"," ? L'.' : L',');
  for (wchar_t c : rejected)
    EXPECT_FALSE(decimal.IsValidInput(c)) << static_cast<int>(c);
  EXPECT_TRUE(decimal.IsValid(L"-1" + sep + L"5"));
  EXPECT_TRUE(decimal.IsValid(L"2"));
  EXPECT_FALSE(decimal.IsValid(L"2" + sep + L"01"));
  TarnControls::TarnRangeValidator whole(0, 6);
  EXPECT_FALSE(whole.IsValidInput(L'.'));
  EXPECT_TRUE(whole.IsValid(L"6"));
  EXPECT_FALSE(whole.IsValid(L"7"));
}

} // namespace

#include "ControlsTestIds.h"
#include "GuiDriver.h"
#include "controls/win/BalloonHelp.h"
#include "controls/win/BmpTxtButton.h"
#include "controls/win/ErrorProvider.h"
#include "controls/win/MenuCombo.h"
#include "controls/win/SicnButton.h"
#include "controls/win/ValidatingEdit.h"
#include "window/win/Dialog.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

using namespace std::chrono_literals;

// Every control of the controls library in its states, for pictures at 96 and 144 dpi.
class PicturesDialog : public Tarn::Window::Dialog {
public:
  PicturesDialog() : Dialog({L"CONTROLSPICTURES"}) {}

  MenuCombo units;
  MenuCombo disabledUnits;
  TSICNButton take[5];
  TBmpTxtButton help;
  TBmpTxtButton helpDisabled;
  IntEdit points;
  DoubleEdit gain;
  IntEdit offset;
  ErrorProvider provider;

private:
  bool OnInitDialog() override {
    units.Attach(hwnd(), IDC_MENU_COMBO);
    for (const wchar_t* text : {L"Voltage", L"V", L"mV", L"", L"Pressure", L"kPa", L"",
                                L"Define Unit...", L"Delete Unit..."}) {
      const std::wstring item = text;
      if (item.empty() || item == L"Voltage" || item == L"Pressure")
        units.AddSpecialItem(item);
      else
        units.AddString(item);
    }
    units.SetSelection(2);
    disabledUnits.Attach(hwnd(), IDC_MENU_COMBO_DISABLED);
    disabledUnits.AddString(L"[No unit]");
    disabledUnits.SetSelection(0);

    for (int i = 0; i < 5; ++i) {
      take[i].Attach(hwnd(), IDC_SICN + i);
      take[i].SetOptions(kSicnShowPressed | kSicnShowFocused | kSicnShowDisabled);
    }
    take[4].SetClassicLook(true);
    help.Attach(hwnd(), IDC_BMPTXT);
    help.SetGlyph(354);
    helpDisabled.Attach(hwnd(), IDC_BMPTXT_DISABLED);
    helpDisabled.SetGlyph(354);

    points.Attach(hwnd(), IDC_INT_EDIT);
    points.SetValue(12);
    gain.Attach(hwnd(), IDC_DOUBLE_EDIT);
    gain.SetPrecision(6);
    gain.SetValue(1.5);
    offset.Attach(hwnd(), IDC_INVALID_EDIT);
    provider.SetTitle(L"Invalid Value");
    provider.SetText(L"The value must be a whole number.");
    provider.Attach(hwnd());
    offset.SetErrorProvider(&provider);
    offset.SetText(L"12x");
    offset.Revalidate();
    return true;
  }
};

std::wstring Suffix() {
  return L"-" + std::to_wstring(GuiDriver::ExpectedDpi());
}

TEST(ControlsPictures, EveryControlInItsStates) {
  ASSERT_TRUE(MenuCombo::RegisterWindowClass());
  PicturesDialog dialog;
  const HWND hwnd = GuiDriver::ShowModeless(dialog);
  ASSERT_NE(hwnd, nullptr);
  ::SendMessageW(dialog.take[1].hwnd(), BM_SETSTATE, TRUE, 0);
  ::SetFocus(dialog.take[2].hwnd());
  ::EnableWindow(dialog.take[3].hwnd(), FALSE);
  ::RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GuiDriver::Pump(50ms);
  EXPECT_TRUE(dialog.provider.IsShown());
  EXPECT_EQ(dialog.take[0].LastDrawnBitmap(), 324);
  EXPECT_EQ(dialog.take[1].LastDrawnBitmap(), 325);
  EXPECT_EQ(dialog.take[2].LastDrawnBitmap(), 326);
  EXPECT_EQ(dialog.take[3].LastDrawnBitmap(), 327);
  EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"controls" + Suffix()).empty());

  // Layout: every control inside the dialog, none overlapping, no label clipped.
  EXPECT_EQ(GuiDriver::LayoutFaults(hwnd), std::vector<std::string>{});

  // The open menu list.
  const HWND combo = dialog.units.hwnd();
  ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  GuiDriver::Pump(50ms);
  ::RedrawWindow(dialog.units.ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(
      GuiDriver::CaptureToPng(dialog.units.ListWindow(), L"controls-menu-list" + Suffix()).empty());
  ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // The error balloon of the invalid field.
  RECT marker{};
  ::GetWindowRect(dialog.provider.hwnd(), &marker);
  WTL::CBalloonHelp balloon;
  ASSERT_TRUE(balloon.Create(hwnd, dialog.provider.Title(), dialog.provider.Text(),
                             {(marker.left + marker.right) / 2, marker.bottom}, 80,
                             WTL::CBalloonHelp::unNoActivate));
  GuiDriver::Pump(50ms);
  ::RedrawWindow(balloon.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(GuiDriver::CaptureToPng(balloon.hwnd(), L"controls-balloon" + Suffix()).empty());
  balloon.Close();
}

} // namespace
} // namespace TarnControls

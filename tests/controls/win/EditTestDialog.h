#pragma once
#include <windows.h>

#include "controls/win/ErrorProvider.h"
#include "controls/win/ValidatingEdit.h"
#include "window/win/Dialog.h"

#include <memory>

// The dialog of EditTest.rc: decimal places 0..6 marked by the error provider, a scale maximum
// in -10..10 reported by message box.
namespace EditTest {

enum : int {
  kDecimalsLabel = 2000,
  kDecimals = 2001,
  kScaleLabel = 2002,
  kScale = 2003,
  kMarker = 105,
};

// The template's marker rectangle in dialog units.
inline constexpr RECT kMarkerUnits{113, 9, 123, 18};

class EditTestDialog : public Tarn::Window::Dialog {
public:
  explicit EditTestDialog(int providerFlags = TarnControls::kErrorProviderDefaultFlags)
      : Dialog({L"EDITTESTDLG", 0, nullptr}), provider(providerFlags) {}

  TarnControls::ErrorProvider provider;
  TarnControls::IntEdit decimals;
  TarnControls::DoubleEdit scale;

protected:
  bool OnInitDialog() override {
    provider.Attach(hwnd());
    provider.Show(false);
    decimals.Attach(hwnd(), kDecimals);
    decimals.SetValidator(std::make_unique<TarnControls::TarnRangeValidator>(0, 6));
    decimals.SetErrorProvider(&provider);
    decimals.SetValue(3);
    scale.Attach(hwnd(), kScale);
    scale.SetValidator(std::make_unique<TarnControls::FltRangeValidator>(10.0, -10.0));
    scale.SetPrecision(4);
    scale.SetValue(2.5);
    return true;
  }
  bool CanClose() override { return decimals.Validate() && scale.Validate(); }
};

} // namespace EditTest

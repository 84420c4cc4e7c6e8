#pragma once
#include <windows.h>

#include "window/win/Dialog.h"

#include <string>

// The test dialog of WindowTest.rc.
namespace WindowTest {

enum : int {
  kValueLabel = 1000,
  kValue = 1001,
  kApply = 1002,
  kRemember = 1003,
  kKind = 1004,
  kKindLabel = 1005,
};

inline Tarn::Window::DialogTemplate TestTemplate(LANGID language = 0) {
  return {MAKEINTRESOURCEW(100), language, nullptr};
}

// Counts what reaches it, keeps the value on OK and fills the combo box at set-up.
class TestDialog : public Tarn::Window::Dialog {
public:
  explicit TestDialog(Tarn::Window::DialogTemplate source = TestTemplate()) : Dialog(source) {}

  int applied = 0;
  int initialised = 0;
  std::wstring value;

protected:
  bool OnInitDialog() override {
    ++initialised;
    for (const wchar_t* kind : {L"Linear", L"Quadratic", L"Cubic"})
      ::SendDlgItemMessageW(hwnd(), kKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    ::SendDlgItemMessageW(hwnd(), kKind, CB_SETCURSEL, 0, 0);
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    if (id == kApply && code == BN_CLICKED) {
      ++applied;
      return true;
    }
    return Dialog::OnCommand(id, code, control);
  }
  bool CanClose() override {
    wchar_t text[64] = {};
    ::GetDlgItemTextW(hwnd(), kValue, text, 64);
    value = text;
    return !value.empty();
  }
};

} // namespace WindowTest

#include "multipointcalibration/ui/MPCalCopySelect.h"

namespace MPCalibration {

MPCalCopySelect::MPCalCopySelect(bool& asText) noexcept
    : Dialog({MAKEINTRESOURCEW(kResource)}), mAsText(asText) {}

bool MPCalCopySelect::OnInitDialog() {
  ::CheckRadioButton(hwnd(), kAsImage, kAsText, mAsText ? kAsText : kAsImage);
  return true;
}

bool MPCalCopySelect::OnCommand(int id, int code, HWND control) {
  // The close box arrives as IDCANCEL: the choice counts then too.
  if (id == IDOK || id == IDCANCEL)
    mAsText = ::IsDlgButtonChecked(hwnd(), kAsText) == BST_CHECKED;
  return Dialog::OnCommand(id, code, control);
}

} // namespace MPCalibration

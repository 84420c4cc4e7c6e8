#pragma once
#include <windows.h>

#include "controls/win/ValidatingEdit.h"
#include "window/win/Dialog.h"

#include <array>
#include <string>

namespace GUILib {

class CGraph2D;

// Set Scales (dialog 120): the two ranges of a graph typed in, checked against each scale's limits
// and set together; a range the check or a scale refuses keeps the dialog open.
class SetRangeDlg : public Tarn::Window::Dialog {
public:
  static constexpr int kResource = 120;
  enum Control { kTop = 120, kBottom = 121, kRight = 122, kLeft = 123 };

  explicit SetRangeDlg(CGraph2D& graph);

protected:
  bool OnInitDialog() override;
  bool CanClose() override;

private:
  CGraph2D& graph_;
  std::array<TarnControls::DoubleEdit, 4> edits_;
};

// The message of a range check: the host's text with the values at its markers.
std::wstring RangeMessage(unsigned messageId, const double* values, std::size_t count);

} // namespace GUILib

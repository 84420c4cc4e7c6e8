#pragma once
#include <windows.h>

#include "window/win/Dialog.h"

namespace MPCalibration {

// The copy-format dialog (template 350): copy the report as a picture or the points as text.
// However it is closed, the caller's choice is set from the buttons as they are then.
class MPCalCopySelect : public Tarn::Window::Dialog {
public:
  static constexpr int kResource = 350;
  enum Control { kAsImage = 351, kAsText = 352 };

  explicit MPCalCopySelect(bool& asText) noexcept;

protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

private:
  bool& mAsText;
};

} // namespace MPCalibration

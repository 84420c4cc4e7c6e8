#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "window/win/VelaPrintout.h"

namespace Tarn::Window {

// The host framework's printout of a document that fits on one page; it behaves as its base.
class VelaSinglePagePrintout : public VelaPrintout {
protected:
  VelaSinglePagePrintout(IUnknown* site, std::wstring title)
      : VelaPrintout(site, std::move(title)) {}
  ~VelaSinglePagePrintout() override = default;
};

} // namespace Tarn::Window

#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "multipointcalibration/win/LiveObjectCounter.h"
#include "window/win/VelaSinglePagePrintout.h"

namespace MPCalibration {

class MPCalReportDialog;

// The curve dialog's report on one printed page. It draws through the dialog it was made for
// until the dialog lets go of it (Detach); a printout the host keeps after that draws nothing.
class MPCalReportPrintout final : public Tarn::Window::VelaSinglePagePrintout {
public:
  // A new printout with one reference, owned by the caller.
  static MPCalReportPrintout* Create(IUnknown* site, std::wstring title, MPCalReportDialog& dialog);

  void Detach() noexcept { mDialog = nullptr; }

  HRESULT STDMETHODCALLTYPE PaintPage(std::int32_t page) noexcept override;
  HRESULT STDMETHODCALLTYPE CountPages(std::int32_t* count) noexcept override;

private:
  MPCalReportPrintout(IUnknown* site, std::wstring title, MPCalReportDialog& dialog)
      : VelaSinglePagePrintout(site, std::move(title)), mDialog(&dialog) {}
  ~MPCalReportPrintout() override = default;

  MPCalReportDialog* mDialog;
  LiveObjectCounter mCounted;
};

} // namespace MPCalibration

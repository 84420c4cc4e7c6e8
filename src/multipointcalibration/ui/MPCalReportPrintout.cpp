#include "multipointcalibration/ui/MPCalReportPrintout.h"

#include <utility>

#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/ui/MPCalReportDialog.h"
#include "multipointcalibration/ui/ReportDrawing.h"

namespace MPCalibration {

MPCalReportPrintout* MPCalReportPrintout::Create(IUnknown* site, std::wstring title,
                                                 MPCalReportDialog& dialog) {
  return new MPCalReportPrintout(site, std::move(title), dialog);
}

HRESULT MPCalReportPrintout::PaintPage(std::int32_t) noexcept {
  if (!mDialog || !DC())
    return E_UNEXPECTED;
  return Tarn::Guard([&] { DrawReport(DC(), PageRect(), mDialog->ReportContent()); });
}

HRESULT MPCalReportPrintout::CountPages(std::int32_t* count) noexcept {
  if (!count)
    return E_INVALIDARG;
  *count = 1;
  return S_OK;
}

} // namespace MPCalibration

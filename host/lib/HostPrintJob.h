#pragma once
#include <windows.h>

#include <string>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// One print run of the reference host: the printout's pages on the default printer, or into the
// file that VELA_PRINT_FILE names; with Host::kPrintWithPreview the first page is shown in a
// modal "Print Preview" window first, whose Print button (IDOK) prints and Cancel (IDCANCEL)
// does not.
class HostPrintJob final : public Tarn::ComObject<HostPrintJob, Host::IVelaPrintJob> {
public:
  // A new job with one reference, owned by the caller.
  static HostPrintJob* Create() { return new HostPrintJob; }

  // S_OK printed, S_FALSE cancelled in the preview; a failure when there is no default printer,
  // the printer cannot be opened or a page fails.
  HRESULT STDMETHODCALLTYPE Print(Host::IVelaPrintout* printout,
                                  std::int32_t mode) noexcept override;

  // The environment variable that sends the output into a file instead of to the printer.
  static constexpr const wchar_t* kFileVariable = L"VELA_PRINT_FILE";
  // The page rectangle of a printer with the given printable size and resolution: half an inch
  // in from the top and the sides, three quarters of its width high (less when the page is
  // shorter).
  static RECT PageRectangle(SIZE printable, SIZE dotsPerInch) noexcept;

private:
  using Base = Tarn::ComObject<HostPrintJob, Host::IVelaPrintJob>;
  friend Base;
  HostPrintJob() = default;
  ~HostPrintJob() = default;
};

} // namespace Vela

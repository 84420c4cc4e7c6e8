#pragma once
#include <windows.h>

#include <cstdint>

#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalibration {

// The calculation class's settings entry (its slot 10), once the arguments are checked:
// `document` and `out` are not null. Prepares a copy of `existing` (or fresh settings for
// `channel`), refuses a channel on which the host's units conversion is active (E_FAIL, after
// telling the user), cuts a selection over several blocks down to its first block (with a
// warning), and runs the main calibration dialog on the copy. OK: `out` receives the edited
// settings object, the document is told of the new display range, S_OK. Cancel (any other
// answer of the dialog): S_FALSE with `out` untouched. A dialog that cannot be made gives
// E_UNEXPECTED with nothing returned and nothing sent. The settings object is released on every
// path that does not return it.
[[nodiscard]] HRESULT EditCalibrationSettings(HWND parent, IUnknown* document, std::int32_t channel,
                                              Host::IPersistObject* existing,
                                              Host::IPersistObject** out) noexcept;

// What the entry runs as the dialog: IDOK when the user confirmed (`settings` then holds the
// result), IDCANCEL, or -1 when the dialog could not be made. The module installs the main
// calibration dialog at start-up; tests install stand-ins to drive the entry without windows.
// Without one the entry does nothing and gives E_NOTIMPL.
using CalibrationDialogRunner = INT_PTR (*)(HWND owner, std::int32_t channel,
                                            Host::IUnitCollection* units,
                                            Host::IHostDocument* document,
                                            Host::IHostSelection* selection,
                                            CalibrationSettings& settings) noexcept;
// Installs the dialog the entry runs (null: none); returns the previous one.
CalibrationDialogRunner SetCalibrationDialogRunner(CalibrationDialogRunner runner) noexcept;

} // namespace MPCalibration

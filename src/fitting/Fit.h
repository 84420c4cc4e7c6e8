#pragma once
#include <locale>
#include <string>

#include "fitting/FitRecord.h"

namespace MPCalibration {

// True when both point vectors hold at least the minimum number of entries for the fit type.
bool HasEnoughPoints(const FitRecord& record);

// Fits `coefficients` (and `fitError`, R²) for `fitType` from the points and `forceOrigin`,
// then recomputes `sumSquaredError`, on success and failure alike.
bool Fit(FitRecord& record);

// The equation line ("y = 0.5x + 3") and the fit-error line ("SSE = 0.0123   R² = 0.999876"), the
// numbers in `numberLocale`: by default the global locale, whose separators are the user's, for
// text shown to the user; the classic locale for text a program reads.
std::wstring FormatEquation(const FitRecord& record,
                            const std::locale& numberLocale = std::locale());
std::wstring FormatFitError(const FitRecord& record,
                            const std::locale& numberLocale = std::locale());

} // namespace MPCalibration

#pragma once
#include <cstdint>
#include <locale>
#include <string>

#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalibration {

// String-table texts of the curve window's refusals, shown with the caption and the stop icon.
inline constexpr std::uint32_t kRefitCaptionId = 250;        // "Multipoint Calibration"
inline constexpr std::uint32_t kFitFailedMessageId = 273;    // the fit did not converge
inline constexpr std::uint32_t kTooFewPointsMessageId = 275; // too few points for the type

// What started a refit of the curve window: a new fit type in the combo, a click on "Force
// origin", or OK.
enum class RefitTrigger { FitTypeChosen, ForceOriginClicked, Closing };

struct RefitOutcome {
  // The working copy holds the new fit: the graph takes it and the curve is rebuilt.
  bool refitted = false;
  // 0, or the text to show; the working copy then keeps its previous fit, and the controls go
  // back to it.
  std::uint32_t messageId = 0;
};

// Refits the working copy for the type chosen and the force-origin box. The box counts only for
// a polynomial type (disabled, it may still be checked), so a forced Linear switched to
// Exponential reaches the exponential. Points too few for the type are refused on a type change
// and on OK; a force-origin click goes straight to the fit. The working copy changes only on a
// successful fit.
RefitOutcome Refit(CalibrationSettings& work, std::int32_t chosenFitType, bool forceOriginChecked,
                   RefitTrigger trigger);

// What the curve window's controls show for a fit; the numbers in `numberLocale`.
struct CurveViewTexts {
  std::int32_t fitType = 0; // the combo's selection
  bool forceOriginEnabled = false;
  bool forceOriginChecked = false;
  std::wstring fitTypeText; // the long fit name
  std::wstring equation;
  std::wstring fitError; // empty for point to point
};
CurveViewTexts DescribeCurveView(const CalibrationSettings& work,
                                 const std::locale& numberLocale = std::locale());

} // namespace MPCalibration

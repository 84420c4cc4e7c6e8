#include "multipointcalibration/CurveRefit.h"

#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"

namespace MPCalibration {

RefitOutcome Refit(CalibrationSettings& work, std::int32_t chosenFitType, bool forceOriginChecked,
                   RefitTrigger trigger) {
  CalibrationSettings candidate = work;
  candidate.fitType = chosenFitType;
  candidate.forceOrigin = ForceOriginApplies(chosenFitType, forceOriginChecked);
  if (trigger != RefitTrigger::ForceOriginClicked && !HasEnoughPoints(candidate))
    return {false, kTooFewPointsMessageId};
  if (!Fit(candidate))
    return {false, kFitFailedMessageId};
  work = std::move(candidate);
  return {true, 0};
}

CurveViewTexts DescribeCurveView(const CalibrationSettings& work, const std::locale& numberLocale) {
  CurveViewTexts view;
  view.fitType = work.fitType;
  view.forceOriginEnabled = IsPolynomialFitType(work.fitType);
  view.forceOriginChecked = ForceOriginApplies(work.fitType, work.forceOrigin);
  view.fitTypeText = Tarn::ModuleString(FitTypeLongNameId(work.fitType));
  view.equation = FormatEquation(work, numberLocale);
  view.fitError = FormatFitError(work, numberLocale);
  return view;
}

} // namespace MPCalibration

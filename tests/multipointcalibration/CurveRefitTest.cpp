#include "multipointcalibration/CurveRefit.h"

#include "../units/NumberLocales.h"

#include "fitting/Fit.h"
#include "fitting/FitType.h"

#include <cmath>

#include <gtest/gtest.h>

namespace MPCalibration {
namespace {

// Five points of y = 2 exp(x), fitted as a line forced through the origin.
CalibrationSettings ForcedLinearOnExponentialPoints() {
  CalibrationSettings s;
  s.rawValues = {0, 0.5, 1, 1.5, 2};
  for (double x : s.rawValues)
    s.calibratedValues.push_back(2 * std::exp(x));
  s.fitType = Linear;
  s.forceOrigin = true;
  EXPECT_TRUE(Fit(s));
  return s;
}

TEST(CurveRefit, DecisionsOnTypeChangesClicksAndOk) {
  struct Case {
    const char* name;
    std::int32_t chosen;
    bool checked;
    RefitTrigger trigger;
    bool refitted;
    std::uint32_t message;
    std::int32_t fitType;
    bool forceOrigin;
  };
  const Case cases[] = {
      {"five points are too few for a quintic", Quintic, true, RefitTrigger::FitTypeChosen, false,
       kTooFewPointsMessageId, Linear, true},
      {"and OK refuses it too", Quintic, true, RefitTrigger::Closing, false, kTooFewPointsMessageId,
       Linear, true},
      {"enough for a quartic, still forced", Quartic, true, RefitTrigger::FitTypeChosen, true, 0,
       Quartic, true},
      {"the checked box does not force an exponential", Exponential, true,
       RefitTrigger::FitTypeChosen, true, 0, Exponential, false},
      {"nor a table", PointToPoint, true, RefitTrigger::FitTypeChosen, true, 0, PointToPoint,
       false},
      {"unchecking refits the line", Linear, false, RefitTrigger::ForceOriginClicked, true, 0,
       Linear, false},
      {"OK with the current choice", Linear, true, RefitTrigger::Closing, true, 0, Linear, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CalibrationSettings work = ForcedLinearOnExponentialPoints();
    const CalibrationSettings before = work;
    const RefitOutcome outcome = Refit(work, c.chosen, c.checked, c.trigger);
    EXPECT_EQ(outcome.refitted, c.refitted);
    EXPECT_EQ(outcome.messageId, c.message);
    EXPECT_EQ(work.fitType, c.fitType);
    EXPECT_EQ(work.forceOrigin, c.forceOrigin);
    if (!c.refitted) {
      EXPECT_EQ(work.coefficients, before.coefficients);
    }
  }
}

TEST(CurveRefit, AForcedLinearSwitchedToExponentialReachesTheExponential) {
  CalibrationSettings work = ForcedLinearOnExponentialPoints();
  ASSERT_EQ(work.coefficients[0], 0.0);
  ASSERT_TRUE(Refit(work, Exponential, true, RefitTrigger::FitTypeChosen).refitted);
  ASSERT_EQ(work.coefficients.size(), 2u);
  EXPECT_NEAR(work.coefficients[0], 1.0, 1e-6); // rate
  EXPECT_NEAR(work.coefficients[1], 2.0, 1e-6); // amplitude, not held at 0
  EXPECT_LT(work.sumSquaredError, 1e-9);
}

TEST(CurveRefit, AFailedFitKeepsThePreviousOne) {
  // A horizontal line cannot be fitted as a line; the point-to-point table stays.
  CalibrationSettings work;
  work.rawValues = {0, 1, 2};
  work.calibratedValues = {5, 5, 5};
  work.fitType = PointToPoint;
  ASSERT_TRUE(Fit(work));
  const CalibrationSettings before = work;
  const RefitOutcome outcome = Refit(work, Linear, false, RefitTrigger::FitTypeChosen);
  EXPECT_FALSE(outcome.refitted);
  EXPECT_EQ(outcome.messageId, kFitFailedMessageId);
  EXPECT_EQ(work.fitType, PointToPoint);
  EXPECT_EQ(work.coefficients, before.coefficients);
}

TEST(CurveRefit, ViewTextsInTheUsersNumberFormat) {
  const Tarn::testing::GlobalLocaleGuard comma(Tarn::testing::CommaDecimalLocale());
  CalibrationSettings s;
  s.fitType = Linear;
  s.coefficients = {3, 0.5};
  s.sumSquaredError = 0.0123;
  s.fitError = 0.99987634;
  struct Case {
    std::int32_t type;
    bool forceOrigin;
    bool enabled, checked;
    const wchar_t *fitTypeText, *equation, *fitError;
  };
  const Case cases[] = {
      {Linear, false, true, false, L"Linear", L"y = 0,5x + 3",
       L"SSE = 0,0123   R\u00B2 = 0,999876"},
      {Linear, true, true, true, L"Linear", L"y = 0,5x + 3", L"SSE = 0,0123"},
      {Exponential, true, false, false, L"Exponential", L"y = 0,5 exp(3x)",
       L"SSE = 0,0123   R\u00B2 = 0,999876"},
      {PointToPoint, false, false, false, L"Point to Point",
       L"y = Linear interpolation between calibration points", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    s.fitType = c.type;
    s.forceOrigin = c.forceOrigin;
    const CurveViewTexts view = DescribeCurveView(s);
    EXPECT_EQ(view.fitType, c.type);
    EXPECT_EQ(view.forceOriginEnabled, c.enabled);
    EXPECT_EQ(view.forceOriginChecked, c.checked);
    EXPECT_EQ(view.fitTypeText, c.fitTypeText);
    EXPECT_EQ(view.equation, c.equation);
    EXPECT_EQ(view.fitError, c.fitError);
  }
  s.fitType = Linear;
  EXPECT_EQ(DescribeCurveView(s, std::locale::classic()).equation, L"y = 0.5x + 3");
}

} // namespace
} // namespace MPCalibration

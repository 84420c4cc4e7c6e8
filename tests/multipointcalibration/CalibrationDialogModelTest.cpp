#include "multipointcalibration/CalibrationDialogModel.h"

#include "../units/NumberLocales.h"

#include "fitting/FitType.h"
#include "units/KnownUnits.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace MPCalibration {
namespace {

namespace Text = CalibrationDialogText;

constexpr std::int32_t kNoPrefix = 1;
constexpr std::int32_t kMilli = 7;
constexpr std::int32_t kKilo = 9;

Tarn::UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name) {
  Tarn::UnitInfo u;
  u.prefixIndex = prefixIndex;
  u.name = name;
  return u;
}

// The whole-unit set the dialog builds: the known units and those of the unit list.
std::set<std::wstring> ListedUnits() {
  std::set<std::wstring> whole = Tarn::KnownUnits();
  whole.insert(L"psi");
  return whole;
}

CalibrationDialogModel MakeModel(const Tarn::UnitInfo& raw, const Tarn::UnitInfo& work,
                                 const std::locale& locale = std::locale::classic()) {
  CalibrationSettings s;
  s.unit = work;
  return CalibrationDialogModel(s, raw, ListedUnits(), locale);
}

DialogControls Controls(std::int32_t fitType, bool calculated, const Tarn::UnitInfo& unit,
                        const wchar_t* decimals = L"3") {
  return {fitType, calculated, decimals, unit};
}

void TypeRows(CalibrationDialogModel& m, const std::vector<std::wstring>& raw,
              const std::vector<std::wstring>& cal) {
  for (std::size_t i = 0; i < raw.size(); ++i) {
    m.SetRawText(static_cast<int>(i), raw[i]);
    m.SetCalText(static_cast<int>(i), cal[i]);
  }
}

// Leaving a raw field rewrites it in the channel's unit; the value stored is unprefixed.
TEST(CalibrationDialogModel, RawFieldsAreRewrittenInTheChannelsUnit) {
  struct Case {
    const char* name;
    Tarn::UnitInfo raw;
    const wchar_t* typed;
    const wchar_t* shown;
    std::vector<double> stored;
  };
  const Case cases[] = {
      {"bare number in a millivolt channel", Unit(kMilli, L"V"), L"5", L"5 mV", {0.005}},
      {"volts in a millivolt channel", Unit(kMilli, L"V"), L"0.0025 V", L"2.5 mV", {0.0025}},
      {"millivolts in a volt channel", Unit(kNoPrefix, L"V"), L"5 mV", L"0.005 V", {0.005}},
      {"micro written as u", Unit(kMilli, L"V"), L"250 uV", L"0.25 mV", {0.00025}},
      {"six significant digits", Unit(kNoPrefix, L"V"), L"1.23456789", L"1.23457 V", {1.23457}},
      {"unparsable text stays as typed", Unit(kMilli, L"V"), L"abc", L"abc", {}},
      {"empty stays empty", Unit(kMilli, L"V"), L"", L"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto m = MakeModel(c.raw, Unit(kNoPrefix, L"mmHg"));
    TypeRows(m, {L"", L"", L"", L"", c.typed}, {L"", L"", L"", L"", L"10"});
    EXPECT_EQ(m.ReformatRawField(4), c.shown);
    EXPECT_EQ(m.RawText(4), c.shown);
    (void)m.CollectSettings(Controls(Linear, false, Unit(kNoPrefix, L"mmHg")));
    ASSERT_EQ(m.Work().rawValues.size(), c.stored.size());
    for (std::size_t i = 0; i < c.stored.size(); ++i)
      EXPECT_DOUBLE_EQ(m.Work().rawValues[i], c.stored[i]);
  }
}

// Repeats are judged on the values the collection keeps, with the field's unit applied to bare
// numbers; shown only when calibrated output was asked for.
TEST(CalibrationDialogModel, CollectionSortsAndJudgesRepeatsOnCollectedValues) {
  struct Case {
    const char* name;
    Tarn::UnitInfo raw;
    std::int32_t fitType;
    std::vector<std::wstring> rawTexts, calTexts;
    std::uint32_t message; // 0: collected
    std::vector<double> rawValues, calibratedValues;
  };
  const Tarn::UnitInfo mV = Unit(kMilli, L"V");
  const Tarn::UnitInfo V = Unit(kNoPrefix, L"V");
  const Case cases[] = {
      {"5 and 5 mV in a millivolt channel",
       mV,
       Linear,
       {L"5", L"5 mV", L"7"},
       {L"1", L"2", L"3"},
       Text::kRepeatedRaw,
       {0.005, 0.007},
       {2, 3}},
      {"0.005 V and 5 in a millivolt channel",
       mV,
       Linear,
       {L"0.005 V", L"5"},
       {L"1", L"2"},
       Text::kRepeatedRaw,
       {0.005},
       {2}},
      {"5 and 5000 mV in a millivolt channel",
       mV,
       Linear,
       {L"5", L"5000 mV"},
       {L"1", L"2"},
       0,
       {0.005, 5},
       {1, 2}},
      {"5 and 5 mV in a volt channel",
       V,
       Linear,
       {L"5", L"5 mV"},
       {L"1", L"2"},
       0,
       {0.005, 5},
       {2, 1}},
      {"rows sorted by raw value",
       V,
       Quadratic,
       {L"3", L"1", L"2"},
       {L"30", L"10", L"20"},
       0,
       {1, 2, 3},
       {10, 20, 30}},
      {"half-filled and unparsable rows skipped",
       V,
       Linear,
       {L"1", L"2", L"x", L""},
       {L"10", L"", L"5", L"7"},
       Text::kTooFewPoints,
       {1},
       {10}},
      {"one point is too few for a line",
       V,
       Linear,
       {L"1"},
       {L"10"},
       Text::kTooFewPoints,
       {1},
       {10}},
      {"two points are too few for a cubic",
       V,
       Cubic,
       {L"1", L"2"},
       {L"1", L"2"},
       Text::kTooFewPoints,
       {1, 2},
       {1, 2}},
  };
  for (const Case& c : cases) {
    for (const bool calculated : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (calculated ? " (Calculated)" : " (Raw)"));
      auto m = MakeModel(c.raw, Unit(kNoPrefix, L"mmHg"));
      TypeRows(m, c.rawTexts, c.calTexts);
      const DialogOutcome outcome =
          m.CollectSettings(Controls(c.fitType, calculated, Unit(kNoPrefix, L"mmHg")));
      EXPECT_EQ(outcome.ok, c.message == 0);
      EXPECT_EQ(outcome.messageId, c.message);
      EXPECT_EQ(outcome.showMessage, c.message != 0 && calculated);
      EXPECT_EQ(m.Work().rawValues, c.rawValues);
      EXPECT_EQ(m.Work().calibratedValues, c.calibratedValues);
      EXPECT_EQ(m.ValidatePoints().messageId, c.message);
    }
  }
}

// Stored points written into the rows read back to the same values: prefixed units, units whose
// first letter is a prefix letter (a listed "psi", a known "mmHg"), and no unit at all.
TEST(CalibrationDialogModel, RowsFilledFromTheRecordReadBackUnchanged) {
  struct Case {
    const char* name;
    Tarn::UnitInfo raw, work;
    std::vector<double> x, y;
    std::vector<std::wstring> rawTexts, calTexts;
  };
  const Case cases[] = {
      {"kPa from a millivolt channel",
       Unit(kMilli, L"V"),
       Unit(kKilo, L"Pa"),
       {0.0005, 0.25},
       {0, 150.5},
       {L"0.5 mV", L"250 mV"},
       {L"0 kPa", L"150.5 kPa"}},
      {"psi",
       Unit(kNoPrefix, L"V"),
       Unit(kNoPrefix, L"psi"),
       {0.5, 1.5},
       {10, 30},
       {L"0.5 V", L"1.5 V"},
       {L"10 psi", L"30 psi"}},
      {"mmHg",
       Unit(kNoPrefix, L"V"),
       Unit(kNoPrefix, L"mmHg"),
       {1, 2},
       {100, 2000},
       {L"1 V", L"2 V"},
       {L"100 mmHg", L"2000 mmHg"}},
      {"no unit",
       Unit(kNoPrefix, L""),
       Unit(kNoPrefix, L""),
       {1, 2},
       {3, 4},
       {L"1", L"2"},
       {L"3", L"4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CalibrationSettings s;
    s.unit = c.work;
    s.rawValues = c.x;
    s.calibratedValues = c.y;
    CalibrationDialogModel m(s, c.raw, ListedUnits(), std::locale::classic());
    m.SetRawText(5, L"left over");
    m.FillRows();
    for (int row = 0; row < kCalibrationRows; ++row) {
      const auto i = static_cast<std::size_t>(row);
      EXPECT_EQ(m.RawText(row), i < c.rawTexts.size() ? c.rawTexts[i] : L"");
      EXPECT_EQ(m.CalText(row), i < c.calTexts.size() ? c.calTexts[i] : L"");
    }
    ASSERT_TRUE(m.CollectSettings(Controls(Linear, true, c.work)).ok);
    EXPECT_EQ(m.Work().rawValues, c.x);
    EXPECT_EQ(m.Work().calibratedValues, c.y);
  }
}

// Calibrated fields are stored in the working unit with its prefix (kPa figures stay kPa
// figures); a unit token is read whole where it names the field's, a known or a listed unit.
TEST(CalibrationDialogModel, CalibratedFieldsAreReadInThePrefixedWorkingUnit) {
  struct Case {
    const char* name;
    std::set<std::wstring> whole;
    Tarn::UnitInfo work;
    const wchar_t* typed;
    double stored;
  };
  const std::set<std::wstring> none;
  const Case cases[] = {
      {"bare number in a kPa field", none, Unit(kKilo, L"Pa"), L"5", 5},
      {"kPa", none, Unit(kKilo, L"Pa"), L"5 kPa", 5},
      {"Pa", none, Unit(kKilo, L"Pa"), L"5000 Pa", 5},
      {"MPa", none, Unit(kKilo, L"Pa"), L"0.005 MPa", 5},
      // The field's own unit is whole even when the list does not hold it.
      {"psi field, psi unlisted", none, Unit(kNoPrefix, L"psi"), L"30 psi", 30},
      {"listed psi in a kPa field", {L"psi"}, Unit(kKilo, L"Pa"), L"30 psi", 30e-3},
      {"unlisted psi is pico-si", none, Unit(kKilo, L"Pa"), L"30 psi", 30e-15},
      // A listed "mPa" does not turn millipascals into a unit of their own in a Pa field.
      {"listed mPa in a Pa field", {L"mPa"}, Unit(kNoPrefix, L"Pa"), L"30 mPa", 0.03},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CalibrationSettings s;
    s.unit = c.work;
    CalibrationDialogModel m(s, Unit(kNoPrefix, L"V"), c.whole, std::locale::classic());
    TypeRows(m, {L"1", L"2"}, {c.typed, L"0"});
    ASSERT_TRUE(m.CollectSettings(Controls(Linear, false, c.work)).ok);
    EXPECT_DOUBLE_EQ(m.Work().calibratedValues[0], c.stored);
  }
}

// A new unit converts the typed numbers only through their prefixes: 100 mmHg is 0.1 kPa at the
// next collection, a bare 200 is 200 kPa; the texts and the stored numbers stay until then.
TEST(CalibrationDialogModel, UnitChangeConvertsOnlyThroughPrefixesAtTheNextCollection) {
  const Tarn::UnitInfo mmHg = Unit(kNoPrefix, L"mmHg");
  const Tarn::UnitInfo kPa = Unit(kKilo, L"Pa");
  auto m = MakeModel(Unit(kNoPrefix, L"V"), mmHg);
  TypeRows(m, {L"1", L"2"}, {L"100 mmHg", L"200"});
  ASSERT_TRUE(m.CollectSettings(Controls(Linear, true, mmHg)).ok);
  EXPECT_EQ(m.Work().calibratedValues, (std::vector<double>{100, 200}));

  EXPECT_EQ(m.OnUnitChanged(kPa), L"kPa");
  EXPECT_EQ(m.CalText(0), L"100 mmHg");
  EXPECT_EQ(m.Work().calibratedValues, (std::vector<double>{100, 200}));

  ASSERT_TRUE(m.CollectSettings(Controls(Linear, true, kPa)).ok);
  EXPECT_EQ(m.Work().calibratedValues, (std::vector<double>{0.1, 200}));
}

TEST(CalibrationDialogModel, ScaleLabelFollowsTheView) {
  auto m = MakeModel(Unit(kMilli, L"V"), Unit(kNoPrefix, L"mmHg"));
  m.SetRawRange(5, -5);
  EXPECT_EQ(m.OnUnitChanged(Unit(kKilo, L"Pa")), L"mV");
  TypeRows(m, {L"1", L"2"}, {L"1", L"2"});
  ASSERT_FALSE(m.CollectSettings(Controls(Cubic, true, Unit(kKilo, L"Pa"), L"4")).ok);
  const ControlValues calculated = m.Controls();
  EXPECT_EQ(calculated.unit, Unit(kKilo, L"Pa"));
  EXPECT_EQ(calculated.scaleUnitLabel, L"kPa");
  EXPECT_TRUE(calculated.showCalculated);
  EXPECT_EQ(calculated.fitType, Cubic);
  EXPECT_EQ(calculated.decimalPlaces, 4);
  m.EnterRawView();
  const ControlValues raw = m.Controls();
  EXPECT_EQ(raw.scaleUnitLabel, L"mV");
  EXPECT_FALSE(raw.showCalculated);
  EXPECT_EQ(raw.rangeTop, 5);
  EXPECT_EQ(raw.rangeBottom, -5);
}

TEST(CalibrationDialogModel, TakeValueWritesTheMeanAndMovesTheFocus) {
  struct Case {
    const char* name;
    bool calculated;
    int row;
    std::optional<double> mean;
    bool written;
    FieldRef target;
    const wchar_t* text;
    FieldRef focus;
  };
  using enum FieldKind;
  const Case cases[] = {
      {"Raw view: raw field, then its calibrated field",
       false,
       3,
       1.25,
       true,
       {Raw, 3},
       L"1.25 mV",
       {Calibrated, 3}},
      {"Calculated view: calibrated field, then the next raw field",
       true,
       3,
       50,
       true,
       {Calibrated, 3},
       L"50 kPa",
       {Raw, 4}},
      {"the last row wraps to row 0", true, 11, 0.5, true, {Calibrated, 11}, L"0.5 kPa", {Raw, 0}},
      {"a pane without samples writes nothing", false, 2, std::nullopt, false, {}, L"", {}},
      {"no finite mean writes nothing",
       true,
       2,
       std::numeric_limits<double>::quiet_NaN(),
       false,
       {},
       L"",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto m = MakeModel(Unit(kMilli, L"V"), Unit(kKilo, L"Pa"));
    m.MutableWork().showCalculated = c.calculated;
    m.SetRawText(c.row, L"before");
    m.SetCalText(c.row, L"before");
    const TakeOutcome outcome = m.TakeValue(c.row, c.mean);
    EXPECT_EQ(outcome.written, c.written);
    EXPECT_EQ(outcome.target, c.target);
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(outcome.focus, c.focus);
    EXPECT_EQ(m.RawText(c.row), c.written && !c.calculated ? c.text : L"before");
    EXPECT_EQ(m.CalText(c.row), c.written && c.calculated ? c.text : L"before");
    // The pane shows millivolts and kilopascals; the fields hold volts and pascals.
    if (c.written) {
      EXPECT_DOUBLE_EQ(Tarn::QuantityValue(c.calculated ? m.ReadCal(c.row) : m.ReadRaw(c.row)),
                       *c.mean * (c.calculated ? 1e3 : 1e-3));
    }
  }
}

TEST(CalibrationDialogModel, DoubleClickTakesIntoTheRowAfterTheFocus) {
  struct Case {
    FieldRef focus;
    int row;
  };
  using enum FieldKind;
  const Case cases[] = {
      {{Raw, 0}, 0},         {{Raw, 11}, 11}, {{Calibrated, 4}, 5},
      {{Calibrated, 11}, 0}, {{Other, 7}, 0}, {{Raw, 12}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CalibrationDialogModel::RowForTakeAtFocus(c.focus), c.row)
        << static_cast<int>(c.focus.kind) << " " << c.focus.row;
}

TEST(CalibrationDialogModel, DecimalPlacesAreClampedToTheSpinRange) {
  struct Case {
    const wchar_t* text;
    std::int32_t value;
    std::optional<std::wstring> replacement;
  };
  const Case cases[] = {
      {L"9", 6, L"6"},         {L"7", 6, L"6"},           {L"-1", 0, L"0"},
      {L"6", 6, std::nullopt}, {L"0", 0, std::nullopt},   {L"2x", 2, std::nullopt},
      {L"", 0, std::nullopt},  {L"99999999999", 6, L"6"},
  };
  for (const Case& c : cases) {
    auto m = MakeModel(Unit(kNoPrefix, L"V"), Unit(kNoPrefix, L"mmHg"));
    const DecimalPlacesOutcome outcome = m.ClampDecimalPlaces(c.text);
    EXPECT_EQ(outcome.value, c.value) << c.text;
    EXPECT_EQ(outcome.replacement, c.replacement) << c.text;
    EXPECT_EQ(m.Work().decimalPlaces, c.value) << c.text;
  }
}

TEST(CalibrationDialogModel, FitFailureIsShownInCalculatedViewAndDisablesTheButtons) {
  const Tarn::UnitInfo unit = Unit(kNoPrefix, L"mmHg");
  for (const bool calculated : {false, true}) {
    auto m = MakeModel(Unit(kNoPrefix, L"V"), unit);
    EXPECT_TRUE(m.FitEnabled());             // as the template has them, until a fit fails
    TypeRows(m, {L"1", L"2"}, {L"7", L"7"}); // a level line does not fit
    ASSERT_TRUE(m.CollectSettings(Controls(Linear, calculated, unit)).ok);
    const DialogOutcome failed = m.FitAndEnable();
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.messageId, Text::kFitFailed);
    EXPECT_EQ(failed.showMessage, calculated);
    EXPECT_FALSE(m.FitEnabled());

    m.SetCalText(1, L"8");
    ASSERT_TRUE(m.CollectSettings(Controls(Linear, calculated, unit)).ok);
    EXPECT_TRUE(m.FitAndEnable().ok);
    EXPECT_TRUE(m.FitEnabled());
  }
}

// The force-origin flag a polynomial left in the record does not hold an exponential's amplitude
// at 0, and stays in the record for the next polynomial.
TEST(CalibrationDialogModel, ForceOriginLeftFromAPolynomialReachesTheExponential) {
  const Tarn::UnitInfo unit = Unit(kNoPrefix, L"mmHg");
  auto m = MakeModel(Unit(kNoPrefix, L"V"), unit);
  m.MutableWork().forceOrigin = true;
  const double e = std::numbers::e;
  TypeRows(m, {L"0", L"1", L"2"},
           {L"2", std::to_wstring(2 * e) + L" mmHg", std::to_wstring(2 * e * e)});
  ASSERT_TRUE(m.CollectSettings(Controls(Exponential, true, unit)).ok);
  ASSERT_TRUE(m.FitAndEnable().ok);
  ASSERT_EQ(m.Work().coefficients.size(), 2u);
  EXPECT_NEAR(m.Work().coefficients[0], 1.0, 1e-5);
  EXPECT_NEAR(m.Work().coefficients[1], 2.0, 1e-5);
  EXPECT_TRUE(m.Work().forceOrigin);

  ASSERT_TRUE(m.CollectSettings(Controls(Quadratic, true, unit)).ok);
  ASSERT_TRUE(m.FitAndEnable().ok);
  EXPECT_EQ(m.Work().coefficients[0], 0.0);
}

TEST(CalibrationDialogModel, NumbersUseTheUsersDecimalComma) {
  auto m = MakeModel(Unit(kMilli, L"V"), Unit(kKilo, L"Pa"), Tarn::testing::CommaDecimalLocale());
  m.SetRawText(0, L"2,5");
  EXPECT_EQ(m.ReformatRawField(0), L"2,5 mV");
  m.SetCalText(0, L"0,5 kPa");
  EXPECT_EQ(m.TakeValue(1, 7.75).text, L"7,75 mV");
  m.SetCalText(1, L"12,25");
  ASSERT_TRUE(m.CollectSettings(Controls(Linear, true, Unit(kKilo, L"Pa"))).ok);
  EXPECT_EQ(m.Work().rawValues, (std::vector<double>{0.0025, 0.00775}));
  EXPECT_EQ(m.Work().calibratedValues, (std::vector<double>{0.5, 12.25}));
  m.FillRows();
  EXPECT_EQ(m.RawText(1), L"7,75 mV");
  EXPECT_EQ(m.CalText(1), L"12,25 kPa");
}

TEST(CalibrationDialogModel, DisplayRangeIsTheDataRangeWidenedByAQuarter) {
  struct Case {
    const char* name;
    std::vector<float> samples;
    std::vector<double> points; // calibrated values of the record
    double top, bottom;
  };
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr double largest = std::numeric_limits<double>::max();
  const Case cases[] = {
      {"samples", {1, 9, 5}, {100, 200}, 10, 0},
      {"not finite samples skipped",
       {nan, 3, 1, std::numeric_limits<float>::infinity()},
       {},
       3.25,
       0.75},
      {"no samples: the points", {}, {100, 200, 300}, 325, 75},
      {"neither: the unknown raw range stays finite", {}, {}, largest, -largest},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto m = MakeModel(Unit(kNoPrefix, L"V"), Unit(kNoPrefix, L"mmHg"));
    m.SetRawRange(largest, -largest);
    m.MutableWork().calibratedValues = c.points;
    m.MutableWork().rawValues.assign(c.points.size(), 0.0);
    m.SetCalculatedViewRange(c.samples);
    EXPECT_DOUBLE_EQ(m.Work().rangeTop, c.top);
    EXPECT_DOUBLE_EQ(m.Work().rangeBottom, c.bottom);
  }
  auto m = MakeModel(Unit(kNoPrefix, L"V"), Unit(kNoPrefix, L"mmHg"));
  m.SetDisplayRanges(2, 10); // either order
  EXPECT_DOUBLE_EQ(m.Work().rangeTop, 11);
  EXPECT_DOUBLE_EQ(m.Work().rangeBottom, 1);
}

// OK from the Raw view stores the calibrated range of the selection (or of the points), not the
// raw channel's range; from the Calculated view the range last computed stays.
TEST(CalibrationDialogModel, OkStoresACalibratedDisplayRange) {
  struct Case {
    const char* name;
    bool fromRawView;
    std::vector<float> rawSamples;
    double top, bottom;
  };
  const Case cases[] = {
      {"Raw view with a selection", true, {1.0f, 1.5f, 1.25f}, 56.25, -6.25},
      {"Raw view without a selection", true, {}, 112.5, -12.5},
      {"Calculated view", false, {1.0f}, 70, 30},
  };
  const Tarn::UnitInfo kPa = Unit(kKilo, L"Pa");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto m = MakeModel(Unit(kNoPrefix, L"V"), kPa);
    m.SetRawRange(5, 0);
    if (!c.fromRawView) {
      m.MutableWork().showCalculated = true;
      m.SetDisplayRanges(66, 34);
    }
    TypeRows(m, {L"1", L"2"}, {L"0", L"100"});
    const DialogOutcome outcome = m.CanClose(Controls(Linear, !c.fromRawView, kPa), c.rawSamples);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(m.Work().showCalculated);
    EXPECT_DOUBLE_EQ(m.Work().rangeTop, c.top);
    EXPECT_DOUBLE_EQ(m.Work().rangeBottom, c.bottom);
  }
}

// The range is that of the samples the channel computes, with its six-digit coefficients.
TEST(CalibrationDialogModel, OkRangeUsesTheChannelsCoefficients) {
  const Tarn::UnitInfo unit = Unit(kNoPrefix, L"mmHg");
  auto m = MakeModel(Unit(kNoPrefix, L"V"), unit);
  TypeRows(m, {L"0", L"1"}, {L"0", L"1.23456789"});
  const std::vector<float> raw = {1.0f};
  ASSERT_TRUE(m.CanClose(Controls(Linear, false, unit), raw).ok);
  EXPECT_EQ(m.Work().rangeTop, static_cast<double>(static_cast<float>(1.23457)));
}

TEST(CalibrationDialogModel, OkRefusesWhatCalculatedWouldRefuse) {
  struct Case {
    const char* name;
    std::vector<std::wstring> rawTexts, calTexts;
    std::uint32_t message;
  };
  const Case cases[] = {
      {"one point with Linear", {L"1"}, {L"10"}, Text::kTooFewPoints},
      {"a repeated raw value", {L"1", L"1 V", L"2"}, {L"1", L"2", L"3"}, Text::kRepeatedRaw},
      {"a level line", {L"1", L"2"}, {L"3", L"3"}, Text::kFitFailed},
  };
  const Tarn::UnitInfo unit = Unit(kNoPrefix, L"mmHg");
  for (const Case& c : cases) {
    auto m = MakeModel(Unit(kNoPrefix, L"V"), unit);
    TypeRows(m, c.rawTexts, c.calTexts);
    const DialogOutcome outcome = m.CanClose(Controls(Linear, false, unit), {});
    EXPECT_FALSE(outcome.ok) << c.name;
    EXPECT_EQ(outcome.messageId, c.message) << c.name;
    EXPECT_TRUE(outcome.showMessage) << c.name;
    m.EnterRawView();
    EXPECT_FALSE(m.Work().showCalculated) << c.name;
  }
}

TEST(CalibrationDialogModel, CaptionCountsChannelsFromOne) {
  EXPECT_EQ(CalibrationDialogModel::Caption(0), L"Multipoint Calibration for Channel 1");
  EXPECT_EQ(CalibrationDialogModel::Caption(15), L"Multipoint Calibration for Channel 16");
}

} // namespace
} // namespace MPCalibration

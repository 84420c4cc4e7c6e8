#include "multipointcalibration/CalibrationDialogModel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "fitting/Fit.h"
#include "foundation/ModuleStrings.h"
#include "multipointcalibration/BlockCalibrator.h"
#include "multipointcalibration/ParameterText.h"
#include "units/UnitPrefixes.h"

namespace MPCalibration {
namespace {

std::size_t CheckedRow(int row) {
  if (row < 0 || row >= kCalibrationRows)
    throw std::out_of_range("calibration row");
  return static_cast<std::size_t>(row);
}

// The C library's integer conversion: leading blanks and a sign, then digits; anything else
// reads as 0. Out-of-range values saturate.
std::int32_t CInteger(const std::wstring& text) {
  const long value = std::wcstol(text.c_str(), nullptr, 10);
  return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// The tokens a field reads whole: the given ones and the field's own unit, but never a prefix
// letter followed by the field's unit, so that "5 mV" in a volt field stays 5 millivolts even
// when the unit list holds a unit named "mV".
std::set<std::wstring> FieldWholeUnits(const std::set<std::wstring>& base,
                                       const std::wstring& fieldUnit) {
  std::set<std::wstring> whole = base;
  if (fieldUnit.empty())
    return whole;
  for (std::int32_t power = -24; power <= 24; power += 3) {
    if (const wchar_t letter = Tarn::PrefixLetterForPower(power))
      whole.erase(letter + fieldUnit);
  }
  whole.erase(L'u' + fieldUnit);
  whole.insert(fieldUnit);
  return whole;
}

struct Extremes {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  bool Empty() const noexcept { return low > high; }
};

template <class T> Extremes FiniteExtremes(std::span<const T> values) {
  Extremes e;
  for (const T v : values) {
    if (std::isfinite(v)) {
      e.low = std::min<double>(e.low, v);
      e.high = std::max<double>(e.high, v);
    }
  }
  return e;
}

} // namespace

CalibrationDialogModel::CalibrationDialogModel(CalibrationSettings work, Tarn::UnitInfo rawUnit,
                                               std::set<std::wstring> wholeUnits,
                                               const std::locale& numberLocale)
    : work_(std::move(work)), rawUnit_(std::move(rawUnit)), wholeUnits_(std::move(wholeUnits)),
      numberLocale_(numberLocale) {
  RefreshWholeUnits();
}

std::wstring CalibrationDialogModel::Caption(std::int32_t channel) {
  return Tarn::ModuleString(CalibrationDialogText::kChannelCaption) +
         std::to_wstring(static_cast<std::int64_t>(channel) + 1);
}

void CalibrationDialogModel::SetRawRange(double top, double bottom) {
  rawTop_ = top;
  rawBottom_ = bottom;
  work_.rangeTop = top;
  work_.rangeBottom = bottom;
}

const std::wstring& CalibrationDialogModel::RawText(int row) const {
  return rawTexts_[CheckedRow(row)];
}

const std::wstring& CalibrationDialogModel::CalText(int row) const {
  return calTexts_[CheckedRow(row)];
}

void CalibrationDialogModel::SetRawText(int row, std::wstring text) {
  rawTexts_[CheckedRow(row)] = std::move(text);
}

void CalibrationDialogModel::SetCalText(int row, std::wstring text) {
  calTexts_[CheckedRow(row)] = std::move(text);
}

void CalibrationDialogModel::RefreshWholeUnits() {
  rawWhole_ = FieldWholeUnits(wholeUnits_, rawUnit_.name);
  calWhole_ = FieldWholeUnits(wholeUnits_, work_.unit.name);
}

Tarn::Quantity CalibrationDialogModel::ReadField(const std::wstring& text,
                                                 const Tarn::UnitInfo& fieldUnit,
                                                 const std::set<std::wstring>& whole) const {
  std::wistringstream in(text);
  in.imbue(numberLocale_);
  Tarn::Quantity q = Tarn::ParseQuantity(in, whole);
  if (q == Tarn::InvalidQuantity())
    return q;
  if (q.unit.empty()) {
    // A bare number is in the field's unit, prefix included.
    q.exponent += Tarn::PrefixPower(fieldUnit.prefixIndex);
    q.unit = fieldUnit.name;
  }
  return q;
}

std::wstring CalibrationDialogModel::WriteField(const Tarn::Quantity& q,
                                                const Tarn::UnitInfo& fieldUnit) const {
  Tarn::Quantity shown = q;
  shown.unit = fieldUnit.name;
  return Tarn::FormatQuantity(shown, Tarn::PrefixPower(fieldUnit.prefixIndex), 0, {},
                              numberLocale_);
}

Tarn::Quantity CalibrationDialogModel::ReadRaw(int row) const {
  return ReadField(RawText(row), rawUnit_, rawWhole_);
}

Tarn::Quantity CalibrationDialogModel::ReadCal(int row) const {
  return ReadField(CalText(row), work_.unit, calWhole_);
}

void CalibrationDialogModel::FillRows() {
  const std::size_t count = std::min<std::size_t>(work_.PointCount(), kCalibrationRows);
  const std::int32_t calPower = Tarn::PrefixPower(work_.unit.prefixIndex);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kCalibrationRows); ++i) {
    if (i < count) {
      rawTexts_[i] = WriteField(Tarn::MakeQuantity(work_.rawValues[i], rawUnit_.name), rawUnit_);
      calTexts_[i] = WriteField(
          Tarn::MakeQuantity(Tarn::ScaleByPowerOfTen(work_.calibratedValues[i], calPower),
                             work_.unit.name),
          work_.unit);
    } else {
      rawTexts_[i].clear();
      calTexts_[i].clear();
    }
  }
}

const std::wstring& CalibrationDialogModel::ReformatRawField(int row) {
  const Tarn::Quantity q = ReadRaw(row);
  if (!(q == Tarn::InvalidQuantity()))
    rawTexts_[CheckedRow(row)] = WriteField(q, rawUnit_);
  return RawText(row);
}

TakeOutcome CalibrationDialogModel::TakeValue(int row, std::optional<double> paneMean) {
  const std::size_t index = CheckedRow(row);
  TakeOutcome outcome;
  // An empty pane has no mean: nothing is written and the focus stays.
  if (!paneMean || !std::isfinite(*paneMean))
    return outcome;
  const Tarn::UnitInfo& unit = work_.showCalculated ? work_.unit : rawUnit_;
  // The pane holds values in the prefixed unit; the quantity the unprefixed magnitude.
  const Tarn::Quantity q = Tarn::MakeQuantity(
      Tarn::ScaleByPowerOfTen(*paneMean, Tarn::PrefixPower(unit.prefixIndex)), unit.name);
  outcome.written = true;
  outcome.text = WriteField(q, unit);
  if (work_.showCalculated) {
    calTexts_[index] = outcome.text;
    outcome.target = {FieldKind::Calibrated, row};
    outcome.focus = {FieldKind::Raw, (row + 1) % kCalibrationRows};
  } else {
    rawTexts_[index] = outcome.text;
    outcome.target = {FieldKind::Raw, row};
    outcome.focus = {FieldKind::Calibrated, row};
  }
  return outcome;
}

int CalibrationDialogModel::RowForTakeAtFocus(FieldRef focus) noexcept {
  if (focus.row < 0 || focus.row >= kCalibrationRows)
    return 0;
  switch (focus.kind) {
  case FieldKind::Raw:
    return focus.row;
  case FieldKind::Calibrated:
    return (focus.row + 1) % kCalibrationRows;
  case FieldKind::Other:
    break;
  }
  return 0;
}

DialogOutcome CalibrationDialogModel::CollectSettings(const DialogControls& controls) {
  work_.fitType = controls.fitType;
  work_.showCalculated = controls.showCalculated;
  work_.decimalPlaces = CInteger(controls.decimalPlacesText);
  work_.unit = controls.unit;
  RefreshWholeUnits();

  const std::int32_t calPower = Tarn::PrefixPower(work_.unit.prefixIndex);
  std::map<double, double> points;
  bool repeated = false;
  for (int row = 0; row < kCalibrationRows; ++row) {
    const Tarn::Quantity raw = ReadRaw(row);
    const Tarn::Quantity cal = ReadCal(row);
    if (raw == Tarn::InvalidQuantity() || cal == Tarn::InvalidQuantity())
      continue;
    const double x = Tarn::QuantityValue(raw);
    const double y = Tarn::ScaleByPowerOfTen(cal.mantissa, cal.exponent - calPower);
    if (!std::isfinite(x) || !std::isfinite(y))
      continue;
    // The repeat is judged on the values collected, so "5" and "5 mV" in a millivolt channel
    // clash and "5" and "5000 mV" there do not.
    repeated |= !points.insert_or_assign(x, y).second;
  }
  work_.rawValues.clear();
  work_.calibratedValues.clear();
  for (const auto& [x, y] : points) {
    work_.rawValues.push_back(x);
    work_.calibratedValues.push_back(y);
  }
  repeatedRaw_ = repeated;
  return ValidatePoints();
}

DialogOutcome CalibrationDialogModel::ValidatePoints() const {
  if (repeatedRaw_)
    return {false, CalibrationDialogText::kRepeatedRaw, work_.showCalculated};
  if (!HasEnoughPoints(work_))
    return {false, CalibrationDialogText::kTooFewPoints, work_.showCalculated};
  return {true, 0, false};
}

DialogOutcome CalibrationDialogModel::FitAndEnable() {
  fitEnabled_ = Fit(work_);
  if (fitEnabled_)
    return {true, 0, false};
  return {false, CalibrationDialogText::kFitFailed, work_.showCalculated};
}

DecimalPlacesOutcome CalibrationDialogModel::ClampDecimalPlaces(const std::wstring& text) {
  DecimalPlacesOutcome outcome;
  const std::int32_t n = CInteger(text);
  if (n < 0) {
    outcome.value = 0;
    outcome.replacement = L"0";
  } else if (n > kMaxDecimalPlaces) {
    outcome.value = kMaxDecimalPlaces;
    outcome.replacement = std::to_wstring(kMaxDecimalPlaces);
  } else {
    outcome.value = n;
  }
  work_.decimalPlaces = outcome.value;
  return outcome;
}

void CalibrationDialogModel::SetDisplayRanges(double top, double bottom) {
  // Halved first, and the result kept finite: an unknown raw range is +-DBL_MAX.
  const double centre = top / 2.0 + bottom / 2.0;
  const double half = top / 2.0 - bottom / 2.0;
  constexpr double largest = std::numeric_limits<double>::max();
  const double a = std::clamp(centre + 1.25 * half, -largest, largest);
  const double b = std::clamp(centre - 1.25 * half, -largest, largest);
  work_.rangeTop = std::max(a, b);
  work_.rangeBottom = std::min(a, b);
}

bool CalibrationDialogModel::SetRangeFromSamplesOrPoints(std::span<const float> calibrated) {
  Extremes e = FiniteExtremes(calibrated);
  if (e.Empty())
    e = FiniteExtremes(std::span<const double>(work_.calibratedValues.data(), work_.PointCount()));
  if (e.Empty())
    return false;
  SetDisplayRanges(e.high, e.low);
  return true;
}

bool CalibrationDialogModel::SetCalibratedRange(std::span<const float> rawSamples) {
  // The channel computes with the coefficients of its parameter text (six digits), as the
  // Calculated view does.
  CalibrationSettings channel;
  ReadParameterText(work_.ToParameterText(), channel);
  std::vector<float> calibrated(rawSamples.begin(), rawSamples.end());
  BlockCalibrator(channel.fitType, channel.coefficients)
      .Apply(calibrated.data(), calibrated.size());
  return SetRangeFromSamplesOrPoints(calibrated);
}

void CalibrationDialogModel::SetCalculatedViewRange(std::span<const float> calibratedSamples) {
  // Without samples the raw range (in raw units) would label the calibrated scale; the points
  // give the calibrated range instead.
  if (!SetRangeFromSamplesOrPoints(calibratedSamples))
    SetDisplayRanges(rawTop_, rawBottom_);
}

void CalibrationDialogModel::EnterRawView() {
  work_.showCalculated = false;
  work_.rangeTop = rawTop_;
  work_.rangeBottom = rawBottom_;
}

std::wstring CalibrationDialogModel::OnUnitChanged(const Tarn::UnitInfo& unit) {
  work_.unit = unit;
  RefreshWholeUnits();
  return ScaleUnitLabel();
}

std::wstring CalibrationDialogModel::ScaleUnitLabel() const {
  return Tarn::UnitDisplayName(work_.showCalculated ? work_.unit : rawUnit_);
}

ControlValues CalibrationDialogModel::Controls() const {
  ControlValues values;
  values.fitType = work_.fitType;
  values.showCalculated = work_.showCalculated;
  values.decimalPlaces = work_.decimalPlaces;
  values.unit = work_.unit;
  values.scaleUnitLabel = ScaleUnitLabel();
  values.rangeTop = work_.rangeTop;
  values.rangeBottom = work_.rangeBottom;
  return values;
}

DialogOutcome CalibrationDialogModel::CanClose(DialogControls controls,
                                               std::span<const float> rawSamples) {
  const bool fromRawView = !work_.showCalculated;
  controls.showCalculated = true;
  const DialogOutcome collected = CollectSettings(controls);
  if (!collected.ok)
    return collected;
  const DialogOutcome fitted = FitAndEnable();
  if (!fitted.ok)
    return fitted;
  work_.showCalculated = true;
  // The Raw view's range is in raw units; the calibrated channel needs its own.
  if (fromRawView)
    SetCalibratedRange(rawSamples);
  return {true, 0, false};
}

} // namespace MPCalibration

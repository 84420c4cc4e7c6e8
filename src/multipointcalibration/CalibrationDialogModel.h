#pragma once
#include <array>
#include <cstdint>
#include <locale>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "multipointcalibration/CalibrationSettings.h"
#include "units/Quantity.h"
#include "units/UnitInfo.h"

namespace MPCalibration {

// String-table texts of the calibration dialog.
namespace CalibrationDialogText {
inline constexpr std::uint32_t kCaption = 250;      // message boxes' caption
inline constexpr std::uint32_t kFirstFitName = 265; // 265..272: short fit names, FitType order
inline constexpr std::uint32_t kLastFitName = 272;
inline constexpr std::uint32_t kFitFailed = 273;        // the fit did not converge
inline constexpr std::uint32_t kSelectionTrimmed = 274; // a selection over several blocks was cut
inline constexpr std::uint32_t kTooFewPoints = 275;     // too few points for the fit type
inline constexpr std::uint32_t kRepeatedRaw = 277;      // two points share a raw value
inline constexpr std::uint32_t kChannelCaption = 278;   // window caption, before the channel number
inline constexpr std::uint32_t kUnitsConversion = 279;  // the host converts the channel's units
inline constexpr std::uint32_t kHelpTip = 280;          // the help button's tool tip
} // namespace CalibrationDialogText

inline constexpr int kCalibrationRows = 12;
// The decimal-places spin range.
inline constexpr std::int32_t kMaxDecimalPlaces = 6;

// A field of the dialog as far as take-value cares: a row's raw or calibrated field, or anything
// else (row then 0).
enum class FieldKind { Raw, Calibrated, Other };
struct FieldRef {
  FieldKind kind = FieldKind::Other;
  int row = 0;
  friend bool operator==(const FieldRef&, const FieldRef&) = default;
};

// What the dialog's controls hold besides the rows, read when the settings are collected.
struct DialogControls {
  std::int32_t fitType = 0;
  bool showCalculated = false;
  std::wstring decimalPlacesText;
  Tarn::UnitInfo unit;
};

// Result of collecting or fitting. messageId names the problem (0 when there is none); the view
// shows it in a message box only when showMessage is set, i.e. when calibrated output was asked
// for.
struct DialogOutcome {
  bool ok = false;
  std::uint32_t messageId = 0;
  bool showMessage = false;
};

// Take-value: the text written into `target` (already stored in the model) and the field that
// gets the focus with its whole text selected. Nothing is written when the pane has no mean.
struct TakeOutcome {
  bool written = false;
  FieldRef target;
  std::wstring text;
  FieldRef focus;
};

// Decimal places typed: the value used, and the text the field is rewritten with when it was out
// of range.
struct DecimalPlacesOutcome {
  std::int32_t value = 0;
  std::optional<std::wstring> replacement;
};

// What UpdateControls puts into the controls.
struct ControlValues {
  std::int32_t fitType = 0;
  bool showCalculated = false; // Calculated checked; Raw checked otherwise
  std::int32_t decimalPlaces = 0;
  Tarn::UnitInfo unit;
  std::wstring scaleUnitLabel;
  double rangeTop = 0.0;
  double rangeBottom = 0.0;
};

// The main calibration dialog without its window: the twelve rows' texts, reading and writing
// quantities in the raw and the working unit, collection and validation of the points, the fit
// and the enabled state it gives, take-value decisions, decimal places, display ranges and what
// the controls show. The view moves texts and clicks between its window and this model.
class CalibrationDialogModel {
public:
  // `work` is the working copy; `rawUnit` the channel's unit; `wholeUnits` the unit names read
  // whole although their first letter is a prefix letter (the known units and those of the unit
  // list, "psi"); `numberLocale` the user's, for the numbers in the fields.
  CalibrationDialogModel(CalibrationSettings work, Tarn::UnitInfo rawUnit,
                         std::set<std::wstring> wholeUnits,
                         const std::locale& numberLocale = std::locale());

  // "Multipoint Calibration for Channel " and the 0-based channel index + 1.
  static std::wstring Caption(std::int32_t channel);

  const CalibrationSettings& Work() const noexcept { return work_; }
  CalibrationSettings& MutableWork() noexcept { return work_; }
  const Tarn::UnitInfo& RawUnit() const noexcept { return rawUnit_; }

  // The channel's display range: the Raw view's range, and the working copy's until a calibrated
  // range is computed.
  void SetRawRange(double top, double bottom);
  double RawTop() const noexcept { return rawTop_; }
  double RawBottom() const noexcept { return rawBottom_; }

  // Row texts, rows 0..11.
  const std::wstring& RawText(int row) const;
  const std::wstring& CalText(int row) const;
  void SetRawText(int row, std::wstring text);
  void SetCalText(int row, std::wstring text);

  // Writes the working copy's points into the rows; rows beyond them are emptied.
  void FillRows();

  // The raw field read and written back in the raw unit ("2.5" in a millivolt channel becomes
  // "2.5 mV", "0.0025 V" too); unparsable text stays as typed. Returns the field's text.
  const std::wstring& ReformatRawField(int row);

  // Row fields read as quantities (the field's unit assumed for a bare number); unparsable or
  // empty text gives the invalid quantity.
  Tarn::Quantity ReadRaw(int row) const;
  Tarn::Quantity ReadCal(int row) const;

  // Takes the pane's mean (in the prefixed display unit; none when the pane holds no samples)
  // into `row`: Calculated view into the calibrated field, focus to the next row's raw field;
  // Raw view into the raw field, focus to the same row's calibrated field.
  TakeOutcome TakeValue(int row, std::optional<double> paneMean);
  // The row a double-click on the pane takes into: raw k -> k, calibrated k -> k + 1 (11 -> 0),
  // anything else -> 0.
  static int RowForTakeAtFocus(FieldRef focus) noexcept;

  // Controls and rows into the working copy (points ascending by raw value; of rows with the
  // same raw value the later one counts), then ValidatePoints.
  DialogOutcome CollectSettings(const DialogControls& controls);
  // The last collection judged: a raw value repeated among the collected points (277), else too
  // few points for the fit type (275); shown only when Calculated was chosen.
  DialogOutcome ValidatePoints() const;

  // Fits the working copy; a failure (273) is shown only in the Calculated view. Fit, Apply and
  // Calculated are enabled exactly when the last fit succeeded, and before any fit.
  DialogOutcome FitAndEnable();
  bool FitEnabled() const noexcept { return fitEnabled_; }

  // Decimal places typed (C integer conversion): below 0 becomes 0, 7 and above 6; stored in the
  // working copy.
  DecimalPlacesOutcome ClampDecimalPlaces(const std::wstring& text);

  // The working copy's display range: the data range (top, bottom) widened by 25 % about its
  // centre.
  void SetDisplayRanges(double top, double bottom);
  // The calibrated display range of raw samples (the selection's, as the Raw view's pane holds
  // them, unscaled: the numbers the channel's enumerator receives), evaluated as the channel
  // evaluates them (the coefficients as the parameter text carries them); without a finite
  // result, that of the calibrated points. False when neither gives a range (the range is then
  // left as it is).
  bool SetCalibratedRange(std::span<const float> rawSamples);
  // The Calculated view's range from the calibrated samples it shows (all of the pane's, after
  // each block): their finite extremes, NaN and infinities skipped; without any (no selection,
  // no data), the calibrated points' extremes, and only without points the channel's raw range.
  void SetCalculatedViewRange(std::span<const float> calibratedSamples);

  // The Raw view: not calibrated, the channel's display range.
  void EnterRawView();

  // The unit chosen in the units control; the scale's label to show. Stored numbers and field
  // texts are not converted.
  std::wstring OnUnitChanged(const Tarn::UnitInfo& unit);

  // The scale's unit label: the working unit with its prefix (Calculated) or the raw unit.
  std::wstring ScaleUnitLabel() const;
  ControlValues Controls() const;

  // OK: collects with Calculated chosen and fits. On success the working copy is marked
  // calculated and, when OK came from the Raw view, its display range becomes the calibrated
  // range of `rawSamples` (the Raw view's pane) or of the points; the record may then be handed
  // back. On failure the view shows the message and falls back to the Raw view.
  DialogOutcome CanClose(DialogControls controls, std::span<const float> rawSamples);

private:
  Tarn::Quantity ReadField(const std::wstring& text, const Tarn::UnitInfo& fieldUnit,
                           const std::set<std::wstring>& whole) const;
  std::wstring WriteField(const Tarn::Quantity& q, const Tarn::UnitInfo& fieldUnit) const;
  void RefreshWholeUnits();
  bool SetRangeFromSamplesOrPoints(std::span<const float> calibrated);

  CalibrationSettings work_;
  Tarn::UnitInfo rawUnit_;
  std::set<std::wstring> wholeUnits_;
  std::set<std::wstring> rawWhole_;
  std::set<std::wstring> calWhole_;
  std::locale numberLocale_;
  std::array<std::wstring, kCalibrationRows> rawTexts_;
  std::array<std::wstring, kCalibrationRows> calTexts_;
  double rawTop_ = 0.0;
  double rawBottom_ = 0.0;
  bool repeatedRaw_ = false;
  bool fitEnabled_ = true;
};

} // namespace MPCalibration

#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "controls/win/BmpTxtButton.h"
#include "controls/win/SicnButton.h"
#include "controls/win/UnitsControl.h"
#include "controls/win/ValidatingEdit.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/CalibrationDialogModel.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ui/DragScale.h"
#include "multipointcalibration/ui/UnitConvertDataPane.h"
#include "window/win/Dialog.h"

namespace MPCalibration {

// The main calibration dialog (template 201): the selected samples of the channel in the data
// pane, raw or calibrated, twelve rows of point pairs typed or taken from the pane, the fit type,
// unit and decimal places. Its logic is CalibrationDialogModel's; this window moves texts and
// clicks between the controls and the model and reads the samples from the host. OK writes the
// working copy back to the caller's settings; Cancel leaves them alone.
class MPCalibrationDialog : public Tarn::Window::Dialog {
public:
  static constexpr int kResource = 201;
  enum Control {
    kHelp = 9,
    kUnits = 101,
    kFit = 200,
    kRaw = 204,
    kCalculated = 205,
    kApply = 206,
    kDecimals = 207,
    kFirstRaw = 208,
    kFirstCal = 220,
    kFirstTake = 280,
    kPane = 301,
    kDecimalsSpin = 303,
    kFitCombo = 350,
    kHelpGlyph = 354,
  };

  // The host objects may be null; those given are held while the dialog lives.
  MPCalibrationDialog(std::int32_t channel, Host::IUnitCollection* units,
                      Host::IHostDocument* document, Host::IHostSelection* selection,
                      CalibrationSettings& callerSettings);
  ~MPCalibrationDialog() override;

  const CalibrationDialogModel& Model() const { return *mModel; }
  const UnitConvertDataPane& Pane() const noexcept { return *mPane; }
  const CDragScale& Scale() const noexcept { return mScale; }
  // The pane's rectangle in client coordinates, around which the frame is drawn.
  RECT PaneRect() const noexcept { return mPaneRect; }
  COLORREF TraceColour() const noexcept { return mColour; }

protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool CanClose() override;

private:
  void SetUp();
  void ReadHost();
  void PlacePaneAndScale();
  void WidenScaleToItsLabels();
  void UpdateControls();
  void ShowRows();
  void WriteField(FieldRef field, const std::wstring& text);
  void ReadRows();
  DialogControls ReadControls() const;
  bool Collect();
  bool FitAndEnable();
  void EnableFitCommands();
  bool ShowCalculated();
  void ShowRaw();
  // Hands each block's reader of the selection's samples of `kind` (through the working copy's
  // calibration when `calibrated`) to `take`; the pane state for what was found.
  int ReadSelection(std::uint32_t kind, bool calibrated,
                    const std::function<void(Tarn::ComPtr<Host::IEnumFloatEx>)>& take);
  void LoadPane(std::uint32_t kind, bool calibrated);
  void ApplyChanges();
  void OpenCurveDialog();
  void TakeValue(int row);
  void TakeValueAtFocus();
  void ClampDecimalPlaces();
  void OnUnitChanged();
  void ShowHelp();
  void PaintFrame();
  void Report(const DialogOutcome& outcome);
  FieldRef Focused() const noexcept;

  std::int32_t mChannel;
  Tarn::ComPtr<Host::IUnitCollection> mUnitList;
  Tarn::ComPtr<Host::IHostDocument> mHost;
  Tarn::ComPtr<Host::IHostSelection> mSelection;
  CalibrationSettings& mCallerSettings;
  CalibrationSettings mInitial;
  std::optional<CalibrationDialogModel> mModel;
  Tarn::UnitInfo mRawUnit;
  double mRawTop;
  double mRawBottom;
  COLORREF mColour;

  TarnControls::UnitsControl mUnits;
  TarnControls::IntEdit mDecimals;
  TarnControls::TBmpTxtButton mHelpButton;
  std::array<TarnControls::TSICNButton, kCalibrationRows> mTakeButtons;
  std::unique_ptr<UnitConvertDataPane> mPane;
  CDragScale mScale;
  RECT mScaleRect{};
  RECT mPaneRect{};
  // Row writes are ignored until setup has filled the rows, and one write never re-enters
  // another through the edits' change notifications.
  bool mRowsLive = false;
  bool mReady = false;
};

// Runs the main calibration dialog modally over `owner` for the channel (0-based) on `settings`:
// IDOK when the user confirmed (`settings` then holds the result), IDCANCEL, or -1 when the
// dialog could not be made.
INT_PTR RunCalibrationDialog(HWND owner, std::int32_t channel, Host::IUnitCollection* units,
                             Host::IHostDocument* document, Host::IHostSelection* selection,
                             CalibrationSettings& settings) noexcept;

} // namespace MPCalibration

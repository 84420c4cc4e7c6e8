#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/CurveRefit.h"
#include "multipointcalibration/ui/MPCalibrationWnd.h"
#include "multipointcalibration/ui/ReportDrawing.h"
#include "plotting/win/Table2D.h"
#include "plotting/win/TabulatedData.h"
#include "units/UnitInfo.h"
#include "window/win/Dialog.h"

namespace MPCalibration {

// The calibration curve dialog (template 202): the graph, the points table, the fit type, the
// equation and the fit error of a working copy of the caller's settings. Each change of the fit
// type or of "Force origin" refits at once; OK writes the working copy back to the caller's
// settings, Cancel leaves them as they were.
class MPCalReportDialog : public Tarn::Window::Dialog {
public:
  static constexpr int kResource = 202;
  enum Control {
    kEquation = 305,
    kFitType = 306,
    kGraph = 307,
    kFitCombo = 308,
    kForceOrigin = 309,
    kCopy = 310,
    kPrint = 311,
    kTable = 312,
    kFitError = 313,
    kHelp = 9,
  };

  // `document` may be null; it is held while the dialog lives.
  MPCalReportDialog(const Tarn::UnitInfo& rawUnit, CalibrationSettings& callerSettings,
                    std::int32_t channel, Host::IHostDocument* document);
  ~MPCalReportDialog() override;

  const CalibrationSettings& Work() const noexcept { return mWork; }
  const std::wstring& Title() const noexcept { return mTitle; }
  MPCalibrationWnd& GraphWindow() noexcept { return *mGraph; }
  const GUILib::CTabulatedData& TableData() const noexcept { return *mTableData; }
  // The points table's bold rows (the origin row where forcing applies).
  const std::set<int>& BoldRows() const noexcept { return mBoldRows; }
  // What the report is drawn from, the copied picture and the printed page alike.
  ReportParts ReportContent() noexcept;

protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool CanClose() override;

  // Copy puts the report on the clipboard; Print hands it to the host's print job.
  virtual void OnCopy();
  virtual void OnPrint();

private:
  void Refit(RefitTrigger trigger);
  void UpdateView();
  void Report(std::uint32_t messageId);
  GUILib::Rect PlaceholderRect(int id) const;

  Tarn::UnitInfo mRawUnit;
  CalibrationSettings& mCallerSettings;
  CalibrationSettings mWork;
  std::int32_t mChannel;
  Tarn::ComPtr<Host::IHostDocument> mHost;
  std::wstring mTitle;
  std::unique_ptr<MPCalibrationWnd> mGraph;
  GUILib::Table2D mTable;
  Tarn::ComPtr<GUILib::CTabulatedData> mTableData;
  std::set<int> mBoldRows;
};

// Runs the curve dialog modally over `parent` for the channel (0-based) on the caller's working
// settings: IDOK when they took the dialog's fit, IDCANCEL when they were left alone (also when
// the dialog could not be made).
INT_PTR RunCurveDialog(HWND parent, std::int32_t channel, const Tarn::UnitInfo& rawUnit,
                       CalibrationSettings& settings, Host::IHostDocument* document) noexcept;

} // namespace MPCalibration

#include "multipointcalibration/ui/MPCalReportDialog.h"

#include <iterator>
#include <string>

#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/win/LocaleInfo.h"
#include "multipointcalibration/ui/MPCalReportPrintout.h"
#include "multipointcalibration/ui/ReportCopy.h"
#include "plotting/CalibrationCurve.h"
#include "window/win/Dpi.h"
#include "window/win/MessageBox.h"
#include "window/win/ProcedureGuard.h"
#include "window/win/WindowUtil.h"

namespace MPCalibration {
namespace {

constexpr std::uint32_t kCaptionPrefixString = 108; // "Multipoint Calibration Curve for Channel "

// Set while a print job runs: the host's print dialog runs its own message loop, in which a
// second Print would start a second job.
bool gPrinting = false;

class PrintingScope {
public:
  PrintingScope() noexcept { gPrinting = true; }
  PrintingScope(const PrintingScope&) = delete;
  PrintingScope& operator=(const PrintingScope&) = delete;
  ~PrintingScope() { gPrinting = false; }
};

// Lets the printout go of the dialog however printing ends; the host may keep it longer.
class PrintoutDetach {
public:
  explicit PrintoutDetach(MPCalReportPrintout& printout) noexcept : printout_(printout) {}
  PrintoutDetach(const PrintoutDetach&) = delete;
  PrintoutDetach& operator=(const PrintoutDetach&) = delete;
  ~PrintoutDetach() { printout_.Detach(); }

private:
  MPCalReportPrintout& printout_;
};

} // namespace

MPCalReportDialog::MPCalReportDialog(const Tarn::UnitInfo& rawUnit,
                                     CalibrationSettings& callerSettings, std::int32_t channel,
                                     Host::IHostDocument* document)
    : Dialog({MAKEINTRESOURCEW(kResource)}), mRawUnit(rawUnit), mCallerSettings(callerSettings),
      mWork(callerSettings), mChannel(channel), mHost(document),
      mGraph(std::make_unique<MPCalibrationWnd>(rawUnit, mWork)),
      mTableData(GUILib::CTabulatedData::Create()) {}

MPCalReportDialog::~MPCalReportDialog() = default;

GUILib::Rect MPCalReportDialog::PlaceholderRect(int id) const {
  RECT r{};
  HWND placeholder = Item(id);
  ::GetWindowRect(placeholder, &r);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  // The window placed over it takes its id.
  ::DestroyWindow(placeholder);
  return GUILib::PlaceOverPlaceholder(Tarn::Window::ToRect(r), Tarn::Window::DpiOfWindow(hwnd()));
}

bool MPCalReportDialog::OnInitDialog() {
  // Numbers shown to the user take the user's separators, which this installs once.
  (void)Tarn::LocaleInfo::Get();

  mTitle = Tarn::ModuleString(kCaptionPrefixString) + std::to_wstring(mChannel + 1);
  ::SetWindowTextW(hwnd(), mTitle.c_str());

  HWND combo = Item(kFitCombo);
  for (int t = 0; t < kFitTypeCount; ++t)
    ::SendMessageW(combo, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(Tarn::ModuleString(FitTypeShortNameId(t)).c_str()));

  mGraph->Create(hwnd(), Tarn::Window::ToRECT(PlaceholderRect(kGraph)), kGraph);
  if (!mTable.Create(hwnd(), Tarn::Window::ToRECT(PlaceholderRect(kTable)), kTable))
    throw Tarn::XHResult(E_HANDLE);
  mTable.FitToWholeRows();
  mTable.SetColumnWidths({1.0 / 3, 1.0 / 3, 1.0 / 3});
  mTable.SetColumnWidths({std::begin(GUILib::kPointsTableColumnFractions),
                          std::end(GUILib::kPointsTableColumnFractions)});
  mTable.SetSource(mTableData.get());

  ::ShowWindow(Item(kHelp), SW_HIDE);

  UpdateView();
  return true;
}

void MPCalReportDialog::UpdateView() {
  const CurveViewTexts view = DescribeCurveView(mWork);
  ::SendMessageW(Item(kFitCombo), CB_SETCURSEL, static_cast<WPARAM>(view.fitType), 0);
  ::EnableWindow(Item(kForceOrigin), view.forceOriginEnabled);
  ::CheckDlgButton(hwnd(), kForceOrigin, view.forceOriginChecked ? BST_CHECKED : BST_UNCHECKED);
  ::SetDlgItemTextW(hwnd(), kFitType, view.fitTypeText.c_str());
  ::SetDlgItemTextW(hwnd(), kEquation, view.equation.c_str());
  ::SetDlgItemTextW(hwnd(), kFitError, view.fitError.c_str());

  const std::optional<std::int64_t> originRow =
      GUILib::FillPointsTable(mTableData->EditTable(), mWork, {mRawUnit, mWork.unit});
  mBoldRows.clear();
  // The table counts its header as row 0.
  if (originRow)
    mBoldRows.insert(static_cast<int>(*originRow) + 1);
  mTable.SetBoldRows(mBoldRows);
  mTable.SetBoldColumns({});
  mTable.Invalidate();
}

void MPCalReportDialog::Report(std::uint32_t messageId) {
  (void)Tarn::Window::ShowMessageBox(hwnd(), Tarn::ModuleString(messageId),
                                     Tarn::ModuleString(kRefitCaptionId), MB_OK | MB_ICONSTOP);
}

void MPCalReportDialog::Refit(RefitTrigger trigger) {
  const int chosen = static_cast<int>(::SendMessageW(Item(kFitCombo), CB_GETCURSEL, 0, 0));
  const bool forced = ::IsDlgButtonChecked(hwnd(), kForceOrigin) == BST_CHECKED;
  const RefitOutcome outcome = MPCalibration::Refit(mWork, chosen, forced, trigger);
  if (outcome.refitted)
    mGraph->SetSettings(mWork);
  else if (outcome.messageId)
    Report(outcome.messageId);
  UpdateView();
}

bool MPCalReportDialog::CanClose() {
  const int chosen = static_cast<int>(::SendMessageW(Item(kFitCombo), CB_GETCURSEL, 0, 0));
  const bool forced = ::IsDlgButtonChecked(hwnd(), kForceOrigin) == BST_CHECKED;
  const RefitOutcome outcome = MPCalibration::Refit(mWork, chosen, forced, RefitTrigger::Closing);
  if (!outcome.refitted) {
    Report(outcome.messageId);
    UpdateView();
    return false;
  }
  mCallerSettings = mWork;
  return true;
}

bool MPCalReportDialog::OnCommand(int id, int code, HWND control) {
  switch (id) {
  case kFitCombo:
    if (code == CBN_SELCHANGE)
      Refit(RefitTrigger::FitTypeChosen);
    return true;
  case kForceOrigin:
    if (code == BN_CLICKED)
      Refit(RefitTrigger::ForceOriginClicked);
    return true;
  case kCopy:
    OnCopy();
    return true;
  case kPrint:
    OnPrint();
    return true;
  default:
    return Dialog::OnCommand(id, code, control);
  }
}

ReportParts MPCalReportDialog::ReportContent() noexcept {
  return {mGraph->Graph(), mGraph->HorizontalScale(), mGraph->VerticalScale(), mTable, mWork};
}

void MPCalReportDialog::OnCopy() {
  CopyReport(hwnd(), ReportContent(), mTableData->Table(), mWork.decimalPlaces);
}

void MPCalReportDialog::OnPrint() {
  if (gPrinting || !mHost)
    return;
  Tarn::ComPtr<Host::IVelaPrintService> service;
  if (FAILED(mHost->QueryInterface(Host::IVelaPrintService::iid, service.put_void())) || !service)
    return;
  Tarn::ComPtr<MPCalReportPrintout> printout;
  printout.Attach(MPCalReportPrintout::Create(service.get(), mTitle, *this));
  const PrintoutDetach detach(*printout);
  const PrintingScope printing;
  Tarn::ComPtr<Host::IVelaPrintManager> manager;
  if (FAILED(service->GetPrintManager(manager.put())) || !manager)
    return;
  Tarn::ComPtr<Host::IVelaPrintJob> job;
  if (FAILED(manager->CreateJob(job.put())) || !job)
    return;
  // A job that fails or is cancelled has told the user what there is to tell.
  (void)job->Print(printout.get(), Host::kPrintWithPreview);
}

INT_PTR RunCurveDialog(HWND parent, std::int32_t channel, const Tarn::UnitInfo& rawUnit,
                       CalibrationSettings& settings, Host::IHostDocument* document) noexcept {
  try {
    MPCalReportDialog dialog(rawUnit, settings, channel, document);
    const INT_PTR result = dialog.DoModal(parent);
    return result == IDOK ? IDOK : IDCANCEL;
  } catch (...) {
    Tarn::Window::LogCaughtInProcedure(0);
    return IDCANCEL;
  }
}

} // namespace MPCalibration

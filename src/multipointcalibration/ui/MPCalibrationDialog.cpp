#include "multipointcalibration/ui/MPCalibrationDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cfloat>
#include <functional>
#include <string>
#include <vector>

#include "controls/win/DialogFonts.h"
#include "controls/win/MenuCombo.h"
#include "controls/win/Validators.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/LocaleInfo.h"
#include "foundation/win/TarnString.h"
#include "multipointcalibration/PaneArithmetic.h"
#include "multipointcalibration/ui/MPCalReportDialog.h"
#include "multipointcalibration/win/MPCalibrationEnum.h"
#include "units/UnitPrefixes.h"
#include "units/win/UnitEntry.h"
#include "window/win/MessageBox.h"
#include "window/win/ProcedureGuard.h"

namespace MPCalibration {
namespace {

constexpr COLORREF kDefaultTraceColour = RGB(255, 128, 128);

// The frame around the pane takes the system colours as they were when the module loaded.
struct FrameColours {
  COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
};
const FrameColours kFrameColours;

// One-pixel lines along the edges of `r`: `topLeft` on the top and left, `bottomRight` on the
// bottom and right. The DC brush needs no object of its own.
void DrawEdges(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  const auto brush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  ::SetDCBrushColor(dc, topLeft);
  const RECT top{r.left, r.top, r.right, r.top + 1};
  const RECT left{r.left, r.top, r.left + 1, r.bottom};
  ::FillRect(dc, &top, brush);
  ::FillRect(dc, &left, brush);
  ::SetDCBrushColor(dc, bottomRight);
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
  const RECT right{r.right - 1, r.top, r.right, r.bottom};
  ::FillRect(dc, &bottom, brush);
  ::FillRect(dc, &right, brush);
}

std::wstring ItemText(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The host's selection as (offset, block) pairs; none when there is no selection.
struct Extent {
  std::int32_t startOffset = 0;
  std::int32_t startBlock = 0;
  std::int32_t endOffset = 0;
  std::int32_t endBlock = 0;
};

std::optional<Extent> ReadExtent(Host::IHostSelection* selection) {
  if (!selection)
    return std::nullopt;
  BOOL exists = FALSE;
  if (FAILED(selection->HasSelection(&exists)) || !exists)
    return std::nullopt;
  Extent e;
  if (selection->GetExtent(&e.startOffset, &e.startBlock, &e.endOffset, &e.endBlock) != S_OK ||
      e.endBlock < e.startBlock)
    return std::nullopt;
  return e;
}

// Appends what `reader` delivers to `samples`, up to the pane's capacity.
void AppendSamples(Host::IEnumFloatEx& reader, std::vector<float>& samples) {
  constexpr std::uint32_t kChunk = 4096;
  std::vector<float> chunk(kChunk);
  while (samples.size() < Pane::kCapacity) {
    std::uint32_t fetched = 0;
    const HRESULT status = reader.Next(kChunk, chunk.data(), &fetched);
    if (FAILED(status))
      return;
    fetched =
        std::min({fetched, kChunk, static_cast<std::uint32_t>(Pane::kCapacity - samples.size())});
    samples.insert(samples.end(), chunk.begin(), chunk.begin() + fetched);
    if (status != S_OK || fetched == 0)
      return;
  }
}

// The calibrated samples of a raw reader: a private enumerator given the parameter text as the
// host gives it, reading from `raw` with the block's timing beside it.
Tarn::ComPtr<Host::IEnumFloatEx> CalibratedReader(const CalibrationSettings& settings,
                                                  Tarn::ComPtr<Host::IEnumFloatEx> raw,
                                                  IUnknown* timing) {
  auto calcEnum = Tarn::ComPtr<Host::ICalcEnum>::Adopt(
      static_cast<Host::ICalcEnum*>(new MPCalibrationEnum(nullptr, nullptr)));
  const Tarn::TarnString text(settings.ToParameterText());
  std::int32_t flags = 0;
  Tarn::ThrowIfFailed(calcEnum->SetParameters(text.get(), &flags));
  IUnknown* sources[] = {raw.get()};
  IUnknown* extras[] = {timing};
  Tarn::ThrowIfFailed(calcEnum->SetSources(nullptr, 1, sources, extras, nullptr));
  Tarn::ComPtr<Host::IEnumFloatEx> values;
  Tarn::ThrowIfFailed(calcEnum.QueryTo(Host::IID_IEnumFloatEx, values));
  return values;
}

} // namespace

MPCalibrationDialog::MPCalibrationDialog(std::int32_t channel, Host::IUnitCollection* units,
                                         Host::IHostDocument* document,
                                         Host::IHostSelection* selection,
                                         CalibrationSettings& callerSettings)
    : Dialog({MAKEINTRESOURCEW(kResource)}), mChannel(channel), mUnitList(units), mHost(document),
      mSelection(selection), mCallerSettings(callerSettings), mInitial(callerSettings),
      mRawTop(DBL_MAX), mRawBottom(-DBL_MAX), mColour(kDefaultTraceColour) {
  if (mHost)
    (void)mHost->GetTraceColour(mChannel, &mColour);
  if (!mSelection && mHost)
    (void)mHost->GetSelection(mSelection.put());
  mPane = std::make_unique<UnitConvertDataPane>(mColour);
  // The template names the units control's window class.
  TarnControls::MenuCombo::RegisterWindowClass();
}

MPCalibrationDialog::~MPCalibrationDialog() = default;

bool MPCalibrationDialog::OnInitDialog() {
  try {
    SetUp();
  } catch (...) {
    // A dialog half made is no use to anyone: the caller hears that it could not be made.
    Tarn::Window::LogCaughtInProcedure(WM_INITDIALOG);
    mModel.reset();
    End(-1);
  }
  return true;
}

void MPCalibrationDialog::SetUp() {
  const HWND dialog = hwnd();
  ::SetWindowTextW(dialog, CalibrationDialogModel::Caption(mChannel).c_str());

  const HWND combo = Item(kFitCombo);
  for (std::uint32_t id = CalibrationDialogText::kFirstFitName;
       id <= CalibrationDialogText::kLastFitName; ++id)
    ::SendMessageW(combo, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(Tarn::ModuleString(id).c_str()));

  ::SendDlgItemMessageW(dialog, kDecimalsSpin, UDM_SETRANGE32, 0, kMaxDecimalPlaces);
  mDecimals.Attach(dialog, kDecimals);
  mDecimals.SetValidator(std::make_unique<TarnControls::TarnRangeValidator>(0, kMaxDecimalPlaces));
  for (int row = 0; row < kCalibrationRows; ++row) {
    ::SendDlgItemMessageW(dialog, kFirstRaw + row, EM_LIMITTEXT, 255, 0);
    ::SendDlgItemMessageW(dialog, kFirstCal + row, EM_LIMITTEXT, 255, 0);
    mTakeButtons[static_cast<std::size_t>(row)].Attach(dialog, kFirstTake + row);
  }
  mUnits.Attach(dialog, kUnits);
  mUnits.SetCollection(mUnitList);
  Tarn::ComPtr<Host::IUnitNotifyTarget> target;
  if (mHost && SUCCEEDED(mHost.QueryTo(Host::IID_IUnitNotifyTarget, target)))
    mUnits.SetNotifyTarget(target);
  mUnits.SetOnChange([this] { OnUnitChanged(); });
  mUnits.Refill();

  ReadHost();
  // Numbers in the fields take the user's separators, which this installs once.
  (void)Tarn::LocaleInfo::Get();
  mModel.emplace(mInitial, mRawUnit, mUnits.WholeUnits(), std::locale());
  mModel->SetRawRange(mRawTop, mRawBottom);

  PlacePaneAndScale();
  UpdateControls();
  mRowsLive = true;
  mModel->FillRows();
  ShowRows();
  if (mModel->Work().showCalculated && Collect() && ShowCalculated())
    UpdateControls();
  else
    ShowRaw();

  mReady = true;
  mHelpButton.Attach(dialog, kHelp);
  mHelpButton.SetGlyph(kHelpGlyph);
  mHelpButton.SetTooltip(Tarn::ModuleString(CalibrationDialogText::kHelpTip));
}

void MPCalibrationDialog::ReadHost() {
  if (!mHost)
    return;
  Tarn::ComPtr<Host::IChannelInformation> info;
  const std::optional<Extent> extent = ReadExtent(mSelection.get());
  Tarn::ComPtr<Host::IChannelDataSource> source;
  if (extent && SUCCEEDED(mHost->GetDataSource(Host::kDataKindDefault, source.put())) && source)
    (void)source->GetBlockChannelInfo(Host::kDataKindRaw, extent->startBlock, mChannel, info.put());
  if (!info)
    (void)mHost->GetChannelInfo(0, mChannel, info.put());
  double top = DBL_MAX;
  double bottom = -DBL_MAX;
  if (mHost->GetDisplayRange(0, mChannel, 2, &top, &bottom) == S_OK && info) {
    (void)info->ConvertValue(Host::kDataKindRaw, top, &top);
    (void)info->ConvertValue(Host::kDataKindRaw, bottom, &bottom);
  }
  mRawTop = top;
  mRawBottom = bottom;
  mRawUnit.prefixIndex = 1;
  Tarn::ComPtr<Host::IUnitName> unit;
  if (info && SUCCEEDED(info->GetUnits(Host::kDataKindRaw, unit.put())) && unit)
    (void)Tarn::ReadUnit(unit.get(), mRawUnit);
}

void MPCalibrationDialog::PlacePaneAndScale() {
  HWND placeholder = Item(kPane);
  RECT r{};
  ::GetWindowRect(placeholder, &r);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  ::DestroyWindow(placeholder);

  TarnControls::DialogFonts::Shared().EnsureBuilt();
  const int textHeight = TarnControls::DialogFonts::Shared().TextExtent().cy;
  mScaleRect = {r.left, r.top, r.left + CDragScale::kMinimumThickness, r.bottom};
  try {
    mScale.Create(hwnd(), mScaleRect, textHeight);
    mScaleRect.right = mScaleRect.left + std::max(mScale.CalcSize(nullptr, 0), 8);
    mScale.SetPosition(mScaleRect);
  } catch (const Tarn::XHResult&) {
    // Without the host's scale the pane still shows its samples on the default map.
    Tarn::Window::LogCaughtInProcedure(0);
  }
  const int margin = textHeight / 2 + 2;
  mPaneRect = {mScaleRect.right + 2, r.top + margin, r.right, r.bottom - margin};
  if (!mPane->Create(hwnd(), mPaneRect, kPane))
    throw Tarn::XHResult(E_HANDLE);
  if (mScale.IsCreated())
    mPane->LinkScale(mScale);
}

void MPCalibrationDialog::WidenScaleToItsLabels() {
  if (!mScale.IsCreated())
    return;
  // The labels of a new range or unit may need more room than the scale was given; it only
  // grows, so that switching views does not make the pane jump back and forth.
  const int needed = mScale.CalcSize(nullptr, 0);
  if (needed <= mScaleRect.right - mScaleRect.left)
    return;
  mScaleRect.right = mScaleRect.left + needed;
  mScale.SetPosition(mScaleRect);
  mPaneRect.left = mScaleRect.right + 2;
  ::MoveWindow(mPane->hwnd(), mPaneRect.left, mPaneRect.top, mPaneRect.right - mPaneRect.left,
               mPaneRect.bottom - mPaneRect.top, TRUE);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void MPCalibrationDialog::UpdateControls() {
  const ControlValues values = mModel->Controls();
  ::SendMessageW(Item(kFitCombo), CB_SETCURSEL, static_cast<WPARAM>(values.fitType), 0);
  ::CheckRadioButton(hwnd(), kRaw, kCalculated, values.showCalculated ? kCalculated : kRaw);
  ::SendDlgItemMessageW(hwnd(), kDecimalsSpin, UDM_SETPOS32, 0, values.decimalPlaces);
  mUnits.SelectUnit(values.unit);
  if (mScale.IsCreated()) {
    mScale.SetUnitLabel(values.scaleUnitLabel.c_str());
    mScale.SetRange(values.rangeTop, values.rangeBottom);
    WidenScaleToItsLabels();
  }
}

void MPCalibrationDialog::ShowRows() {
  for (int row = 0; row < kCalibrationRows; ++row) {
    WriteField({FieldKind::Raw, row}, mModel->RawText(row));
    WriteField({FieldKind::Calibrated, row}, mModel->CalText(row));
  }
}

void MPCalibrationDialog::WriteField(FieldRef field, const std::wstring& text) {
  if (!mRowsLive || field.kind == FieldKind::Other)
    return;
  mRowsLive = false;
  const int id = (field.kind == FieldKind::Raw ? kFirstRaw : kFirstCal) + field.row;
  ::SetDlgItemTextW(hwnd(), id, text.c_str());
  mRowsLive = true;
}

void MPCalibrationDialog::ReadRows() {
  for (int row = 0; row < kCalibrationRows; ++row) {
    mModel->SetRawText(row, ItemText(hwnd(), kFirstRaw + row));
    mModel->SetCalText(row, ItemText(hwnd(), kFirstCal + row));
  }
}

DialogControls MPCalibrationDialog::ReadControls() const {
  DialogControls controls;
  controls.fitType = static_cast<std::int32_t>(::SendMessageW(Item(kFitCombo), CB_GETCURSEL, 0, 0));
  controls.showCalculated = ::IsDlgButtonChecked(hwnd(), kCalculated) == BST_CHECKED;
  controls.decimalPlacesText = ItemText(hwnd(), kDecimals);
  controls.unit = mUnits.GetUnit();
  return controls;
}

void MPCalibrationDialog::Report(const DialogOutcome& outcome) {
  if (outcome.ok || !outcome.showMessage || outcome.messageId == 0)
    return;
  (void)Tarn::Window::ShowMessageBox(hwnd(), Tarn::ModuleString(outcome.messageId),
                                     Tarn::ModuleString(CalibrationDialogText::kCaption),
                                     MB_OK | MB_ICONSTOP);
}

bool MPCalibrationDialog::Collect() {
  ReadRows();
  const DialogOutcome outcome = mModel->CollectSettings(ReadControls());
  if (mScale.IsCreated()) {
    mScale.SetRange(mModel->Work().rangeTop, mModel->Work().rangeBottom);
    WidenScaleToItsLabels();
  }
  Report(outcome);
  return outcome.ok;
}

bool MPCalibrationDialog::FitAndEnable() {
  const DialogOutcome outcome = mModel->FitAndEnable();
  Report(outcome);
  EnableFitCommands();
  return outcome.ok;
}

void MPCalibrationDialog::EnableFitCommands() {
  const BOOL enabled = mModel->FitEnabled() ? TRUE : FALSE;
  ::EnableWindow(Item(kFit), enabled);
  ::EnableWindow(Item(kApply), enabled);
  ::EnableWindow(Item(kCalculated), enabled);
}

int MPCalibrationDialog::ReadSelection(
    std::uint32_t kind, bool calibrated,
    const std::function<void(Tarn::ComPtr<Host::IEnumFloatEx>)>& take) {
  Tarn::ComPtr<Host::IChannelDataSource> source;
  const std::optional<Extent> extent = ReadExtent(mSelection.get());
  if (!mHost || !extent || FAILED(mHost->GetDataSource(kind, source.put())) || !source)
    return UnitConvertDataPane::NoSelection;
  int state = UnitConvertDataPane::NoData;
  for (std::int32_t block = extent->startBlock; block <= extent->endBlock; ++block) {
    BOOL has = FALSE;
    if (FAILED(source->HasData(0, block, mChannel, &has)) || !has)
      continue;
    const std::int32_t start = block == extent->startBlock ? extent->startOffset : 0;
    const std::int32_t end = block == extent->endBlock ? extent->endOffset : Host::kToBlockEnd;
    Tarn::ComPtr<Host::IEnumFloatEx> reader;
    if (FAILED(source->OpenReader(kind, mChannel, block, start, end, reader.put())) || !reader)
      continue;
    if (calibrated) {
      Tarn::ComPtr<IUnknown> timing;
      (void)source->GetTimingInfo(Host::kDataKindCalculated, block, timing.put());
      reader = CalibratedReader(mModel->Work(), std::move(reader), timing.get());
    }
    take(std::move(reader));
    state = UnitConvertDataPane::Data;
  }
  return state;
}

void MPCalibrationDialog::LoadPane(std::uint32_t kind, bool calibrated) {
  mPane->Clear();
  const int state = ReadSelection(kind, calibrated, [this](Tarn::ComPtr<Host::IEnumFloatEx> r) {
    mPane->AppendFrom(std::move(r), 1.0);
  });
  // A calibrated sample can be NaN or infinite (a logarithm below 0); without samples the range
  // comes from the points, never from the raw range in raw units.
  if (calibrated)
    mModel->SetCalculatedViewRange(mPane->Samples());
  mPane->SetState(state);
  ::InvalidateRect(mPane->hwnd(), nullptr, TRUE);
}

bool MPCalibrationDialog::ShowCalculated() {
  if (!FitAndEnable() || !mModel->Work().showCalculated)
    return false;
  LoadPane(Host::kDataKindCalculated, true);
  return true;
}

void MPCalibrationDialog::ShowRaw() {
  mModel->EnterRawView();
  UpdateControls();
  LoadPane(Host::kDataKindRaw, false);
}

void MPCalibrationDialog::ApplyChanges() {
  if (Collect() && ShowCalculated())
    UpdateControls();
  else
    ShowRaw();
}

void MPCalibrationDialog::OpenCurveDialog() {
  ::CheckRadioButton(hwnd(), kRaw, kCalculated, kCalculated);
  if (!Collect() || !FitAndEnable()) {
    ShowRaw();
    return;
  }
  mModel->MutableWork().showCalculated = true;
  (void)RunCurveDialog(hwnd(), mChannel, mRawUnit, mModel->MutableWork(), mHost.get());
  (void)ShowCalculated();
  UpdateControls();
}

FieldRef MPCalibrationDialog::Focused() const noexcept {
  const HWND focus = ::GetFocus();
  if (!focus || ::GetParent(focus) != hwnd())
    return {};
  const int id = ::GetDlgCtrlID(focus);
  if (id >= kFirstRaw && id < kFirstRaw + kCalibrationRows)
    return {FieldKind::Raw, id - kFirstRaw};
  if (id >= kFirstCal && id < kFirstCal + kCalibrationRows)
    return {FieldKind::Calibrated, id - kFirstCal};
  return {};
}

void MPCalibrationDialog::TakeValue(int row) {
  ReadRows();
  const TakeOutcome outcome = mModel->TakeValue(row, mPane->Mean());
  if (!outcome.written)
    return;
  WriteField(outcome.target, outcome.text);
  const int id = (outcome.focus.kind == FieldKind::Raw ? kFirstRaw : kFirstCal) + outcome.focus.row;
  const HWND field = Item(id);
  ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  ::SendMessageW(field, EM_SETSEL, 0, -1);
}

void MPCalibrationDialog::TakeValueAtFocus() {
  TakeValue(CalibrationDialogModel::RowForTakeAtFocus(Focused()));
}

void MPCalibrationDialog::ClampDecimalPlaces() {
  if (!mReady)
    return;
  const DecimalPlacesOutcome outcome = mModel->ClampDecimalPlaces(ItemText(hwnd(), kDecimals));
  if (outcome.replacement)
    ::SetDlgItemTextW(hwnd(), kDecimals, outcome.replacement->c_str());
}

void MPCalibrationDialog::OnUnitChanged() {
  if (!mModel)
    return;
  const std::wstring label = mModel->OnUnitChanged(mUnits.GetUnit());
  if (mScale.IsCreated()) {
    mScale.SetUnitLabel(label.c_str());
    WidenScaleToItsLabels();
  }
}

void MPCalibrationDialog::ShowHelp() {
  try {
    const Tarn::ComPtr<Host::IUnitListService> service = HostServices::UnitListService();
    Tarn::ComPtr<Host::IHelpService> help;
    if (service && SUCCEEDED(service.QueryTo(Host::IID_IHelpService, help)))
      (void)help->ShowHelp(L"mp_setup", L"MultipointCalibrationHelp");
  } catch (const Tarn::XHResult&) {
    // Without the host's help service there is no help to show.
  }
}

void MPCalibrationDialog::PaintFrame() {
  PAINTSTRUCT paint{};
  const HDC dc = ::BeginPaint(hwnd(), &paint);
  RECT inner = mPaneRect;
  ::InflateRect(&inner, 1, 1);
  DrawEdges(dc, inner, kFrameColours.text, kFrameColours.face);
  RECT outer = mPaneRect;
  ::InflateRect(&outer, 2, 2);
  DrawEdges(dc, outer, kFrameColours.shadow, kFrameColours.highlight);
  ::EndPaint(hwnd(), &paint);
}

INT_PTR MPCalibrationDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UnitConvertDataPane::kTakeMeanMessage && mModel) {
    TakeValueAtFocus();
    return TRUE;
  }
  if (message == WM_PAINT) {
    PaintFrame();
    return TRUE;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

bool MPCalibrationDialog::OnCommand(int id, int code, HWND control) {
  if (!mModel)
    return Dialog::OnCommand(id, code, control);
  if (id >= kFirstTake && id < kFirstTake + kCalibrationRows) {
    if (code == BN_CLICKED)
      TakeValue(id - kFirstTake);
    return true;
  }
  if (id >= kFirstRaw && id < kFirstRaw + kCalibrationRows) {
    if (code == EN_KILLFOCUS) {
      const int row = id - kFirstRaw;
      mModel->SetRawText(row, ItemText(hwnd(), id));
      WriteField({FieldKind::Raw, row}, mModel->ReformatRawField(row));
    }
    return true;
  }
  switch (id) {
  case kHelp:
    if (code == BN_CLICKED)
      ShowHelp();
    return true;
  case kFit:
    if (code == BN_CLICKED)
      OpenCurveDialog();
    return true;
  case kRaw:
    if (code == BN_CLICKED)
      ShowRaw();
    return true;
  case kCalculated:
  case kApply:
    if (code == BN_CLICKED)
      ApplyChanges();
    return true;
  case kFitCombo:
    if (code == CBN_SELCHANGE)
      ApplyChanges();
    return true;
  case kUnits:
    if (code == CBN_SELCHANGE)
      mUnits.OnSelectionChanged();
    return true;
  case kDecimals:
    if (code == EN_CHANGE)
      ClampDecimalPlaces();
    return true;
  default:
    return Dialog::OnCommand(id, code, control);
  }
}

bool MPCalibrationDialog::CanClose() {
  if (!mModel)
    return false;
  ReadRows();
  ::CheckRadioButton(hwnd(), kRaw, kCalculated, kCalculated);
  // From the Raw view the calibrated range is that of the selection's samples as the channel's
  // calculation receives them (the host may give the Raw view another scale, as for mV).
  std::vector<float> raw;
  if (!mModel->Work().showCalculated)
    (void)ReadSelection(Host::kDataKindCalculated, false,
                        [&raw](Tarn::ComPtr<Host::IEnumFloatEx> r) { AppendSamples(*r, raw); });
  const DialogOutcome outcome = mModel->CanClose(ReadControls(), raw);
  EnableFitCommands();
  if (!outcome.ok) {
    Report(outcome);
    ShowRaw();
    return false;
  }
  mCallerSettings = mModel->Work();
  return true;
}

INT_PTR RunCalibrationDialog(HWND owner, std::int32_t channel, Host::IUnitCollection* units,
                             Host::IHostDocument* document, Host::IHostSelection* selection,
                             CalibrationSettings& settings) noexcept {
  try {
    MPCalibrationDialog dialog(channel, units, document, selection, settings);
    const INT_PTR result = dialog.DoModal(owner);
    if (result == -1)
      return -1;
    return result == IDOK ? IDOK : IDCANCEL;
  } catch (...) {
    Tarn::Window::LogCaughtInProcedure(0);
    return -1;
  }
}

} // namespace MPCalibration

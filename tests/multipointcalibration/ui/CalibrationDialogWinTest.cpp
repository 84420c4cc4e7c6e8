// The main calibration dialog through its real template under Wine, over the reference host's
// document, selection, data source, drag scale and help service: rows typed and taken from the
// pane, the views, the messages, the curve dialog, OK and Cancel, and pictures.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "HostApplication.h"
#include "HostDocument.h"
#include "HostSelection.h"
#include "HostUnitCollection.h"
#include "HostUnitListService.h"
#include "InProcessHost.h"
#include "Recording.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/LocaleInfo.h"
#include "multipointcalibration/ui/DragScale.h"
#include "multipointcalibration/ui/MPCalReportDialog.h"
#include "multipointcalibration/ui/MPCalibrationDialog.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "window/win/MessageBox.h"

namespace MPCalibration {
namespace {

using namespace std::chrono_literals;
using Dlg = MPCalibrationDialog;

constexpr int kStepLength = 40;
// Five flat stretches of a pressure transducer, in volts.
constexpr float kSteps[] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f};

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

using Boxes = GuiDriver::RecordedBoxes;

class CalibrationDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    Tarn::LocaleInfo::SetMessageBoxEnabled(false);
    HostServices::ResetForTesting();
    CDragScale::ResetFactoryForTesting();
    ASSERT_EQ(HostServices::UnitListService()->GetUnitList(units_.put()), S_OK);
  }
  void TearDown() override {
    dialog_.reset();
    document_.reset();
    selection_.reset();
    units_.reset();
    GuiDriver::Pump(10ms);
    EXPECT_EQ(LiveObjectCounter::Count(), 0);
    CDragScale::ResetFactoryForTesting();
    HostServices::ResetForTesting();
  }

  // A one-channel recording of the five steps in `unit`, selected whole when `select`.
  void MakeDocument(const wchar_t* unit = L"V", bool select = true, float scale = 1.0f) {
    auto recording = std::make_shared<Vela::Recording>();
    Vela::Recording::Channel channel;
    channel.name = L"Pressure";
    channel.unit = unit;
    channel.colour = RGB(0, 0, 200);
    channel.top = 5.0 * scale;
    channel.bottom = 0.0;
    recording->AddChannel(channel);
    Vela::Recording::Block block;
    std::vector<float> samples;
    for (const float step : kSteps)
      samples.insert(samples.end(), kStepLength, step * scale);
    block.length = samples.size();
    block.interval = 0.01;
    block.samples = {std::move(samples)};
    recording->AddBlock(std::move(block));
    document_.Attach(Vela::HostDocument::Create(recording));
    ASSERT_EQ(document_->GetSelection(selection_.put()), S_OK);
    if (select) {
      ASSERT_EQ(selection_->SetExtent(0, 0, static_cast<std::int32_t>(kStepLength * 5 - 1), 0),
                S_OK);
    }
  }

  HWND Open(const CalibrationSettings& settings = {}) {
    caller_ = settings;
    dialog_ = std::make_unique<Dlg>(0, units_.get(), document_.get(), selection_.get(), caller_);
    const HWND hwnd = GuiDriver::ShowModeless(*dialog_);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
  }
  HWND Item(int id) const { return dialog_->Item(id); }
  HWND RawField(int row) const { return Item(Dlg::kFirstRaw + row); }
  HWND CalField(int row) const { return Item(Dlg::kFirstCal + row); }

  // Types a text into a field and leaves it, as a user tabbing on does.
  void Type(HWND field, const std::wstring& text) {
    ::SetWindowTextW(field, L"");
    ASSERT_TRUE(GuiDriver::TypeText(field, text));
    ::SetFocus(Item(Dlg::kFitCombo));
    GuiDriver::Pump(5ms);
  }
  void TypeRow(int row, const std::wstring& raw, const std::wstring& calibrated) {
    Type(RawField(row), raw);
    Type(CalField(row), calibrated);
  }

  // The pane's x pixel for sample `i`.
  int PaneX(int sample) const {
    RECT r{};
    ::GetClientRect(dialog_->Pane().hwnd(), &r);
    const int columns = r.right - 18;
    return sample * columns / (kStepLength * 5);
  }
  // Marks the pane from sample `from` to sample `to` by dragging.
  void Mark(int from, int to) {
    const HWND pane = dialog_->Pane().hwnd();
    ::PostMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(PaneX(from), 20));
    ::PostMessageW(pane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(PaneX(to), 20));
    ::PostMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(PaneX(to), 20));
    GuiDriver::Pump(20ms);
  }
  void DoubleClick(int sample) {
    const HWND pane = dialog_->Pane().hwnd();
    const LPARAM at = MAKELPARAM(PaneX(sample), 20);
    ::PostMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(pane, WM_LBUTTONUP, 0, at);
    ::PostMessageW(pane, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(pane, WM_LBUTTONUP, 0, at);
    GuiDriver::Pump(20ms);
  }
  // Takes step `step`'s mean into the raw field of `row` with the row's take button, and types
  // the calibrated value.
  void TakeStep(int row, int step, const std::wstring& calibrated) {
    Mark(step * kStepLength + 5, step * kStepLength + kStepLength - 5);
    ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kFirstTake + row)));
    GuiDriver::Pump(5ms);
    EXPECT_EQ(::GetFocus(), CalField(row));
    Type(CalField(row), calibrated);
  }
  HWND Focused() const { return ::GetFocus(); }

  Vela::InProcessHost host_;
  Tarn::ComPtr<Host::IUnitCollection> units_;
  Tarn::ComPtr<Vela::HostDocument> document_;
  Tarn::ComPtr<Host::IHostSelection> selection_;
  CalibrationSettings caller_;
  std::unique_ptr<Dlg> dialog_;
};

TEST_F(CalibrationDialogTest, OpensOnTheChannelWithTwelveRowsTheFitNamesAndACleanLayout) {
  MakeDocument();
  const HWND hwnd = Open();
  const std::wstring caption = GuiDriver::Text(hwnd);
  EXPECT_EQ(caption, Tarn::ModuleString(278) + L"1");
  EXPECT_TRUE(caption.ends_with(L"Channel 1"));
  for (int row = 0; row < kCalibrationRows; ++row) {
    EXPECT_TRUE(GuiDriver::IsUsable(RawField(row))) << row;
    EXPECT_TRUE(GuiDriver::IsUsable(CalField(row))) << row;
    EXPECT_TRUE(GuiDriver::IsUsable(Item(Dlg::kFirstTake + row))) << row;
    EXPECT_EQ(GuiDriver::Text(RawField(row)), L"");
  }
  const HWND combo = Item(Dlg::kFitCombo);
  ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), kFitTypeCount);
  const wchar_t* names[] = {L"Linear",  L"Quadratic",   L"Cubic",       L"Quartic",
                            L"Quintic", L"Logarithmic", L"Exponential", L"Point to Point"};
  for (int t = 0; t < kFitTypeCount; ++t) {
    wchar_t text[64]{};
    ::SendMessageW(combo, CB_GETLBTEXT, t, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, names[t]);
  }
  // A fresh calibration opens in the Raw view on the selected raw samples, in the channel's
  // colour, with the scale in volts over the channel's display range.
  EXPECT_TRUE(GuiDriver::IsChecked(Item(Dlg::kRaw)));
  EXPECT_EQ(dialog_->Pane().GetState(), UnitConvertDataPane::Data);
  EXPECT_EQ(dialog_->Pane().SampleCount(), static_cast<std::size_t>(kStepLength * 5));
  EXPECT_EQ(dialog_->TraceColour(), RGB(0, 0, 200));
  double top = 0, bottom = 0;
  dialog_->Scale().GetRange(top, bottom);
  EXPECT_DOUBLE_EQ(top, 5.0);
  EXPECT_DOUBLE_EQ(bottom, 0.0);
  // The scale stands left of the pane, the pane inside the frame the dialog draws.
  RECT scale{}, pane{};
  ::GetWindowRect(dialog_->Scale().hwnd(), &scale);
  ::GetWindowRect(dialog_->Pane().hwnd(), &pane);
  EXPECT_EQ(pane.left, scale.right + 2);
  for (const std::string& fault : GuiDriver::LayoutFaults(hwnd))
    ADD_FAILURE() << fault;
}

TEST_F(CalibrationDialogTest, WithoutASelectionThePaneIsGreyAndAFitStillWorks) {
  MakeDocument(L"V", false);
  const HWND hwnd = Open();
  EXPECT_EQ(dialog_->Pane().GetState(), UnitConvertDataPane::NoSelection);
  const GuiDriver::Picture picture = GuiDriver::Capture(dialog_->Pane().hwnd());
  ASSERT_GT(picture.width, 4);
  EXPECT_EQ(picture.At(picture.width / 2, picture.height / 2), 0xC0C0C0u);
  // A take button on an empty pane writes nothing and leaves the focus on the button.
  ::SetFocus(Item(Dlg::kFitCombo));
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kFirstTake + 3)));
  EXPECT_EQ(GuiDriver::Text(RawField(3)), L"");
  EXPECT_EQ(GuiDriver::Text(CalField(3)), L"");
  EXPECT_EQ(Focused(), Item(Dlg::kFirstTake + 3));

  Boxes boxes;
  TypeRow(0, L"1", L"10");
  TypeRow(1, L"2", L"20");
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kCalculated)));
  EXPECT_TRUE(boxes.seen.empty());
  EXPECT_TRUE(GuiDriver::IsChecked(Item(Dlg::kCalculated)));
  EXPECT_EQ(dialog_->Pane().GetState(), UnitConvertDataPane::NoSelection);
  ASSERT_TRUE(GuiDriver::Click(Item(IDOK)));
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(caller_.rawValues, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(caller_.calibratedValues, (std::vector<double>{10.0, 20.0}));
  ASSERT_EQ(caller_.coefficients.size(), 2u);
  EXPECT_NEAR(caller_.coefficients[1], 10.0, 1e-9);
}

// Take buttons put a stretch's mean into a raw field and move on to its calibrated field; a
// double-click takes into the row after the focused calibrated field, and after the last row
// into row 0.
TEST_F(CalibrationDialogTest, TakeButtonsAndDoubleClicksFillTheRowsFromThePane) {
  MakeDocument();
  Open();
  TakeStep(0, 0, L"0");
  TakeStep(1, 1, L"50");
  EXPECT_EQ(GuiDriver::Text(RawField(0)), L"0.5 V");
  EXPECT_EQ(GuiDriver::Text(RawField(1)), L"1.5 V");

  ::SetFocus(CalField(1));
  DoubleClick(2 * kStepLength + 20);
  EXPECT_EQ(GuiDriver::Text(RawField(2)), L"2.5 V");
  EXPECT_EQ(Focused(), CalField(2));

  ::SetFocus(CalField(11));
  DoubleClick(3 * kStepLength + 20);
  EXPECT_EQ(GuiDriver::Text(RawField(0)), L"3.5 V");
  EXPECT_EQ(GuiDriver::Text(RawField(11)), L"");
  EXPECT_EQ(Focused(), CalField(0));

  // The focus anywhere else takes into row 0 too.
  ::SetFocus(Item(Dlg::kFitCombo));
  DoubleClick(4 * kStepLength + 20);
  EXPECT_EQ(GuiDriver::Text(RawField(0)), L"4.5 V");
}

TEST_F(CalibrationDialogTest, CalculatedViewShowsTheCalibratedSamplesAndTakesIntoCalibratedFields) {
  MakeDocument();
  const HWND hwnd = Open();
  Boxes boxes;
  TypeRow(0, L"0.5", L"0");
  TypeRow(1, L"4.5", L"200");
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kCalculated)));
  EXPECT_TRUE(boxes.seen.empty());
  ASSERT_EQ(dialog_->Pane().GetState(), UnitConvertDataPane::Data);
  const std::vector<float>& samples = dialog_->Pane().Samples();
  ASSERT_EQ(samples.size(), static_cast<std::size_t>(kStepLength * 5));
  for (int step = 0; step < 5; ++step)
    EXPECT_NEAR(samples[static_cast<std::size_t>(step * kStepLength)], 50.0 * step, 1e-3) << step;
  // The scale spans the calibrated data widened by a quarter about its centre.
  double top = 0, bottom = 0;
  dialog_->Scale().GetRange(top, bottom);
  EXPECT_NEAR(top, 225.0, 1e-3);
  EXPECT_NEAR(bottom, -25.0, 1e-3);

  // In this view a taken mean is calibrated: into the focused raw field's row, and the focus
  // moves on to the next row's raw field.
  ::SetFocus(RawField(2));
  DoubleClick(2 * kStepLength + 20);
  EXPECT_EQ(GuiDriver::Text(RawField(2)), L"");
  EXPECT_TRUE(GuiDriver::Text(CalField(2)).starts_with(L"100"))
      << Narrow(GuiDriver::Text(CalField(2)));
  EXPECT_EQ(Focused(), RawField(3));

  // Back to raw samples.
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kRaw)));
  EXPECT_NEAR(dialog_->Pane().Samples()[0], 0.5f, 1e-6);
  EXPECT_TRUE(::IsWindow(hwnd));
}

TEST_F(CalibrationDialogTest, RawFieldsTakeTheChannelsUnitAndStoreUnprefixedValues) {
  MakeDocument(L"mV", true, 1000.0f);
  const HWND hwnd = Open();
  Type(RawField(0), L"5");
  EXPECT_EQ(GuiDriver::Text(RawField(0)), L"5 mV");
  Type(RawField(1), L"0.0025 V");
  EXPECT_EQ(GuiDriver::Text(RawField(1)), L"2.5 mV");
  // Calibrated fields are left as typed.
  Type(CalField(0), L"1");
  Type(CalField(1), L"0.5");
  EXPECT_EQ(GuiDriver::Text(CalField(1)), L"0.5");
  // A take from the pane in this channel is in millivolts too.
  TakeStep(2, 4, L"9");
  EXPECT_EQ(GuiDriver::Text(RawField(2)), L"4500 mV");
  ASSERT_TRUE(GuiDriver::Click(Item(IDOK)));
  EXPECT_FALSE(::IsWindow(hwnd));
  ASSERT_EQ(caller_.rawValues.size(), 3u);
  EXPECT_DOUBLE_EQ(caller_.rawValues[0], 0.0025);
  EXPECT_DOUBLE_EQ(caller_.rawValues[1], 0.005);
  EXPECT_NEAR(caller_.rawValues[2], 4.5, 1e-6);
  EXPECT_TRUE(caller_.showCalculated);
}

TEST_F(CalibrationDialogTest, DecimalPlacesAreClampedToTheSpinsRange) {
  MakeDocument();
  Open();
  const struct {
    const wchar_t* typed;
    const wchar_t* shown;
  } cases[] = {{L"9", L"6"}, {L"3", L"3"}, {L"6", L"6"}, {L"42", L"6"}};
  for (const auto& c : cases) {
    Type(Item(Dlg::kDecimals), c.typed);
    EXPECT_EQ(GuiDriver::Text(Item(Dlg::kDecimals)), c.shown) << Narrow(c.typed);
  }
  TypeRow(0, L"1", L"1");
  TypeRow(1, L"2", L"2");
  Type(Item(Dlg::kDecimals), L"9");
  ASSERT_TRUE(GuiDriver::Click(Item(IDOK)));
  EXPECT_EQ(caller_.decimalPlaces, 6);
}

// Problems with the points are told only when calibrated output is asked for; the dialog then
// falls back to the Raw view and stays open.
TEST_F(CalibrationDialogTest, ProblemsAreToldOnlyWhenCalibratedOutputIsAskedFor) {
  struct Case {
    const char* label;
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    int fitType;
    int press;
    std::vector<std::wstring> messages;
  };
  const std::wstring repeated = Tarn::ModuleString(277);
  const std::wstring tooFew = Tarn::ModuleString(275);
  const Case cases[] = {
      {"repeat, Apply in Raw",
       {{L"1", L"1"}, {L"1 V", L"2"}, {L"2", L"3"}},
       Linear,
       Dlg::kApply,
       {}},
      {"repeat, Calculated",
       {{L"1", L"1"}, {L"1000 mV", L"2"}, {L"2", L"3"}},
       Linear,
       Dlg::kCalculated,
       {repeated}},
      {"repeat, OK", {{L"1", L"1"}, {L"1", L"2"}, {L"2", L"3"}}, Linear, IDOK, {repeated}},
      {"one point, OK", {{L"1", L"1"}}, Linear, IDOK, {tooFew}},
      {"two points, Quadratic, Calculated",
       {{L"1", L"1"}, {L"2", L"2"}},
       Quadratic,
       Dlg::kCalculated,
       {tooFew}},
      {"5 and 5 mV differ", {{L"5", L"1"}, {L"5 mV", L"2"}}, Linear, Dlg::kCalculated, {}},
  };
  for (const Case& c : cases) {
    MakeDocument();
    const HWND hwnd = Open();
    for (std::size_t i = 0; i < c.rows.size(); ++i)
      TypeRow(static_cast<int>(i), c.rows[i].first, c.rows[i].second);
    ASSERT_TRUE(GuiDriver::PickComboItem(Item(Dlg::kFitCombo), c.fitType)) << c.label;
    Boxes boxes;
    ASSERT_TRUE(GuiDriver::Click(Item(c.press))) << c.label;
    EXPECT_EQ(boxes.Texts(), c.messages) << c.label;
    for (const auto& box : boxes.seen) {
      EXPECT_EQ(box.caption, L"Multipoint Calibration") << c.label;
      EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP)) << c.label;
    }
    if (c.messages.empty()) {
      EXPECT_TRUE(c.press != IDOK);
    } else {
      EXPECT_TRUE(::IsWindow(hwnd)) << c.label;
      EXPECT_TRUE(GuiDriver::IsChecked(Item(Dlg::kRaw))) << c.label;
      EXPECT_TRUE(caller_.rawValues.empty()) << c.label;
    }
    dialog_.reset();
  }
}

// Settings saved from the Calculated view reopen in it when their points still fit; otherwise
// the user hears why and gets the Raw view.
TEST_F(CalibrationDialogTest, SavedCalculatedSettingsReopenInTheCalculatedViewWhenTheyFit) {
  struct Case {
    const char* label;
    std::vector<double> raw;
    std::vector<double> calibrated;
    bool calculated;
    std::vector<std::wstring> messages;
  };
  const Case cases[] = {
      {"two points", {0.5, 4.5}, {0.0, 200.0}, true, {}},
      {"one point", {0.5}, {0.0}, false, {Tarn::ModuleString(275)}},
  };
  for (const Case& c : cases) {
    MakeDocument();
    CalibrationSettings saved;
    saved.rawValues = c.raw;
    saved.calibratedValues = c.calibrated;
    saved.showCalculated = true;
    Boxes boxes;
    Open(saved);
    EXPECT_EQ(boxes.Texts(), c.messages) << c.label;
    EXPECT_EQ(GuiDriver::IsChecked(Item(Dlg::kCalculated)), c.calculated) << c.label;
    EXPECT_EQ(GuiDriver::Text(RawField(0)), L"0.5 V") << c.label;
    ASSERT_EQ(dialog_->Pane().GetState(), UnitConvertDataPane::Data) << c.label;
    EXPECT_NEAR(dialog_->Pane().Samples().back(), c.calculated ? 200.0f : 4.5f, 1e-3) << c.label;
    dialog_.reset();
  }
}

// OK from the Raw view stores the range the Calculated view would show: that of the selection's
// samples as the channel's calculation gets them, whatever the raw unit's prefix.
TEST_F(CalibrationDialogTest, OkFromTheRawViewStoresTheCalibratedRangeOfTheSelection) {
  const struct {
    const wchar_t* unit;
    float scale;
    const wchar_t* low;
    const wchar_t* high;
  } cases[] = {{L"V", 1.0f, L"0.5", L"4.5"}, {L"mV", 1000.0f, L"500", L"4500"}};
  for (const auto& c : cases) {
    MakeDocument(c.unit, true, c.scale);
    Open();
    TypeRow(0, c.low, L"0");
    TypeRow(1, c.high, L"200");
    ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kCalculated)));
    ASSERT_TRUE(GuiDriver::IsChecked(Item(Dlg::kCalculated))) << c.unit;
    const double shownTop = dialog_->Model().Work().rangeTop;
    const double shownBottom = dialog_->Model().Work().rangeBottom;
    ASSERT_TRUE(std::isfinite(shownTop) && shownTop > shownBottom) << c.unit;
    ASSERT_TRUE(GuiDriver::Click(Item(IDCANCEL)));

    const HWND hwnd = Open();
    TypeRow(0, c.low, L"0");
    TypeRow(1, c.high, L"200");
    EXPECT_TRUE(GuiDriver::IsChecked(Item(Dlg::kRaw)));
    ASSERT_TRUE(GuiDriver::Click(Item(IDOK)));
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(caller_.showCalculated);
    EXPECT_NEAR(caller_.rangeTop, shownTop, 1e-6 * std::fabs(shownTop)) << c.unit;
    EXPECT_NEAR(caller_.rangeBottom, shownBottom, 1e-6 * std::fabs(shownTop)) << c.unit;
    // The same pressures whatever the prefix: a mV channel's calculation gets volts.
    EXPECT_NEAR(caller_.rangeTop, 225.0, 1e-3) << c.unit;
    EXPECT_NEAR(caller_.rangeBottom, -25.0, 1e-3) << c.unit;
    dialog_.reset();
    document_.reset();
    selection_.reset();
  }
}

TEST_F(CalibrationDialogTest, HelpAsksTheHostsHelpServiceForTheSetupTopic) {
  MakeDocument();
  Open();
  Vela::HostUnitListService& service = Vela::HostApplication::Instance().ApplicationService();
  service.ClearHelpCalls();
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kHelp)));
  const std::vector<Vela::HelpCall> calls = service.HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].topic, L"mp_setup");
  EXPECT_EQ(calls[0].book, L"MultipointCalibrationHelp");
}

TEST_F(CalibrationDialogTest, TypedNumbersTakeTheUsersDecimalComma) {
  (void)Tarn::LocaleInfo::Get();
  const std::locale previous = std::locale::global(Tarn::LocaleInfo::MakeStreamLocale(L',', L'.'));
  MakeDocument();
  const HWND hwnd = Open();
  Type(RawField(0), L"0,25");
  Type(CalField(0), L"1,5");
  Type(RawField(1), L"2");
  Type(CalField(1), L"3");
  const std::wstring shown = GuiDriver::Text(RawField(0));
  ASSERT_TRUE(GuiDriver::Click(Item(IDOK)));
  std::locale::global(previous);
  EXPECT_EQ(shown, L"0,25 V");
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(caller_.rawValues, (std::vector<double>{0.25, 2.0}));
  EXPECT_EQ(caller_.calibratedValues, (std::vector<double>{1.5, 3.0}));
}

// Run modally as the settings entry runs it: the fit, the curve dialog with its changes coming
// back, then OK or Cancel.
TEST_F(CalibrationDialogTest, RunModallyOkWritesTheSettingsBackAndCancelLeavesThemAlone) {
  for (const int closeWith : {IDOK, IDCANCEL}) {
    MakeDocument();
    CalibrationSettings settings;
    settings.decimalPlaces = 2;
    std::wstring fitText;
    int curveSeen = 0;
    GuiDriver::ModalAnswerer answerer(20000ms);
    answerer
        .Then([&](HWND dialog) {
          auto item = [dialog](int id) { return ::GetDlgItem(dialog, id); };
          const wchar_t* raw[] = {L"4.5", L"0.5", L"2.5"};
          const wchar_t* cal[] = {L"200", L"0", L"100"};
          for (int row = 0; row < 3; ++row) {
            GuiDriver::TypeText(item(Dlg::kFirstRaw + row), raw[row]);
            GuiDriver::TypeText(item(Dlg::kFirstCal + row), cal[row]);
          }
          GuiDriver::PickComboItem(item(Dlg::kFitCombo), Quadratic);
          // The curve dialog opens nested; its answer comes from the next action.
          GuiDriver::Click(item(Dlg::kFit));
          fitText = GuiDriver::Text(item(Dlg::kFitCombo));
          GuiDriver::Click(item(closeWith));
        })
        .Then([&](HWND curve) {
          ++curveSeen;
          GuiDriver::PickComboItem(::GetDlgItem(curve, MPCalReportDialog::kFitCombo), Linear);
          GuiDriver::PickComboItem(::GetDlgItem(curve, MPCalReportDialog::kFitCombo), PointToPoint);
          GuiDriver::Click(::GetDlgItem(curve, IDOK));
        });
    const INT_PTR result =
        RunCalibrationDialog(nullptr, 0, units_.get(), document_.get(), selection_.get(), settings);
    EXPECT_EQ(result, closeWith);
    EXPECT_EQ(answerer.WatchdogEnded(), 0);
    EXPECT_EQ(curveSeen, 1);
    ASSERT_GE(answerer.Seen().size(), 2u);
    EXPECT_TRUE(answerer.Seen()[0].caption.ends_with(L"Channel 1"));
    EXPECT_EQ(fitText, L"Point to Point");
    if (closeWith == IDOK) {
      EXPECT_EQ(settings.rawValues, (std::vector<double>{0.5, 2.5, 4.5}));
      EXPECT_EQ(settings.calibratedValues, (std::vector<double>{0.0, 100.0, 200.0}));
      EXPECT_EQ(settings.fitType, PointToPoint);
      EXPECT_TRUE(settings.showCalculated);
    } else {
      EXPECT_TRUE(settings.rawValues.empty());
      EXPECT_FALSE(settings.showCalculated);
    }
    document_.reset();
    selection_.reset();
    EXPECT_EQ(LiveObjectCounter::Count(), 0);
  }
}

// Pictures of the raw view, the calculated view and the dialog without a selection.
TEST(CalibrationDialogPictures, RawCalculatedAndNoSelection) {
  Vela::InProcessHost host;
  ASSERT_EQ(host.Status(), S_OK);
  Tarn::LocaleInfo::SetMessageBoxEnabled(false);
  HostServices::ResetForTesting();
  CDragScale::ResetFactoryForTesting();
  const std::wstring suffix = GuiDriver::ExpectedDpi() == 144 ? L"-144" : L"";
  Tarn::ComPtr<Host::IUnitCollection> units;
  ASSERT_EQ(HostServices::UnitListService()->GetUnitList(units.put()), S_OK);
  for (const bool select : {true, false}) {
    auto recording = std::make_shared<Vela::Recording>();
    Vela::Recording::Channel channel;
    channel.name = L"Pressure";
    channel.unit = L"V";
    channel.top = 5.0;
    channel.bottom = 0.0;
    recording->AddChannel(channel);
    Vela::Recording::Block block;
    std::vector<float> samples;
    for (const float step : kSteps)
      for (int i = 0; i < kStepLength; ++i)
        samples.push_back(step + 0.02f * static_cast<float>(std::sin(i * 0.7)));
    block.length = samples.size();
    block.samples = {std::move(samples)};
    recording->AddBlock(std::move(block));
    auto document = Tarn::ComPtr<Vela::HostDocument>::Adopt(Vela::HostDocument::Create(recording));
    Tarn::ComPtr<Host::IHostSelection> selection;
    ASSERT_EQ(document->GetSelection(selection.put()), S_OK);
    if (select) {
      ASSERT_EQ(selection->SetExtent(0, 0, kStepLength * 5 - 1, 0), S_OK);
    }
    CalibrationSettings settings;
    settings.rawValues = {0.5, 1.5, 2.5, 3.5, 4.5};
    settings.calibratedValues = {0.0, 50.0, 100.0, 150.0, 200.0};
    settings.fitType = Quadratic;
    settings.decimalPlaces = 2;
    MPCalibrationDialog dialog(0, units.get(), document.get(), selection.get(), settings);
    const HWND hwnd = GuiDriver::ShowModeless(dialog);
    ASSERT_NE(hwnd, nullptr);
    for (const std::string& fault : GuiDriver::LayoutFaults(hwnd))
      ADD_FAILURE() << fault;
    if (!select) {
      EXPECT_FALSE(
          GuiDriver::CaptureToPng(hwnd, L"calibration-dialog-no-selection" + suffix).empty());
      continue;
    }
    EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"calibration-dialog-raw" + suffix).empty());
    ASSERT_TRUE(GuiDriver::Click(dialog.Item(MPCalibrationDialog::kCalculated)));
    GuiDriver::Pump(20ms);
    EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"calibration-dialog-calculated" + suffix).empty());
  }
  HostServices::ResetForTesting();
  EXPECT_EQ(LiveObjectCounter::Count(), 0);
}

} // namespace
} // namespace MPCalibration

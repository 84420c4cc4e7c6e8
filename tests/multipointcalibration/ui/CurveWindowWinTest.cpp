// The calibration curve dialog through its real template under Wine, over the reference host's
// drag scales: refits from the combo and the force-origin box, the points table, the graph's
// points and curve against its scales, the read-outs, OK and Cancel, and pictures.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "InProcessHost.h"
#include "fitting/EvaluateFit.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/LocaleInfo.h"
#include "multipointcalibration/ui/DragScale.h"
#include "multipointcalibration/ui/MPCalReportDialog.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "plotting/CalibrationCurve.h"
#include "plotting/CalibrationReport.h"
#include "plotting/PlotGeometry.h"
#include "window/win/MessageBox.h"

namespace MPCalibration {
namespace {

using namespace std::chrono_literals;
using Dlg = MPCalReportDialog;

Tarn::UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name) {
  Tarn::UnitInfo unit;
  unit.prefixIndex = prefixIndex;
  unit.name = name;
  return unit;
}
constexpr std::int32_t kMilli = 7;
constexpr std::int32_t kKilo = 9;

// Raw values in volts, calibrated values in the working unit's prefix, fitted as `type`.
CalibrationSettings Calibration(std::vector<double> raw, std::vector<double> calibrated,
                                std::int32_t type = Linear,
                                Tarn::UnitInfo unit = Unit(kKilo, L"Pa")) {
  CalibrationSettings s;
  s.rawValues = std::move(raw);
  s.calibratedValues = std::move(calibrated);
  s.fitType = type;
  s.unit = std::move(unit);
  s.decimalPlaces = 2;
  EXPECT_TRUE(Fit(s));
  return s;
}

CalibrationSettings FivePoints() {
  return Calibration({0.001, 0.002, 0.003, 0.004, 0.005}, {10.0, 21.0, 29.0, 41.0, 50.0});
}

std::uint32_t Pixel(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (g << 8) | b;
}

using Boxes = GuiDriver::RecordedBoxes;

class CurveWindow : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    Tarn::LocaleInfo::SetMessageBoxEnabled(false);
    HostServices::ResetForTesting();
    CDragScale::ResetFactoryForTesting();
  }
  void TearDown() override {
    dialog_.reset();
    GuiDriver::Pump(10ms);
    EXPECT_EQ(LiveObjectCounter::Count(), 0);
    CDragScale::ResetFactoryForTesting();
    HostServices::ResetForTesting();
  }

  HWND Open(const CalibrationSettings& settings, Tarn::UnitInfo raw = Unit(kMilli, L"V")) {
    caller_ = settings;
    dialog_ = std::make_unique<Dlg>(raw, caller_, 0, nullptr);
    const HWND hwnd = GuiDriver::ShowModeless(*dialog_);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
  }
  HWND Item(int id) const { return dialog_->Item(id); }
  const GUILib::TabulatedTable& Points() const { return dialog_->TableData().Table(); }
  std::int64_t Rows(std::int64_t column) const {
    std::int64_t rows = 0;
    EXPECT_EQ(Points().GetRowCount(column, rows), S_OK);
    return rows;
  }

  Vela::InProcessHost host_;
  CalibrationSettings caller_;
  std::unique_ptr<Dlg> dialog_;
};

TEST_F(CurveWindow, OpensOnTheChannelWithTheFitAndItsTextsAndLaysOutCleanly) {
  const HWND hwnd = Open(FivePoints());
  const std::wstring caption = GuiDriver::Text(hwnd);
  EXPECT_TRUE(caption.ends_with(L"Channel 1")) << std::string(caption.begin(), caption.end());
  EXPECT_EQ(caption, dialog_->Title());
  EXPECT_EQ(GuiDriver::ComboSelection(Item(Dlg::kFitCombo)), Linear);
  EXPECT_EQ(GuiDriver::Text(Item(Dlg::kFitType)), Tarn::ModuleString(257));
  EXPECT_TRUE(GuiDriver::Text(Item(Dlg::kEquation)).starts_with(L"y = "));
  EXPECT_NE(GuiDriver::Text(Item(Dlg::kFitError)).find(L"R\u00b2 = "), std::wstring::npos);
  EXPECT_TRUE(::IsWindowEnabled(Item(Dlg::kForceOrigin)));
  EXPECT_FALSE(::IsWindowVisible(Item(Dlg::kHelp)));
  // Five points, numbered, in mV and kPa as the user typed them.
  EXPECT_EQ(Rows(0), 5);
  float raw = 0, calibrated = 0;
  std::size_t fetched = 0;
  ASSERT_EQ(Points().GetValues(1, 1, {&raw, 1}, fetched), S_OK);
  ASSERT_EQ(Points().GetValues(2, 1, {&calibrated, 1}, fetched), S_OK);
  EXPECT_FLOAT_EQ(raw, 2.0f);
  EXPECT_FLOAT_EQ(calibrated, 21.0f);
  for (const std::string& fault : GuiDriver::LayoutFaults(hwnd))
    ADD_FAILURE() << fault;
}

TEST_F(CurveWindow, RefitsFromTheComboAndRefusesWhatThePointsCannotCarry) {
  struct Case {
    int pick;
    std::uint32_t message; // 0: the fit is taken
    int shownAfter;
  };
  const Case cases[] = {
      {Quintic, 275, Linear}, // five points are one too few
      {Quadratic, 0, Quadratic},
      {Quartic, 0, Quartic},
      {PointToPoint, 0, PointToPoint},
  };
  Open(FivePoints());
  for (const Case& c : cases) {
    Boxes boxes;
    ASSERT_TRUE(GuiDriver::PickComboItem(Item(Dlg::kFitCombo), c.pick));
    EXPECT_EQ(GuiDriver::ComboSelection(Item(Dlg::kFitCombo)), c.shownAfter) << c.pick;
    EXPECT_EQ(dialog_->Work().fitType, c.shownAfter);
    EXPECT_EQ(dialog_->GraphWindow().Settings().fitType, c.shownAfter);
    if (c.message) {
      ASSERT_EQ(boxes.seen.size(), 1u);
      EXPECT_EQ(boxes.seen[0].text, Tarn::ModuleString(c.message));
      EXPECT_EQ(boxes.seen[0].caption, Tarn::ModuleString(250));
      EXPECT_EQ(boxes.seen[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    } else {
      EXPECT_TRUE(boxes.seen.empty()) << c.pick;
    }
  }
  // Point to point: its own equation text, no fit error, a curve through every point.
  EXPECT_TRUE(GuiDriver::Text(Item(Dlg::kEquation)).ends_with(Tarn::ModuleString(276)));
  EXPECT_EQ(GuiDriver::Text(Item(Dlg::kFitError)), L"");
  const GUILib::TabulatedTable& curve = dialog_->GraphWindow().CurveData();
  const auto& x = curve.Columns()[GUILib::kCurveXColumn]->values;
  const auto& y = curve.Columns()[GUILib::kCurveYColumn]->values;
  for (std::size_t i = 0; i < caller_.PointCount(); ++i) {
    const auto at = std::find(x.begin(), x.end(), static_cast<float>(caller_.rawValues[i] * 1000));
    ASSERT_NE(at, x.end()) << i;
    EXPECT_FLOAT_EQ(y[at - x.begin()], static_cast<float>(caller_.calibratedValues[i]));
  }
}

TEST_F(CurveWindow, ForceOriginAddsTheBoldOriginRowOnlyWhileAPolynomialIsForced) {
  // Exponential data, so that the exponential can be reached from a forced line.
  Open(Calibration({0.001, 0.002, 0.003, 0.004}, {2.0, 4.1, 7.9, 16.2}));
  ASSERT_TRUE(GuiDriver::Click(Item(Dlg::kForceOrigin)));
  EXPECT_TRUE(GuiDriver::IsChecked(Item(Dlg::kForceOrigin)));
  EXPECT_TRUE(dialog_->Work().forceOrigin);
  EXPECT_EQ(Rows(0), 4); // the origin row has no number
  EXPECT_EQ(Rows(1), 5);
  EXPECT_EQ(Rows(2), 5);
  EXPECT_EQ(dialog_->BoldRows(), (std::set<int>{5})); // after the header and four points
  EXPECT_EQ(GuiDriver::Text(Item(Dlg::kFitError)).find(L"R\u00b2"), std::wstring::npos);
  const std::wstring copied = GUILib::ReportCopyText(Points(), 2, std::locale::classic());
  EXPECT_TRUE(copied.ends_with(L"*\t0.00\t0.00\t\n"));

  Boxes boxes;
  ASSERT_TRUE(GuiDriver::PickComboItem(Item(Dlg::kFitCombo), Exponential));
  EXPECT_TRUE(boxes.seen.empty());
  EXPECT_EQ(dialog_->Work().fitType, Exponential);
  EXPECT_FALSE(dialog_->Work().forceOrigin);
  EXPECT_NE(dialog_->Work().coefficients.at(0), 0.0); // the amplitude is fitted, not held at 0
  EXPECT_FALSE(::IsWindowEnabled(Item(Dlg::kForceOrigin)));
  EXPECT_FALSE(GuiDriver::IsChecked(Item(Dlg::kForceOrigin)));
  EXPECT_EQ(Rows(1), 4);
  EXPECT_TRUE(dialog_->BoldRows().empty());
  EXPECT_NE(GuiDriver::Text(Item(Dlg::kFitError)).find(L"R\u00b2 = "), std::wstring::npos);
}

// kPa values are already in the working unit's prefix: the points lie inside both axes, on the
// pixels the scales map them to.
TEST_F(CurveWindow, KilopascalPointsSitInsideBothAxesOnTheirPixels) {
  Open(Calibration({0.010, 0.020, 0.030}, {100.0, 200.0, 310.0}));
  MPCalibrationWnd& window = dialog_->GraphWindow();
  const GUILib::HostAxisScale& h = window.Graph().HorizontalScale();
  const GUILib::HostAxisScale& v = window.Graph().VerticalScale();
  const GUILib::AxisRange hr = h.GetRange(), vr = v.GetRange();
  EXPECT_NEAR(hr.low, 5.0, 1e-9); // 20 mV ± 15 mV
  EXPECT_NEAR(hr.high, 35.0, 1e-9);
  EXPECT_NEAR(vr.low, 47.5, 1e-9); // 205 kPa ± 157.5 kPa
  EXPECT_NEAR(vr.high, 362.5, 1e-9);

  ::UpdateWindow(window.Graph().hwnd());
  const GuiDriver::Picture picture = GuiDriver::Capture(window.Graph().hwnd());
  for (std::size_t i = 0; i < caller_.PointCount(); ++i) {
    const int px = GUILib::ValueToPixel(caller_.rawValues[i] * 1000, h.Transform(), 0);
    const int py = GUILib::ValueToPixel(caller_.calibratedValues[i], v.Transform(), 0);
    ASSERT_TRUE(px > 0 && px < picture.width && py > 0 && py < picture.height) << i;
    EXPECT_EQ(picture.At(px, py), Pixel(255, 0, 0)) << i;
  }
}

TEST_F(CurveWindow, AWiderHorizontalRangeRedrawsTheCurveWith101SamplesOverIt) {
  Open(FivePoints());
  MPCalibrationWnd& window = dialog_->GraphWindow();
  struct Case {
    double high, low;
  };
  for (const Case& c : {Case{20.0, -10.0}, Case{100.0, 50.0}}) {
    window.HorizontalScale().SetRange(c.high, c.low);
    GuiDriver::Pump(10ms);
    const auto& x = window.CurveData().Columns()[GUILib::kCurveXColumn]->values;
    const auto& y = window.CurveData().Columns()[GUILib::kCurveYColumn]->values;
    ASSERT_EQ(x.size(), 101u);
    const double step = static_cast<float>((c.high - c.low) / 1000 / 101) * 1000;
    EXPECT_NEAR(x.front(), c.low, 1e-4);
    EXPECT_NEAR(x.back(), c.low + 100 * step, 1e-3);
    // Linear: y follows the coefficients at every sample.
    std::vector<double> expected{x.back() / 1000.0};
    EvaluateFit(Linear, caller_.coefficients, expected);
    EXPECT_NEAR(y.back(), expected[0], 1e-2 * std::fabs(expected[0]));
  }
}

TEST_F(CurveWindow, TheCursorOverAPointFillsTheReadOutsAndLeavingClearsThem) {
  Open(FivePoints());
  MPCalibrationWnd& window = dialog_->GraphWindow();
  const GUILib::HostAxisScale& h = window.Graph().HorizontalScale();
  const GUILib::HostAxisScale& v = window.Graph().VerticalScale();
  const POINT third{GUILib::ValueToPixel(3.0, h.Transform(), 0),
                    GUILib::ValueToPixel(29.0, v.Transform(), 0)};
  GuiDriver::MoveMouse(window.Graph().hwnd(), third);
  GuiDriver::Pump(10ms);
  EXPECT_EQ(window.XReadOut().Text(), L"x = 3.00 mV");
  EXPECT_EQ(window.YReadOut().Text(), L"y = 29.00 kPa");
  ::SendMessageW(window.Graph().hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(window.XReadOut().Text(), L"");
  EXPECT_EQ(window.YReadOut().Text(), L"");
}

TEST_F(CurveWindow, TheEquationTakesTheUsersDecimalComma) {
  (void)Tarn::LocaleInfo::Get();
  const std::locale previous = std::locale::global(Tarn::LocaleInfo::MakeStreamLocale(L',', L'.'));
  Open(Calibration({0.001, 0.002}, {2.5, 5.0}));
  const std::wstring equation = GuiDriver::Text(Item(Dlg::kEquation));
  std::locale::global(previous);
  EXPECT_NE(equation.find(L"2500x"), std::wstring::npos)
      << std::string(equation.begin(), equation.end());
  EXPECT_NE(equation.find(L','), std::wstring::npos);
  EXPECT_EQ(equation.find(L'.'), std::wstring::npos);
}

// Run modally as the main dialog will: OK hands the refitted copy back, Cancel none of it.
TEST_F(CurveWindow, OkWritesTheWorkingCopyBackAndCancelLeavesTheCallersSettings) {
  for (const int closeWith : {IDOK, IDCANCEL}) {
    CalibrationSettings settings = FivePoints();
    GuiDriver::ModalAnswerer answerer;
    answerer.Then([closeWith](HWND dialog) {
      GuiDriver::PickComboItem(::GetDlgItem(dialog, Dlg::kFitCombo), Cubic);
      GuiDriver::Click(::GetDlgItem(dialog, Dlg::kForceOrigin));
      GuiDriver::Click(::GetDlgItem(dialog, closeWith));
    });
    const INT_PTR result = RunCurveDialog(nullptr, 2, Unit(kMilli, L"V"), settings, nullptr);
    EXPECT_EQ(result, closeWith);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_TRUE(answerer.Seen()[0].caption.ends_with(L"Channel 3"));
    EXPECT_EQ(answerer.WatchdogEnded(), 0);
    EXPECT_EQ(settings.fitType, closeWith == IDOK ? Cubic : Linear);
    EXPECT_EQ(settings.forceOrigin, closeWith == IDOK);
    EXPECT_EQ(LiveObjectCounter::Count(), 0);
  }
}

// Pictures: several fit types, force origin, a zoom and the read-out.
TEST(CurvePictures, FitTypesForceOriginZoomAndReadOut) {
  Vela::InProcessHost host;
  ASSERT_EQ(host.Status(), S_OK);
  HostServices::ResetForTesting();
  CDragScale::ResetFactoryForTesting();
  Tarn::LocaleInfo::SetMessageBoxEnabled(false);
  const std::wstring suffix = GuiDriver::ExpectedDpi() == 144 ? L"-144" : L"";
  CalibrationSettings settings =
      Calibration({0.001, 0.002, 0.003, 0.004, 0.005, 0.006}, {3.0, 9.5, 14.0, 26.0, 33.0, 52.0});
  {
    Dlg dialog(Unit(kMilli, L"V"), settings, 0, nullptr);
    const HWND hwnd = GuiDriver::ShowModeless(dialog);
    ASSERT_NE(hwnd, nullptr);
    for (const std::string& fault : GuiDriver::LayoutFaults(hwnd))
      ADD_FAILURE() << fault;
    struct Shot {
      int fitType;
      const wchar_t* name;
    };
    for (const Shot& shot :
         {Shot{Linear, L"curve-linear"}, Shot{Cubic, L"curve-cubic"},
          Shot{Exponential, L"curve-exponential"}, Shot{PointToPoint, L"curve-point-to-point"}}) {
      ASSERT_TRUE(GuiDriver::PickComboItem(dialog.Item(Dlg::kFitCombo), shot.fitType));
      GuiDriver::Pump(20ms);
      EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, shot.name + suffix).empty());
    }
    ASSERT_TRUE(GuiDriver::PickComboItem(dialog.Item(Dlg::kFitCombo), Quadratic));
    ASSERT_TRUE(GuiDriver::Click(dialog.Item(Dlg::kForceOrigin)));
    GuiDriver::Pump(20ms);
    EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"curve-force-origin" + suffix).empty());

    MPCalibrationWnd& window = dialog.GraphWindow();
    // The corner under the vertical scale has the scales' face, and the table's window ends on
    // its last whole row: its bottom line is the frame.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const GuiDriver::Picture whole = GuiDriver::Capture(window.hwnd());
    EXPECT_EQ(whole.At(2, whole.height - 2),
              Pixel(GetRValue(face), GetGValue(face), GetBValue(face)));
    const GuiDriver::Picture table = GuiDriver::Capture(dialog.Item(Dlg::kTable));
    std::vector<int> lines;
    for (int y = table.height - 1; y >= 0 && lines.size() < 3; --y)
      if (table.At(table.width / 2, y) == Pixel(0, 0, 0))
        lines.push_back(y);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], table.height - 1);
    EXPECT_EQ(lines[0] - lines[1], lines[1] - lines[2]) << "the last row as high as the others";
    const HWND graph = window.Graph().hwnd();
    RECT client;
    ::GetClientRect(graph, &client);
    ASSERT_TRUE(GuiDriver::Drag(graph, {client.right / 4, client.bottom / 4},
                                {client.right / 2, client.bottom * 3 / 4}));
    ASSERT_TRUE(window.Graph().RunCommand(GUILib::CGraph2D::kZoomSelectionCommand));
    GuiDriver::Pump(20ms);
    const GUILib::HostAxisScale& h = window.Graph().HorizontalScale();
    const GUILib::HostAxisScale& v = window.Graph().VerticalScale();
    GuiDriver::MoveMouse(graph, {GUILib::ValueToPixel(2.0, h.Transform(), 0),
                                 GUILib::ValueToPixel(9.5, v.Transform(), 0)});
    GuiDriver::Pump(20ms);
    EXPECT_FALSE(window.XReadOut().Text().empty());
    EXPECT_FALSE(GuiDriver::CaptureToPng(hwnd, L"curve-zoom-readout" + suffix).empty());
  }
  GuiDriver::Pump(10ms);
  EXPECT_EQ(LiveObjectCounter::Count(), 0);
  CDragScale::ResetFactoryForTesting();
  HostServices::ResetForTesting();
}

} // namespace
} // namespace MPCalibration

// The report of the curve dialog through real windows under Wine: the copy-format dialog, the
// clipboard's text and metafile, and the metafile played back as a picture.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "HostDocument.h"
#include "HostPrintJob.h"
#include "InProcessHost.h"
#include "controls/win/DialogFonts.h"
#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/UniqueHandle.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ui/DragScale.h"
#include "multipointcalibration/ui/MPCalCopySelect.h"
#include "multipointcalibration/ui/MPCalReportDialog.h"
#include "multipointcalibration/ui/ReportCopy.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "plotting/CalibrationCurve.h"
#include "plotting/CalibrationReport.h"
#include "plotting/win/DataPlotXY.h"
#include "plotting/win/Graph2D.h"
#include "plotting/win/Table2D.h"
#include "plotting/win/TabulatedData.h"
#include "window/win/BaseWindow.h"

namespace MPCalibration {
namespace {

using namespace std::chrono_literals;

class ReportParent : public Tarn::Window::BaseWindow<ReportParent> {
public:
  static constexpr const wchar_t* ClassName = L"ReportTestParent";
  bool Create(int width, int height) {
    return CreateWindowHandle(0, L"Report", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 40, 40, width,
                              height, nullptr) != nullptr;
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd(), message, wParam, lParam);
  }
};

Tarn::UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name) {
  Tarn::UnitInfo u;
  u.prefixIndex = prefixIndex;
  u.name = name;
  return u;
}

std::wstring ClipboardText() {
  Tarn::unique_clipboard clipboard = Tarn::unique_clipboard::Open(nullptr);
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data)
    return L"<none>";
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  const std::size_t units = ::GlobalSize(data) / sizeof(wchar_t);
  std::wstring copied(text, units);
  ::GlobalUnlock(data);
  return copied;
}

Tarn::unique_henhmetafile ClipboardMetafile() {
  Tarn::unique_clipboard clipboard = Tarn::unique_clipboard::Open(nullptr);
  auto picture = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
  return Tarn::unique_henhmetafile(picture ? ::CopyEnhMetaFileW(picture, nullptr) : nullptr);
}

std::vector<std::wstring> MetafileTexts(HENHMETAFILE picture) {
  std::vector<std::wstring> texts;
  ::EnumEnhMetaFile(
      nullptr, picture,
      [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) -> int {
        if (record->iType == EMR_EXTTEXTOUTW) {
          const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
          const auto* chars = reinterpret_cast<const wchar_t*>(
              reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
          reinterpret_cast<std::vector<std::wstring>*>(found)->emplace_back(chars,
                                                                            out->emrtext.nChars);
        }
        return 1;
      },
      &texts, nullptr);
  return texts;
}

class ReportWin : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host_.Status(), S_OK);
    HostServices::ResetForTesting();
    CDragScale::ResetFactoryForTesting();
    TarnControls::DialogFonts::Shared().EnsureBuilt();
  }
  void TearDown() override {
    parent_.reset();
    CDragScale::ResetFactoryForTesting();
    HostServices::ResetForTesting();
  }

  // The curve dialog's parts as the curve window lays them out: the graph between its vertical
  // and horizontal scales on the left, the points table on the right.
  void Build(CalibrationSettings settings, const Tarn::UnitInfo& raw) {
    settings_ = std::move(settings);
    ASSERT_TRUE(Fit(settings_));
    parent_ = std::make_unique<ReportParent>();
    ASSERT_TRUE(parent_->Create(600, 400));
    const int textHeight = TarnControls::DialogFonts::Shared().TextExtent().cy;
    const GUILib::CurveUnits units{raw, settings_.unit};
    vertical_ = std::make_unique<CDragScale>();
    horizontal_ = std::make_unique<CDragScale>();
    vertical_->Create(parent_->hwnd(), RECT{4, 22, 84, 245}, textHeight, CDragScale::kVertical);
    horizontal_->Create(parent_->hwnd(), RECT{84, 245, 374, 300}, textHeight,
                        CDragScale::kHorizontal);
    const GUILib::CurveRanges ranges = GUILib::CurveStartingRanges(settings_, raw);
    vertical_->SetRange(ranges.vertical.high, ranges.vertical.low);
    horizontal_->SetRange(ranges.horizontal.high, ranges.horizontal.low);

    curve_ = GUILib::CTabulatedData::Create();
    GUILib::FillCurveData(curve_->EditTable(), settings_, units,
                          {Tarn::ModuleString(100), Tarn::ModuleString(101)}, ranges.horizontal);
    graph_ = std::make_unique<GUILib::CGraph2D>();
    ASSERT_NE(graph_->Create(parent_->hwnd(), {84, 22, 374, 245}), nullptr);
    graph_->SetData(curve_.get());
    graph_->SetScales(horizontal_->AxisScale().get(), vertical_->AxisScale().get());
    struct Plot {
      std::int64_t x, y;
      int type, size;
      COLORREF colour;
    };
    for (const Plot& p : {Plot{GUILib::kPointXColumn, GUILib::kPointYColumn,
                               GUILib::DataPlotXY::Points, 3, RGB(255, 0, 0)},
                          Plot{GUILib::kOrdinalXColumn, GUILib::kOrdinalYColumn,
                               GUILib::DataPlotXY::Ordinal, 6, RGB(0, 0, 0)},
                          Plot{GUILib::kCurveXColumn, GUILib::kCurveYColumn,
                               GUILib::DataPlotXY::Lines, 1, RGB(0, 0, 255)}}) {
      ASSERT_TRUE(graph_->AddPlot(p.x, p.y));
      GUILib::PlotInfo* plot = graph_->GetPlot({p.x, p.y});
      ASSERT_NE(plot, nullptr);
      plot->SetColour(p.colour);
      plot->Plot().SetLayer(0, p.type, p.size, p.colour);
    }
    // Recompute may have widened the ranges; the curve spans the horizontal one.
    double right = 0.0, left = 0.0;
    horizontal_->GetRange(right, left);
    GUILib::FillCurveData(curve_->EditTable(), settings_, units,
                          {Tarn::ModuleString(100), Tarn::ModuleString(101)}, {right, left});
    graph_->Recompute();

    points_ = GUILib::CTabulatedData::Create();
    const auto origin = GUILib::FillPointsTable(points_->EditTable(), settings_, units);
    ASSERT_TRUE(table_.Create(parent_->hwnd(), RECT{404, 4, 596, 300}, 312));
    table_.SetColumnWidths({0.15, 0.425, 0.425});
    table_.SetSource(points_.get());
    if (origin)
      table_.SetBoldRows({static_cast<int>(*origin) + 1}); // below the header
    ::ShowWindow(parent_->hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(parent_->hwnd());
  }

  ReportParts Parts() { return {*graph_, *horizontal_, *vertical_, table_, settings_}; }

  Vela::InProcessHost host_;
  CalibrationSettings settings_;
  std::unique_ptr<ReportParent> parent_;
  std::unique_ptr<CDragScale> vertical_;
  std::unique_ptr<CDragScale> horizontal_;
  std::unique_ptr<GUILib::CGraph2D> graph_;
  GUILib::Table2D table_;
  Tarn::ComPtr<GUILib::CTabulatedData> curve_;
  Tarn::ComPtr<GUILib::CTabulatedData> points_;
};

CalibrationSettings TwoPoints(bool forceOrigin, std::int32_t fitType) {
  CalibrationSettings s;
  s.rawValues = {0.010, 0.020};
  s.calibratedValues = {0.0, 100.0};
  s.unit = Unit(1, L"mmHg");
  s.decimalPlaces = 2;
  s.fitType = fitType;
  s.forceOrigin = forceOrigin;
  return s;
}

TEST_F(ReportWin, CopyAsTextIsTheTableWithLineFeedsAndItsNull) {
  struct Case {
    const char* name;
    CalibrationSettings settings;
    std::wstring text;
  };
  CalibrationSettings threePoints = TwoPoints(true, Quadratic);
  threePoints.rawValues = {0.010, 0.020, 0.030};
  threePoints.calibratedValues = {0.0, 100.0, 400.0};
  CalibrationSettings wholeNumbers = TwoPoints(false, Linear);
  wholeNumbers.decimalPlaces = 0;
  const Case cases[] = {
      {"two points", TwoPoints(false, Linear),
       L"\tmV\tmmHg\t\n1.00\t10.00\t0.00\t\n2.00\t20.00\t100.00\t\n"},
      {"origin row", threePoints,
       L"\tmV\tmmHg\t\n1.00\t10.00\t0.00\t\n2.00\t20.00\t100.00\t\n3.00\t30.00\t400.00\t\n"
       L"*\t0.00\t0.00\t\n"},
      {"no decimals", wholeNumbers, L"\tmV\tmmHg\t\n1\t10\t0\t\n2\t20\t100\t\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Build(c.settings, Unit(7, L"V"));
    ASSERT_TRUE(CopyReportText(parent_->hwnd(), points_->Table(), settings_.decimalPlaces));
    const std::wstring copied = ClipboardText();
    ASSERT_FALSE(copied.empty());
    EXPECT_EQ(copied.substr(0, copied.find(L'\0')), c.text);
    EXPECT_NE(copied.find(L'\0'), std::wstring::npos) << "the terminating null is copied";
  }
}

// The copy-format dialog decides the format however it is closed; the close box counts too.
TEST_F(ReportWin, CopyFormatDialogClosedAnyWayStillCopies) {
  Build(TwoPoints(false, Linear), Unit(7, L"V"));
  struct Case {
    const char* name;
    bool chooseText;
    bool closeBox;
    UINT format;
  };
  const Case cases[] = {
      {"close box, image", false, true, CF_ENHMETAFILE},
      {"close box, text chosen", true, true, CF_UNICODETEXT},
      {"OK, image", false, false, CF_ENHMETAFILE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      Tarn::unique_clipboard clipboard = Tarn::unique_clipboard::Open(nullptr);
      ::EmptyClipboard();
    }
    GuiDriver::ModalAnswerer answer;
    answer.Then([&](HWND dialog) {
      EXPECT_EQ(::IsDlgButtonChecked(dialog, MPCalCopySelect::kAsImage), BST_CHECKED);
      if (c.chooseText)
        GuiDriver::Click(::GetDlgItem(dialog, MPCalCopySelect::kAsText));
      if (c.closeBox)
        ::SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      else
        GuiDriver::Click(::GetDlgItem(dialog, IDOK));
    });
    CopyReport(parent_->hwnd(), Parts(), points_->Table(), settings_.decimalPlaces);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].caption, L"Select Copy Format");
    EXPECT_EQ(answer.WatchdogEnded(), 0);
    EXPECT_TRUE(::IsClipboardFormatAvailable(c.format));
  }
}

TEST_F(ReportWin, MetafileFrameFollowsTheReferenceDeviceAndHoldsTheFitDetails) {
  Build(TwoPoints(false, Linear), Unit(7, L"V"));
  ASSERT_TRUE(CopyReportImage(parent_->hwnd(), Parts()));
  const Tarn::unique_henhmetafile picture = ClipboardMetafile();
  ASSERT_TRUE(picture);
  ENHMETAHEADER header{};
  ASSERT_NE(::GetEnhMetaFileHeader(picture.get(), sizeof header, &header), 0u);

  RECT client{};
  ::GetClientRect(parent_->hwnd(), &client);
  const Tarn::unique_window_dc reference = Tarn::unique_window_dc::Get(parent_->hwnd());
  const auto caps = [&](int index) { return ::GetDeviceCaps(reference.get(), index); };
  // The formula: size × (millimetres × 100) / pixels.
  EXPECT_EQ(header.rclFrame.left, 0);
  EXPECT_EQ(header.rclFrame.top, 0);
  EXPECT_EQ(header.rclFrame.right, client.right * (caps(HORZSIZE) * 100) / caps(HORZRES));
  EXPECT_EQ(header.rclFrame.bottom, client.bottom * (caps(VERTSIZE) * 100) / caps(VERTRES));

  const std::vector<std::wstring> texts = MetafileTexts(picture.get());
  const auto has = [&](const std::wstring& text) {
    for (const std::wstring& t : texts)
      if (t == text)
        return true;
    return false;
  };
  EXPECT_TRUE(has(L"Calibration Fit Details"));
  EXPECT_TRUE(has(L"mV")) << "the table's header";
  bool anyEquation = false;
  for (const std::wstring& t : texts)
    anyEquation = anyEquation || t.rfind(L"Linear : y = ", 0) == 0;
  EXPECT_TRUE(anyEquation);
}

// The copied picture played back into a bitmap of the client's size, for a person to look at.
TEST_F(ReportWin, ReportPictures) {
  struct Case {
    const char* file;
    CalibrationSettings settings;
  };
  CalibrationSettings quadratic = TwoPoints(true, Quadratic);
  quadratic.rawValues = {0.010, 0.020, 0.030, 0.045};
  quadratic.calibratedValues = {0.0, 100.0, 400.0, 800.0};
  const Case cases[] = {{"report-metafile-linear", TwoPoints(false, Linear)},
                        {"report-metafile-quadratic-origin", quadratic}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Build(c.settings, Unit(7, L"V"));
    ASSERT_TRUE(CopyReportImage(parent_->hwnd(), Parts()));
    const Tarn::unique_henhmetafile picture = ClipboardMetafile();
    ASSERT_TRUE(picture);
    RECT client{};
    ::GetClientRect(parent_->hwnd(), &client);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Tarn::unique_hdc memory(::CreateCompatibleDC(nullptr));
    Tarn::unique_hbitmap bitmap(
        ::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bitmap);
    const HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    ::FillRect(memory.get(), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(::PlayEnhMetaFile(memory.get(), picture.get(), &client));
    ::GdiFlush();
    GuiDriver::Picture shot{client.right, client.bottom, {}};
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(pixels, pixels + client.right * client.bottom);
    ::SelectObject(memory.get(), old);
    std::size_t red = 0;
    for (std::uint32_t p : shot.pixels)
      red += (p & 0xFFFFFF) == 0xFF0000;
    EXPECT_GT(red, 0u) << "the points' red circles";
    EXPECT_TRUE(GuiDriver::WritePng(
        shot, GuiDriver::PicturesDir() + L"/" +
                  std::wstring(c.file, c.file + std::char_traits<char>::length(c.file)) +
                  (GuiDriver::ExpectedDpi() == 96 ? L"" : L"-144") + L".png"));
  }
}

// The curve dialog's Copy button through the copy-format dialog, text chosen; Print is there to
// be clicked too.
TEST_F(ReportWin, CurveDialogCopyButtonCopiesThePointsAsText) {
  parent_ = std::make_unique<ReportParent>();
  ASSERT_TRUE(parent_->Create(100, 100));
  CalibrationSettings settings = TwoPoints(false, Linear);
  ASSERT_TRUE(Fit(settings));
  std::wstring copied;
  bool printEnabled = false;
  GuiDriver::ModalAnswerer answer;
  answer
      .Then([&](HWND curve) {
        printEnabled = ::IsWindowEnabled(::GetDlgItem(curve, MPCalReportDialog::kPrint)) != FALSE;
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(curve, MPCalReportDialog::kCopy)));
        copied = ClipboardText();
        GuiDriver::Click(::GetDlgItem(curve, IDCANCEL));
      })
      .Then([](HWND select) {
        GuiDriver::Click(::GetDlgItem(select, MPCalCopySelect::kAsText));
        GuiDriver::Click(::GetDlgItem(select, IDOK));
      });
  EXPECT_EQ(RunCurveDialog(parent_->hwnd(), 0, Unit(7, L"V"), settings, nullptr), IDCANCEL);
  EXPECT_EQ(answer.WatchdogEnded(), 0);
  EXPECT_TRUE(printEnabled);
  EXPECT_EQ(copied.substr(0, copied.find(L'\0')),
            L"\tmV\tmmHg\t\n1.00\t10.00\t0.00\t\n2.00\t20.00\t100.00\t\n");
}

// The printed file's name in the test's folder; scripts/check-printed-page.sh checks it with
// ghostscript after the test and renders it for a person to look at.
std::wstring PrintedFile() {
  const std::wstring name =
      GuiDriver::ExpectedDpi() == 96 ? L"printed-report.ps" : L"printed-report-144.ps";
  wchar_t full[MAX_PATH] = {};
  ::GetFullPathNameW(name.c_str(), MAX_PATH, full, nullptr);
  return full;
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// Print through the host's print job with its preview: the preview shows the page, a second
// Print while it is open starts nothing, and Print in the preview writes one PostScript page
// into the file the host was told of. Nothing of the module is left alive afterwards.
TEST_F(ReportWin, PrintWritesOnePostScriptPagePicture) {
  parent_ = std::make_unique<ReportParent>();
  ASSERT_TRUE(parent_->Create(100, 100));
  CalibrationSettings settings = TwoPoints(true, Quadratic);
  settings.rawValues = {0.010, 0.020, 0.030, 0.045};
  settings.calibratedValues = {0.0, 100.0, 400.0, 800.0};
  ASSERT_TRUE(Fit(settings));
  const std::wstring file = PrintedFile();
  ::DeleteFileW(file.c_str());
  ASSERT_TRUE(::SetEnvironmentVariableW(Vela::HostPrintJob::kFileVariable, file.c_str()));

  Tarn::ComPtr<Vela::HostDocument> document;
  document.Attach(Vela::HostDocument::Create(nullptr));
  std::size_t seenDuringPreview = 0;
  bool printedWhileOpen = true;
  GuiDriver::ModalAnswerer answer(10000ms);
  answer
      .Then([&](HWND curve) {
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(curve, MPCalReportDialog::kPrint)));
        GuiDriver::Click(::GetDlgItem(curve, IDCANCEL));
      })
      .Then([&](HWND preview) {
        EXPECT_FALSE(GuiDriver::CaptureToPng(preview, GuiDriver::ExpectedDpi() == 96
                                                          ? L"print-preview"
                                                          : L"print-preview-144")
                         .empty());
        // The curve dialog is disabled under the preview, so the second request comes as the
        // command itself, as a host's modeless print dialog would let it through.
        const HWND curve = answer.Seen()[0].hwnd;
        ::SendMessageW(curve, WM_COMMAND, MAKEWPARAM(MPCalReportDialog::kPrint, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(curve, MPCalReportDialog::kPrint)));
        seenDuringPreview = answer.Seen().size();
        printedWhileOpen = ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
        GuiDriver::Click(::GetDlgItem(preview, IDOK));
      });
  EXPECT_EQ(RunCurveDialog(parent_->hwnd(), 0, Unit(7, L"V"), settings, document.get()), IDCANCEL);
  EXPECT_EQ(answer.WatchdogEnded(), 0);
  ASSERT_EQ(answer.Seen().size(), 2u);
  EXPECT_EQ(answer.Seen()[1].caption,
            L"Print Preview - Multipoint Calibration Curve for Channel 1");
  EXPECT_EQ(seenDuringPreview, 2u) << "the second Print opened nothing";
  EXPECT_FALSE(printedWhileOpen);

  const std::string postScript = FileBytes(file);
  ASSERT_FALSE(postScript.empty()) << "nothing printed into the file";
  EXPECT_EQ(postScript.rfind("%!PS", 0), 0u);
  EXPECT_EQ(Occurrences(postScript, "%%Page:"), 1u);
  EXPECT_NE(postScript.find("%%Title: Multipoint Calibration Curve for Channel 1"),
            std::string::npos);

  document = nullptr;
  EXPECT_EQ(LiveObjectCounter::Count(), 0);
}

// Cancel in the preview prints nothing and ends the job; Print works again at once, and a curve
// dialog without a host document has nothing to print through.
TEST_F(ReportWin, PrintAgainAfterACancelledPreviewAndPrintWithoutAHost) {
  parent_ = std::make_unique<ReportParent>();
  ASSERT_TRUE(parent_->Create(100, 100));
  CalibrationSettings settings = TwoPoints(false, Linear);
  ASSERT_TRUE(Fit(settings));
  wchar_t folder[MAX_PATH] = {};
  ::GetFullPathNameW(L".", MAX_PATH, folder, nullptr);
  const std::wstring file = std::wstring(folder) + L"\\printed-again.ps";
  ::DeleteFileW(file.c_str());
  ASSERT_TRUE(::SetEnvironmentVariableW(Vela::HostPrintJob::kFileVariable, file.c_str()));

  Tarn::ComPtr<Vela::HostDocument> document;
  document.Attach(Vela::HostDocument::Create(nullptr));
  bool printedAfterCancel = true;
  {
    GuiDriver::ModalAnswerer answer(10000ms);
    answer
        .Then([&](HWND curve) {
          EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(curve, MPCalReportDialog::kPrint)));
          printedAfterCancel = ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
          EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(curve, MPCalReportDialog::kPrint)));
          GuiDriver::Click(::GetDlgItem(curve, IDCANCEL));
        })
        .Then(GuiDriver::ModalAnswerer::Press(IDCANCEL))
        .Then(GuiDriver::ModalAnswerer::Press(IDOK));
    EXPECT_EQ(RunCurveDialog(parent_->hwnd(), 1, Unit(7, L"V"), settings, document.get()),
              IDCANCEL);
    EXPECT_EQ(answer.WatchdogEnded(), 0);
    ASSERT_EQ(answer.Seen().size(), 3u) << "the curve dialog and two previews";
  }
  EXPECT_FALSE(printedAfterCancel);
  const std::string postScript = FileBytes(file);
  EXPECT_EQ(Occurrences(postScript, "%%Page:"), 1u);
  EXPECT_NE(postScript.find("%%Title: Multipoint Calibration Curve for Channel 2"),
            std::string::npos);
  ::DeleteFileW(file.c_str());

  GuiDriver::ModalAnswerer alone(5000ms);
  alone.Then([](HWND curve) {
    EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(curve, MPCalReportDialog::kPrint)));
    GuiDriver::Click(::GetDlgItem(curve, IDCANCEL));
  });
  EXPECT_EQ(RunCurveDialog(parent_->hwnd(), 0, Unit(7, L"V"), settings, nullptr), IDCANCEL);
  EXPECT_EQ(alone.Seen().size(), 1u) << "no preview without a host";
  EXPECT_EQ(alone.WatchdogEnded(), 0);

  document = nullptr;
  EXPECT_EQ(LiveObjectCounter::Count(), 0);
}

// The copy-format dialog itself.
TEST_F(ReportWin, CopyFormatDialogPicture) {
  bool asText = true;
  MPCalCopySelect select(asText);
  const HWND dialog = GuiDriver::ShowModeless(select);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(::IsDlgButtonChecked(dialog, MPCalCopySelect::kAsText), BST_CHECKED);
  EXPECT_TRUE(GuiDriver::LayoutFaults(dialog).empty());
  EXPECT_FALSE(GuiDriver::CaptureToPng(dialog, GuiDriver::ExpectedDpi() == 96
                                                   ? L"copy-format-dialog"
                                                   : L"copy-format-dialog-144")
                   .empty());
}

} // namespace
} // namespace MPCalibration

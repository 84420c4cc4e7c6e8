// A person's session with velahost, scripted: the pressure-transducer recording that `mpcal demo`
// writes is opened, its five flat stretches are taken into the calibration dialog and paired with
// their known pressures, the fit is inspected, copied and printed, the calibration confirmed, the
// document saved and read back by a new velahost process. A picture is taken at each step into
// <pictures>/tour/. The calibration must be the one the command-line tool computes: the same
// coefficients from the same points, and the same calibrated samples.
#include <windows.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../win/ModuleEnvironment.h"
#include "../../win/ParameterFields.h"
#include "DemoRecording.h"
#include "DocumentFile.h"
#include "GuiDriver.h"
#include "HostIds.h"
#include "MainWindow.h"
#include "MemoryObjectStream.h"
#include "foundation/Utf8.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/Bitmaps.h"

namespace {

using namespace std::chrono_literals;

// The calibration dialog's controls, and those of the dialogs it opens.
constexpr int kCalculatedView = 205;
constexpr int kFitType = 350;
constexpr int kUnits = 101;
constexpr int kFitButton = 200;
constexpr int kFirstRawField = 208;
constexpr int kFirstCalibratedField = 220;
constexpr int kFirstTakeButton = 280;
constexpr int kCurveFitType = 308;
constexpr int kCopyButton = 310;
constexpr int kPrintButton = 311;
constexpr int kCopyAsImage = 351;
constexpr int kCopyAsText = 352;
constexpr int kUnitPrefix = 102;
constexpr int kUnitName = 103;
constexpr int kKiloPrefixEntry = 7; // a, f, p, n, u, m, none, k, ...
// The graph's popup menu commands.
constexpr UINT kSetScales = 101;
constexpr UINT kResetScales = 102;
constexpr UINT kZoomSelection = 103;
constexpr int kQuadratic = 1;
constexpr int kCubic = 2;

// A Unix path of the build as Wine sees it (the root of the Unix tree is drive Z:).
std::wstring WinePath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c)
    path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  return path;
}

std::wstring ProgramBesideTest(const wchar_t* name) {
  wchar_t exe[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring self(exe, n);
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

// Runs a program with its standard output in `outputPath` (none when empty) and returns its exit
// code, or -1 when it could not be started or did not end within a minute.
long RunProgram(const std::wstring& program, const std::wstring& arguments,
                const std::wstring& outputPath = {}) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Tarn::unique_handle output;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!outputPath.empty()) {
    const HANDLE file = ::CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return -1;
    output.reset(file);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  }
  std::wstring command = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &info))
    return -1;
  Tarn::unique_handle process(info.hProcess);
  Tarn::unique_handle thread(info.hThread);
  // The test's own windows stay responsive while it waits.
  if (!GuiDriver::PumpUntil(
          [&] { return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, 60000ms))
    return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return static_cast<long>(code);
}

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

std::string ReadText(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The samples of `channel` that `velahost dump` printed, all records in order.
std::vector<float> DumpedChannel(const std::wstring& path, int channel) {
  std::istringstream lines(ReadText(path));
  std::string line;
  std::vector<float> values;
  int current = -1;
  while (std::getline(lines, line)) {
    int c = 0, r = 0;
    std::size_t n = 0;
    if (std::sscanf(line.c_str(), "channel %d record %d samples %zu", &c, &r, &n) == 3) {
      current = c;
      continue;
    }
    if (current == channel)
      values.push_back(std::strtof(line.c_str(), nullptr));
  }
  return values;
}

// The second column of a CSV file with one header line, as floats.
std::vector<float> SecondColumn(const std::wstring& path) {
  std::istringstream lines(ReadText(path));
  std::string line;
  std::getline(lines, line);
  std::vector<float> values;
  while (std::getline(lines, line)) {
    const auto comma = line.find(',');
    if (comma != std::string::npos)
      values.push_back(std::strtof(line.c_str() + comma + 1, nullptr));
  }
  return values;
}

// The parameter text of a calculation's settings, as the settings object persists it.
std::wstring PersistedParameterText(Host::IPersistObject* settings) {
  const auto stream =
      Tarn::ComPtr<Vela::MemoryObjectStream>::Adopt(Vela::MemoryObjectStream::Create());
  if (!settings || FAILED(settings->Save(stream.get())))
    return {};
  for (const Vela::StreamItem& item : stream->Items())
    if (const auto* text = std::get_if<std::wstring>(&item);
        text && text->find(L'\t') != std::wstring::npos)
      return *text;
  return {};
}

std::wstring ClipboardText() {
  const auto clipboard = Tarn::unique_clipboard::Open(nullptr);
  const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data)
    return {};
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  std::wstring copied(text, ::GlobalSize(data) / sizeof(wchar_t));
  ::GlobalUnlock(data);
  return copied.substr(0, copied.find(L'\0'));
}

// The enhanced metafile on the clipboard played back onto white, as a picture.
GuiDriver::Picture ClipboardPicture(SIZE size) {
  Tarn::unique_henhmetafile metafile;
  {
    const auto clipboard = Tarn::unique_clipboard::Open(nullptr);
    const auto copied = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
    if (!copied)
      return {};
    metafile.reset(::CopyEnhMetaFileW(copied, nullptr));
  }
  const BITMAPINFO info = Tarn::Window::TopDownBitmapInfo(size);
  void* bits = nullptr;
  Tarn::unique_hdc memory(::CreateCompatibleDC(nullptr));
  Tarn::unique_hbitmap bitmap(
      ::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!metafile || !bitmap)
    return {};
  const RECT area{0, 0, size.cx, size.cy};
  {
    Tarn::unique_select_object selected(memory.get(), bitmap.get());
    ::FillRect(memory.get(), &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!::PlayEnhMetaFile(memory.get(), metafile.get(), &area))
      return {};
  }
  ::GdiFlush();
  GuiDriver::Picture picture{size.cx, size.cy, {}};
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(size.cx) * size.cy);
  for (auto& p : picture.pixels)
    p &= 0x00FFFFFF;
  return picture;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    HWND found;
  } search{className, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        wchar_t name[64] = L"";
        ::GetClassNameW(child, name, 64);
        if (std::wstring(name) != s.className)
          return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The calibration dialog's data pane as a person uses it: the x of a sample of the `count` shown
// (the rightmost 18 pixels hold the markers).
class PaneUser {
public:
  PaneUser(HWND pane, std::size_t count) : pane_(pane), count_(count) {
    RECT client{};
    ::GetClientRect(pane, &client);
    dataWidth_ = client.right - 18;
    y_ = client.bottom / 2;
  }
  int X(std::size_t sample) const {
    return static_cast<int>((sample * static_cast<std::size_t>(dataWidth_) + count_ - 1) / count_);
  }
  // A drag over samples `first` to `last`, through the thread's queue as the pointer makes it.
  void Mark(std::size_t first, std::size_t last) const {
    ::PostMessageW(pane_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X(first), y_));
    ::PostMessageW(pane_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((X(first) + X(last)) / 2, y_));
    ::PostMessageW(pane_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X(last), y_));
    ::PostMessageW(pane_, WM_LBUTTONUP, 0, MAKELPARAM(X(last), y_));
    GuiDriver::Pump(30ms);
  }
  void DoubleClick(std::size_t at) const {
    const LPARAM where = MAKELPARAM(X(at), y_);
    ::PostMessageW(pane_, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageW(pane_, WM_LBUTTONUP, 0, where);
    ::PostMessageW(pane_, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    ::PostMessageW(pane_, WM_LBUTTONUP, 0, where);
    GuiDriver::Pump(30ms);
  }

private:
  HWND pane_;
  std::size_t count_;
  int dataWidth_ = 0;
  int y_ = 0;
};

class Tour {
public:
  Tour() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + L"velahost-tour";
    ::CreateDirectoryW(dir_.c_str(), nullptr);
    ::CreateDirectoryW((GuiDriver::PicturesDir() + L"\\tour").c_str(), nullptr);
  }
  std::wstring File(const wchar_t* name) const { return dir_ + L"\\" + name; }
  const std::wstring& Dir() const { return dir_; }

  // Each picture is numbered in the order of the session.
  void Picture(HWND window, const wchar_t* what) {
    wchar_t number[8];
    std::swprintf(number, std::size(number), L"%02d-", ++pictures_);
    EXPECT_FALSE(GuiDriver::CaptureToPng(window, L"tour\\" + (number + std::wstring(what))).empty())
        << Tarn::ToUtf8(what);
  }

private:
  std::wstring dir_;
  int pictures_ = 0;
};

long Mpcal(const std::wstring& arguments, const std::wstring& outputPath = {}) {
  return RunProgram(WinePath(MPCAL_TOOL_PATH), arguments, outputPath);
}

TEST(VelahostTour, CalibratesTheDemoRecordingAsAPersonDoes) {
  Tour tour;
  ASSERT_EQ(Mpcal(L"demo --out " + Quoted(tour.Dir()), tour.File(L"demo.txt")), 0);
  const std::wstring recordingPath = tour.File(L"recording.csv");
  const MPCalTool::DemoRecording demo;

  // The page is printed into a file beside the test, which a check after the test renders.
  wchar_t here[MAX_PATH] = {};
  ::GetFullPathNameW(L".", MAX_PATH, here, nullptr);
  ::CreateDirectoryW((std::wstring(here) + L"\\tour").c_str(), nullptr);
  const std::wstring printedPath = std::wstring(here) + L"\\tour\\printed-page.ps";
  ::DeleteFileW(printedPath.c_str());
  ASSERT_TRUE(::SetEnvironmentVariableW(L"VELA_PRINT_FILE", printedPath.c_str()));

  Vela::MainWindow window(VelaTest::Module());
  ASSERT_TRUE(window.Create(900, 560));
  ::ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  ASSERT_TRUE(window.OpenFile(recordingPath));
  GuiDriver::Pump(50ms);
  const Vela::Recording& recording = window.Work().Rec();
  ASSERT_EQ(recording.ChannelCount(), 1u);
  ASSERT_EQ(recording.BlockCount(), 1u);
  ASSERT_EQ(recording.BlockAt(0).length, demo.Volts().size());
  tour.Picture(window.hwnd(), L"recording");

  // The five pressure steps, up to the pulsating part, dragged across in the trace's band.
  const HWND data = window.Data().hwnd();
  const auto& layout = window.Data().Layout();
  const RECT band = window.Data().BandRect(0);
  const int y = (band.top + band.bottom) / 2;
  const std::size_t steps = demo.MeasurementStart();
  ASSERT_TRUE(GuiDriver::Drag(data, {static_cast<int>(layout.X({0, 0})), y},
                              {static_cast<int>(layout.X({steps - 1, 0})), y}));
  const Vela::Recording::Selection selected = recording.selection;
  ASSERT_TRUE(selected.exists);
  EXPECT_EQ(selected.startPosition, 0);
  EXPECT_NEAR(selected.endPosition, static_cast<double>(steps - 1), 10.0);
  EXPECT_EQ(window.Data().PickedChannel(), 0);
  tour.Picture(window.hwnd(), L"selection");

  // Channel > Multipoint Calibration...: the dialog, and each dialog it opens in turn, answered
  // as a person would.
  const auto& stretches = demo.Stretches();
  const std::size_t shown = static_cast<std::size_t>(selected.endPosition) + 1;
  std::wstring copiedText;
  GuiDriver::Picture copiedPicture;
  GuiDriver::ModalAnswerer answerer(60000ms);
  answerer
      .Then([&](HWND dialog) {
        const auto item = [dialog](int id) { return ::GetDlgItem(dialog, id); };
        tour.Picture(dialog, L"calibration-dialog");
        // The known pressures' unit: kPa, defined through the list's "Define Unit..." entry.
        const HWND units = item(kUnits);
        const auto entries = static_cast<int>(::SendMessageW(units, CB_GETCOUNT, 0, 0));
        EXPECT_TRUE(GuiDriver::PickComboItem(units, entries - 2));

        const HWND paneWindow = FindDescendant(dialog, L"MPCalUnitConvertDataPane");
        ASSERT_NE(paneWindow, nullptr);
        const PaneUser pane(paneWindow, shown);
        const wchar_t* const known[] = {L"0", L"50", L"100", L"150", L"200"};
        for (int row = 0; row < 5; ++row) {
          SCOPED_TRACE(row);
          const MPCalTool::FlatStretch& flat = stretches[static_cast<std::size_t>(row)];
          if (row % 2 == 0) {
            // Most of the stretch marked, its mean taken with the row's button.
            pane.Mark(flat.first + 20, flat.last - 20);
            EXPECT_TRUE(GuiDriver::Click(item(kFirstTakeButton + row)));
          } else {
            // A double-click takes the column under the pointer into the row after the
            // calibrated field that has the focus.
            pane.DoubleClick((flat.first + flat.last) / 2);
          }
          EXPECT_FALSE(GuiDriver::Text(item(kFirstRawField + row)).empty());
          EXPECT_EQ(::GetFocus(), item(kFirstCalibratedField + row));
          EXPECT_TRUE(GuiDriver::TypeText(item(kFirstCalibratedField + row), known[row]));
          if (row == 0)
            tour.Picture(dialog, L"first-point");
        }
        tour.Picture(dialog, L"five-points");
        EXPECT_TRUE(GuiDriver::PickComboItem(item(kFitType), kQuadratic));
        EXPECT_TRUE(GuiDriver::Click(item(kCalculatedView)));
        GuiDriver::Pump(50ms);
        EXPECT_TRUE(GuiDriver::IsChecked(item(kCalculatedView)));
        tour.Picture(dialog, L"calculated-preview");
        EXPECT_TRUE(GuiDriver::Click(item(kFitButton)));
        EXPECT_TRUE(GuiDriver::Click(item(IDOK)));
      })
      .Then([&](HWND defineUnit) {
        EXPECT_TRUE(
            GuiDriver::PickComboItem(::GetDlgItem(defineUnit, kUnitPrefix), kKiloPrefixEntry));
        EXPECT_TRUE(GuiDriver::TypeText(::GetDlgItem(defineUnit, kUnitName), L"Pa"));
        tour.Picture(defineUnit, L"define-unit");
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(defineUnit, IDOK)));
      })
      .Then([&](HWND curve) {
        const auto item = [curve](int id) { return ::GetDlgItem(curve, id); };
        tour.Picture(curve, L"curve-quadratic");
        EXPECT_TRUE(GuiDriver::PickComboItem(item(kCurveFitType), kCubic));
        GuiDriver::Pump(20ms);
        tour.Picture(curve, L"curve-cubic");
        EXPECT_TRUE(GuiDriver::PickComboItem(item(kCurveFitType), kQuadratic));
        // Zoom into a dragged rectangle and set the scales, as the graph's menu does.
        const HWND graph = FindDescendant(curve, L"MPCalGraph2D");
        ASSERT_NE(graph, nullptr);
        RECT client{};
        ::GetClientRect(graph, &client);
        EXPECT_TRUE(GuiDriver::Drag(graph, {client.right / 5, client.bottom / 5},
                                    {client.right * 3 / 5, client.bottom * 3 / 5}));
        ::SendMessageW(graph, WM_COMMAND, kZoomSelection, 0);
        GuiDriver::Pump(20ms);
        tour.Picture(curve, L"curve-zoomed");
        ::SendMessageW(graph, WM_COMMAND, kSetScales, 0);
        ::SendMessageW(graph, WM_COMMAND, kResetScales, 0);
        // Copied as text, then as a picture.
        for (int copy = 0; copy < 2; ++copy) {
          {
            const auto clipboard = Tarn::unique_clipboard::Open(nullptr);
            ::EmptyClipboard();
          }
          EXPECT_TRUE(GuiDriver::Click(item(kCopyButton)));
          if (copy == 0)
            copiedText = ClipboardText();
          else
            copiedPicture = ClipboardPicture({640, 480});
        }
        // Printed, after a look at the preview.
        EXPECT_TRUE(GuiDriver::Click(item(kPrintButton)));
        EXPECT_TRUE(GuiDriver::Click(item(IDOK)));
      })
      .Then([&](HWND setScales) {
        tour.Picture(setScales, L"set-scales");
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(setScales, IDOK)));
      })
      .Then([&](HWND copyFormat) {
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(copyFormat, kCopyAsText)));
        tour.Picture(copyFormat, L"copy-format");
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(copyFormat, IDOK)));
      })
      .Then([&](HWND copyFormat) {
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(copyFormat, kCopyAsImage)));
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(copyFormat, IDOK)));
      })
      .Then([&](HWND preview) {
        tour.Picture(preview, L"print-preview");
        EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(preview, IDOK)));
      });
  ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_CALIBRATION, 0);
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  ASSERT_EQ(answerer.Seen().size(), 7u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Multipoint Calibration for Channel 1");
  EXPECT_EQ(answerer.Seen()[6].caption,
            L"Print Preview - Multipoint Calibration Curve for Channel 1");
  const std::string printed = ReadText(printedPath);
  EXPECT_EQ(printed.rfind("%!PS", 0), 0u) << "nothing printed into the file";

  // The points as the table copies them: a line per point, tab separated.
  for (const wchar_t* value : {L"\t50", L"\t100", L"\t150", L"\t200"})
    EXPECT_NE(copiedText.find(value), std::wstring::npos) << Tarn::ToUtf8(copiedText);
  ASSERT_FALSE(copiedPicture.pixels.empty());
  EXPECT_TRUE(
      GuiDriver::WritePng(copiedPicture, GuiDriver::PicturesDir() + L"\\tour\\copied-report.png"));

  // The calibrated channel, added below the raw one in kPa.
  ASSERT_EQ(recording.ChannelCount(), 2u);
  ASSERT_TRUE(window.Work().IsCalculated(1));
  EXPECT_EQ(recording.ChannelAt(1).unit, L"kPa");
  tour.Picture(window.hwnd(), L"calibrated-channel");
  std::wstring confirmed;
  {
    Tarn::ComPtr<Host::IPersistObject> live;
    ASSERT_EQ(window.Work().CalculationOf(1)->GetSettings(live.put()), S_OK);
    confirmed = PersistedParameterText(live.get());
  }
  const VelaTest::ParameterFields fields = VelaTest::ParseParameterText(confirmed);
  ASSERT_EQ(fields.raw.size(), 5u) << Tarn::ToUtf8(confirmed);
  EXPECT_EQ(fields.fitType, std::to_wstring(kQuadratic));
  EXPECT_EQ(fields.calibrated, (std::vector<std::wstring>{L"0", L"50", L"100", L"150", L"200"}));
  // Each raw value is a mean over its flat stretch, near the mean of the whole stretch.
  for (std::size_t i = 0; i < 5; ++i) {
    double sum = 0.0;
    for (std::size_t k = stretches[i].first; k < stretches[i].last; ++k)
      sum += demo.Volts()[k];
    EXPECT_NEAR(std::wcstod(fields.raw[i].c_str(), nullptr),
                sum / static_cast<double>(stretches[i].last - stretches[i].first), 0.005)
        << i;
  }

  // Saved, and read back by a new velahost process.
  const std::wstring documentPath = tour.File(L"tour.vdoc");
  ::DeleteFileW(documentPath.c_str());
  ASSERT_TRUE(window.SaveFile(documentPath));
  const std::wstring dumpPath = tour.File(L"dump.txt");
  ASSERT_EQ(RunProgram(ProgramBesideTest(L"velahost.exe"),
                       L"dump " + Quoted(documentPath) + L" " + Quoted(dumpPath)),
            0);
  const std::vector<float> reopened = DumpedChannel(dumpPath, 1);
  {
    Vela::DocumentFile::Contents contents;
    ASSERT_EQ(
        Vela::DocumentFile::Load(documentPath, VelaTest::Module().SettingsClass().get(), contents),
        S_OK);
    ASSERT_EQ(contents.settings.size(), 2u);
    EXPECT_EQ(PersistedParameterText(contents.settings[1].get()), confirmed);
  }

  // The command-line tool on the same points gives the same coefficients...
  std::string pointsText = "raw,known\n";
  for (std::size_t i = 0; i < fields.raw.size(); ++i)
    pointsText += Tarn::ToUtf8(fields.raw[i]) + "," + Tarn::ToUtf8(fields.calibrated[i]) + "\n";
  const std::wstring pointsPath = tour.File(L"points-taken.csv");
  std::ofstream(pointsPath.c_str(), std::ios::binary) << pointsText;
  const std::wstring settingsPath = tour.File(L"tour.mpcal");
  const std::wstring fitPath = tour.File(L"fit.json");
  ASSERT_EQ(Mpcal(L"fit --type quadratic --unit kPa --json --points " + Quoted(pointsPath) +
                      L" --save " + Quoted(settingsPath),
                  fitPath),
            0);
  const auto fit = nlohmann::json::parse(ReadText(fitPath), nullptr, false);
  ASSERT_FALSE(fit.is_discarded()) << ReadText(fitPath);
  const VelaTest::ParameterFields tool =
      VelaTest::ParseParameterText(Tarn::FromUtf8(fit.value("parameterText", std::string())));
  EXPECT_EQ(tool.coefficients, fields.coefficients);
  EXPECT_EQ(tool.raw, fields.raw);
  // The dialog's text names the unit without its prefix, which the settings keep apart; the tool
  // takes the whole token as the name.
  EXPECT_EQ(fields.unit, L"Pa");
  EXPECT_EQ(tool.unit, L"kPa");

  // ...and calibrates the recording to the samples the reopened document gives.
  const std::wstring calibratedPath = tour.File(L"calibrated.csv");
  ASSERT_EQ(Mpcal(L"apply --settings " + Quoted(settingsPath) + L" --in " + Quoted(recordingPath) +
                      L" --out " + Quoted(calibratedPath),
                  tour.File(L"apply.txt")),
            0);
  const std::vector<float> applied = SecondColumn(calibratedPath);
  ASSERT_EQ(applied.size(), demo.Volts().size());
  ASSERT_EQ(reopened.size(), applied.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < applied.size(); ++i)
    differing += reopened[i] != applied[i];
  EXPECT_EQ(differing, 0u);
  // The flat stretches read back as their known pressures.
  for (const MPCalTool::FlatStretch& flat : stretches) {
    double sum = 0.0;
    for (std::size_t k = flat.first; k < flat.last; ++k)
      sum += reopened[k];
    EXPECT_NEAR(sum / static_cast<double>(flat.last - flat.first), flat.pressure, 0.5);
  }

  // Closed as a person closes it, which lets the document's calculations go.
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  GuiDriver::Pump(10ms);
  EXPECT_EQ(VelaTest::LiveModuleObjects(), 0);
}

} // namespace

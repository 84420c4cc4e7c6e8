#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "../../win/ModuleEnvironment.h"
#include "DocumentFile.h"
#include "GuiDriver.h"
#include "HostApplication.h"
#include "HostIds.h"
#include "HostText.h"
#include "HostUnitListService.h"
#include "MainWindow.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"

namespace {

using namespace std::chrono_literals;

// Two channels in two blocks: a pressure ramp with a plateau and a temperature sine, sampled
// every 10 ms; the time gap after 2 s starts the second block.
std::wstring WriteRecording() {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"velahost-two-channels.csv";
  Tarn::unique_file file(_wfopen(path.c_str(), L"wb"));
  std::fprintf(file.get(), "time,Pressure (V),Temperature (V)\n");
  for (int i = 0; i < 200; ++i) {
    const double t = i * 0.01;
    std::fprintf(file.get(), "%.2f,%.5f,%.5f\n", t, i < 120 ? i / 30.0 : 4.0,
                 1.5 + std::sin(t * 6.0));
  }
  for (int i = 0; i < 100; ++i) {
    const double t = 3.0 + i * 0.01;
    std::fprintf(file.get(), "%.2f,%.5f,%.5f\n", t, 4.0 - i / 50.0, 1.5 + std::sin(t * 6.0));
  }
  return path;
}

// A user's drag with the left button from one client point to another.
void Drag(HWND window, int from, int to, int y) {
  const auto at = [](int x, int yy) { return MAKELPARAM(x, yy); };
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(from, y));
  for (int step = 1; step <= 4; ++step)
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(from + (to - from) * step / 4, y));
  ::SendMessageW(window, WM_LBUTTONUP, 0, at(to, y));
}

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    ::ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    ASSERT_TRUE(window.OpenFile(WriteRecording()));
    GuiDriver::Pump(50ms);
  }
  void TearDown() override {
    // Closed as a user closes it, which drops the document's calculations.
    ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(VelaTest::LiveModuleObjects(), 0);
  }
  HWND Data() { return window.Data().hwnd(); }
  // A row inside the band of `channel`.
  int RowOf(int channel) {
    const RECT r = window.Data().BandRect(channel);
    return (r.top + r.bottom) / 2;
  }
  int XOf(std::size_t position, std::size_t block) {
    return static_cast<int>(window.Data().Layout().X({position, block}) + 0.5);
  }

  Vela::MainWindow window{VelaTest::Module()};
};

TEST_F(MainWindowTest, OpensTheRecordingAsChannelsAndBlocks) {
  const Vela::Recording& r = window.Work().Rec();
  ASSERT_EQ(r.ChannelCount(), 2u);
  ASSERT_EQ(r.BlockCount(), 2u);
  EXPECT_EQ(r.ChannelAt(0).name, L"Pressure");
  EXPECT_EQ(r.BlockAt(1).length, 100u);
  EXPECT_EQ(GuiDriver::Text(window.hwnd()),
            L"velahost-two-channels.csv - " + Vela::HostString(IDS_APP_TITLE));
  // Each block has its own stretch of the time axis, the first twice as wide.
  const auto& layout = window.Data().Layout();
  EXPECT_GT(layout.BlockSpan(1).left, layout.BlockSpan(0).right);
  EXPECT_NEAR(layout.BlockSpan(0).Width(), 2 * layout.BlockSpan(1).Width(), 2);
}

TEST_F(MainWindowTest, DragSelectsWithinAndAcrossBlocksEitherWay) {
  struct Case {
    std::size_t fromPosition, fromBlock, toPosition, toBlock;
    Vela::Recording::Selection expected;
  };
  const Case cases[] = {
      {40, 0, 120, 0, {true, 40, 0, 119, 0}},
      {120, 0, 40, 0, {true, 40, 0, 119, 0}},
      {150, 0, 30, 1, {true, 150, 0, 29, 1}},
      {30, 1, 150, 0, {true, 150, 0, 29, 1}},
  };
  // The module reads the selection through the document's selection object (slot 8).
  Tarn::ComPtr<Host::IHostSelection> selection;
  ASSERT_NE(window.Work().DocumentObject(), nullptr);
  ASSERT_EQ(window.Work().DocumentObject()->GetSelection(selection.put()), S_OK);
  for (const Case& c : cases) {
    Drag(Data(), XOf(c.fromPosition, c.fromBlock), XOf(c.toPosition, c.toBlock), RowOf(1));
    EXPECT_EQ(window.Work().Rec().selection, c.expected) << c.fromPosition << " " << c.toPosition;
    BOOL exists = FALSE;
    std::int32_t extent[4] = {};
    ASSERT_EQ(selection->HasSelection(&exists), S_OK);
    EXPECT_TRUE(exists);
    ASSERT_EQ(selection->GetExtent(&extent[0], &extent[1], &extent[2], &extent[3]), S_OK);
    EXPECT_EQ(extent[0], c.expected.startPosition);
    EXPECT_EQ(extent[1], c.expected.startBlock);
    EXPECT_EQ(extent[2], c.expected.endPosition);
    EXPECT_EQ(extent[3], c.expected.endBlock);
  }
  EXPECT_EQ(window.Data().PickedChannel(), 1);
  // A click without a drag clears the selection.
  Drag(Data(), XOf(60, 0), XOf(60, 0), RowOf(0));
  EXPECT_FALSE(window.Work().Rec().selection.exists);
  EXPECT_EQ(window.Data().PickedChannel(), 0);
}

TEST_F(MainWindowTest, CalibrationMenuOpensTheDialogAndCancelKeepsTheRecording) {
  Drag(Data(), XOf(10, 0), XOf(90, 0), RowOf(0));
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then(GuiDriver::ModalAnswerer::Press(IDCANCEL));
  ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_CALIBRATION, 0);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, L"Multipoint Calibration for Channel 1");
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  // Nothing was confirmed, so no channel was added and the calculation made for it is gone.
  EXPECT_EQ(window.Work().Rec().ChannelCount(), 2u);
  EXPECT_FALSE(window.Work().IsCalculated(2));
}

TEST_F(MainWindowTest, ConfirmedCalibrationAddsTheCalibratedChannel) {
  Drag(Data(), XOf(10, 0), XOf(90, 0), RowOf(0));
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then([](HWND dialog) {
    const wchar_t* const points[][2] = {{L"1", L"10"}, {L"3", L"30"}};
    for (int row = 0; row < 2; ++row) {
      EXPECT_TRUE(GuiDriver::TypeText(::GetDlgItem(dialog, 208 + row), points[row][0]));
      EXPECT_TRUE(GuiDriver::TypeText(::GetDlgItem(dialog, 220 + row), points[row][1]));
    }
    EXPECT_TRUE(GuiDriver::Click(::GetDlgItem(dialog, IDOK)));
  });
  ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_CALIBRATION, 0);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  const Vela::Recording& r = window.Work().Rec();
  ASSERT_EQ(r.ChannelCount(), 3u);
  ASSERT_TRUE(window.Work().IsCalculated(2));
  EXPECT_EQ(r.ChannelAt(2).name, L"Pressure calibrated");
  // Calibrated = 10 x raw, sample by sample, in both blocks.
  for (std::size_t b = 0; b < r.BlockCount(); ++b) {
    const auto& raw = r.Samples(b, 0);
    const auto& calibrated = r.Samples(b, 2);
    ASSERT_EQ(calibrated.size(), raw.size()) << b;
    for (std::size_t i = 0; i < raw.size(); i += 17)
      EXPECT_NEAR(calibrated[i], raw[i] * 10.0f, 1e-3f) << b << " " << i;
  }
  // Shown over the range the calculation's output scaling was made for, not around its samples.
  EXPECT_LT(r.ChannelAt(2).bottom, r.ChannelAt(2).top);
  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(window.hwnd(), L"velahost-confirmed-" + dpi).empty());
}

TEST_F(MainWindowTest, MenuHoldsTheCommandsFromTheStringTable) {
  HMENU bar = ::GetMenu(window.hwnd());
  ASSERT_EQ(::GetMenuItemCount(bar), 3);
  wchar_t text[128];
  ::GetMenuStringW(::GetSubMenu(bar, 1), IDM_CALIBRATION, text, 128, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text).substr(0, std::wstring(text).find(L'\t')),
            L"Multipoint Calibration...");
  for (int id : {IDM_OPEN, IDM_SAVE, IDM_SAVE_AS, IDM_EXIT})
    EXPECT_GT(
        ::GetMenuStringW(::GetSubMenu(bar, 0), static_cast<UINT>(id), text, 128, MF_BYCOMMAND), 0)
        << id;
}

// Help > Contents and F1 show the host's own topic through the help service the module uses,
// over the main window while it lives; without a window the service only records the calls.
TEST_F(MainWindowTest, HelpIsShownOverTheMainWindowWhileItLives) {
  Vela::HostUnitListService& service = Vela::HostApplication::Instance().ApplicationService();
  EXPECT_EQ(service.HelpOwner(), window.hwnd());
  service.ClearHelpCalls();
  const Vela::HelpCall expected{Vela::HostString(IDS_HELP_TOPIC), Vela::HostString(IDS_HELP_BOOK)};
  {
    GuiDriver::ModalAnswerer answerer;
    answerer.Then(GuiDriver::ModalAnswerer::Press(IDOK))
        .Then(GuiDriver::ModalAnswerer::Press(IDOK));
    ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_HELP_CONTENTS, 0);
    MSG f1{Data(), WM_KEYDOWN, VK_F1, 0, 0, {}};
    EXPECT_TRUE(window.TranslateAccelerator(f1));
    ASSERT_EQ(answerer.Seen().size(), 2u);
    for (const auto& seen : answerer.Seen()) {
      EXPECT_EQ(seen.caption, expected.book);
      EXPECT_EQ(seen.text, expected.topic);
    }
    EXPECT_EQ(answerer.WatchdogEnded(), 0);
  }
  EXPECT_EQ(service.HelpCalls(), (std::vector<Vela::HelpCall>{expected, expected}));

  {
    // A second main window takes the help over and gives it up when it goes.
    Vela::MainWindow second(VelaTest::Module());
    ASSERT_TRUE(second.Create());
    EXPECT_EQ(service.HelpOwner(), second.hwnd());
    ::SendMessageW(second.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(service.HelpOwner(), nullptr);
  }
  GuiDriver::ModalAnswerer answerer(500ms);
  EXPECT_EQ(service.ShowHelp(L"topic", L"book"), S_OK);
  EXPECT_TRUE(answerer.Seen().empty());
  service.ClearHelpCalls();
}

TEST_F(MainWindowTest, PicksBandsWithTheKeyboard) {
  ::SetFocus(Data());
  GuiDriver::PressKey(Data(), VK_DOWN);
  EXPECT_EQ(window.Data().PickedChannel(), 1);
  GuiDriver::PressKey(Data(), VK_DOWN);
  EXPECT_EQ(window.Data().PickedChannel(), 1);
  GuiDriver::PressKey(Data(), VK_UP);
  EXPECT_EQ(window.Data().PickedChannel(), 0);
}

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

TEST_F(MainWindowTest, SaveAndReopenKeepsTheRecording) {
  Drag(Data(), XOf(40, 0), XOf(20, 1), RowOf(0));
  const std::wstring path = TempPath(L"velahost-saved.vdoc");
  ::DeleteFileW(path.c_str());
  ASSERT_TRUE(window.SaveFile(path));
  EXPECT_EQ(GuiDriver::Text(window.hwnd()),
            L"velahost-saved.vdoc - " + Vela::HostString(IDS_APP_TITLE));

  Vela::MainWindow reopened(VelaTest::Module());
  ASSERT_TRUE(reopened.Create());
  ASSERT_TRUE(reopened.OpenFile(path));
  EXPECT_TRUE(reopened.Work().Rec() == window.Work().Rec());
  ASSERT_TRUE(window.Work().Rec().selection.exists);
  EXPECT_EQ(reopened.Work().Rec().selection, window.Work().Rec().selection);
  EXPECT_TRUE(reopened.Work().IsDocument());
  ::SendMessageW(reopened.hwnd(), WM_CLOSE, 0, 0);
}

// A document whose third channel is calibrated (1 + 2 x of the pressure, in kPa): opening it
// fills the channel through the module and draws it in its unit with the module's scaling.
TEST_F(MainWindowTest, CalibratedChannelOfADocumentIsFilledAndDrawnInItsUnit) {
  Vela::Recording recording = window.Work().Rec();
  Vela::Recording::Channel calibrated;
  calibrated.name = L"Pressure calibrated";
  calibrated.colour = Vela::DefaultTraceColour(2);
  calibrated.calculated = true;
  recording.AddChannel(calibrated);
  Vela::Calibration calibration;
  calibration.coefficients = {1.0, 2.0};
  calibration.rawValues = {0.0, 4.0};
  calibration.calibratedValues = {1.0, 9.0};
  calibration.unitName = L"kPa";
  calibration.rangeTop = 10.0;
  calibration.rangeBottom = 0.0;
  Vela::DocumentFile::Contents contents{
      Vela::Document::FromRecording(recording), {}, {}, recording};
  contents.settings.resize(3);
  ASSERT_EQ(VelaTest::Module().MakeSettings(calibration, contents.settings[2]), S_OK);
  const std::wstring path = TempPath(L"velahost-calibrated.vdoc");
  ASSERT_EQ(Vela::DocumentFile::Save(path, contents), S_OK);
  contents.settings.clear();

  ASSERT_TRUE(window.OpenFile(path));
  const Vela::Recording& opened = window.Work().Rec();
  ASSERT_EQ(opened.ChannelCount(), 3u);
  EXPECT_TRUE(window.Work().IsCalculated(2));
  EXPECT_EQ(opened.ChannelAt(2).unit, L"kPa");
  // Shown over the range stored with the calibration.
  EXPECT_NEAR(opened.ChannelAt(2).top, 10.0, 1e-4);
  EXPECT_NEAR(opened.ChannelAt(2).bottom, 0.0, 1e-4);
  for (std::size_t b = 0; b < opened.BlockCount(); ++b) {
    const auto& raw = opened.Samples(b, 0);
    const auto& filled = opened.Samples(b, 2);
    ASSERT_EQ(filled.size(), raw.size()) << b;
    for (std::size_t i = 0; i < raw.size(); i += 17)
      EXPECT_NEAR(filled[i], 1.0f + 2.0f * raw[i], 1e-5f) << b << " " << i;
  }
  Drag(Data(), XOf(60, 0), XOf(120, 0), RowOf(2));
  GuiDriver::Pump(50ms);
  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(window.hwnd(), L"velahost-calibrated-" + dpi).empty());
}

// Shift with the arrow keys selects from the recording's start, and gives back what it took.
TEST_F(MainWindowTest, ShiftArrowsSelectWithTheKeyboard) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  for (int i = 0; i < 10; ++i)
    GuiDriver::PressKey(Data(), VK_RIGHT);
  const auto grown = window.Work().Rec().selection;
  for (int i = 0; i < 5; ++i)
    GuiDriver::PressKey(Data(), VK_LEFT);
  const auto shrunk = window.Work().Rec().selection;
  for (int i = 0; i < 5; ++i)
    GuiDriver::PressKey(Data(), VK_LEFT);
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  ASSERT_TRUE(grown.exists);
  EXPECT_EQ(grown.startPosition, 0);
  EXPECT_EQ(grown.startBlock, 0);
  EXPECT_EQ(grown.endBlock, 0);
  // Ten steps of two pixels at 96 dpi.
  const auto& layout = window.Data().Layout();
  EXPECT_EQ(static_cast<std::size_t>(grown.endPosition) + 1,
            layout.At(layout.Left() + 10 * 2 * GuiDriver::ExpectedDpi() / 96).position);
  ASSERT_TRUE(shrunk.exists);
  EXPECT_LT(shrunk.endPosition, grown.endPosition);
  EXPECT_GT(shrunk.endPosition, 0);
  EXPECT_FALSE(window.Work().Rec().selection.exists);
}

// The real program in its own process: it opens the recording named on its command line, opens the
// module's calibration dialog on the calibration command, and ends cleanly with no module object
// left when its window is closed.
struct ProcessWindows {
  DWORD process = 0;
  const wchar_t* className = nullptr;
  HWND found = nullptr;
};

HWND FindProcessWindow(DWORD process, const wchar_t* className) {
  ProcessWindows search{process, className, nullptr};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto& s = *reinterpret_cast<ProcessWindows*>(lParam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = L"";
        ::GetClassNameW(hwnd, name, 64);
        if (owner == s.process && std::wstring(name) == s.className && ::IsWindowVisible(hwnd)) {
          s.found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProcessWindow(DWORD process, const wchar_t* className) {
  HWND found = nullptr;
  GuiDriver::PumpUntil([&] { return (found = FindProcessWindow(process, className)) != nullptr; },
                       10000ms);
  return found;
}

TEST(VelahostProgram, OpensReportsAndEndsCleanly) {
  wchar_t exe[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring program(exe, n);
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"velahost.exe";
  std::wstring command = L"\"" + program + L"\" open \"" + WriteRecording() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
  Tarn::unique_handle process(info.hProcess);
  Tarn::unique_handle thread(info.hThread);

  const HWND main = WaitForProcessWindow(info.dwProcessId, L"VelaMainWindow");
  ASSERT_NE(main, nullptr);
  const std::wstring caption = L"velahost-two-channels.csv - " + Vela::HostString(IDS_APP_TITLE);
  EXPECT_TRUE(GuiDriver::PumpUntil([&] { return GuiDriver::Text(main) == caption; }, 10000ms))
      << GuiDriver::Text(main);

  // The calibration dialog of the module opens over the main window, and Cancel closes it.
  ::PostMessageW(main, WM_COMMAND, IDM_CALIBRATION, 0);
  const HWND dialog = WaitForProcessWindow(info.dwProcessId, L"#32770");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GuiDriver::Text(dialog), L"Multipoint Calibration for Channel 1");
  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  GuiDriver::PumpUntil([&] { return !::IsWindow(dialog); }, 5000ms);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

// The program as a person sees it, at the prefix's dpi: a two-channel recording in two blocks
// with a selection across the block boundary.
TEST(MainWindowPictures, TwoChannelsWithASelection) {
  Vela::MainWindow window(VelaTest::Module());
  ASSERT_TRUE(window.Create(640, 400));
  ::ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  ASSERT_TRUE(window.OpenFile(WriteRecording()));
  GuiDriver::Pump(50ms);
  const auto& layout = window.Data().Layout();
  const RECT band = window.Data().BandRect(0);
  Drag(window.Data().hwnd(), static_cast<int>(layout.X({140, 0})),
       static_cast<int>(layout.X({40, 1})), (band.top + band.bottom) / 2);
  ASSERT_TRUE(window.Work().Rec().selection.exists);
  ::InvalidateRect(window.hwnd(), nullptr, TRUE);
  GuiDriver::Pump(100ms);
  const std::wstring dpi = std::to_wstring(GuiDriver::ExpectedDpi());
  EXPECT_FALSE(GuiDriver::CaptureToPng(window.hwnd(), L"velahost-two-channels-" + dpi).empty());
  window.Destroy();
}

} // namespace

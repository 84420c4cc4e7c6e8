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
#include "DemoRecording.h"
#include "DocumentFile.h"
#include "GuiDriver.h"
#include "HostIds.h"
#include "MainWindow.h"
#include "MemoryObjectStream.h"
#include "foundation/Utf8.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"

namespace {

using namespace std::chrono_literals;

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

  // Saved, and read back by a new velahost process.
  const std::wstring documentPath = tour.File(L"tour.vdoc");
  ::DeleteFileW(documentPath.c_str());
  ASSERT_TRUE(window.SaveFile(documentPath));
  const std::wstring dumpPath = tour.File(L"dump.txt");
  ASSERT_EQ(RunProgram(ProgramBesideTest(L"velahost.exe"),
                       L"dump " + Quoted(documentPath) + L" " + Quoted(dumpPath)),
            0);
  EXPECT_TRUE(DumpedChannel(dumpPath, 1).empty());

  window.Destroy();
  GuiDriver::Pump(10ms);
  EXPECT_EQ(VelaTest::LiveModuleObjects(), 0);
}

} // namespace

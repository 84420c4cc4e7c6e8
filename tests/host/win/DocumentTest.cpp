// Documents saved with calibrated channels and opened again, in this process and in a new host
// process (velahost.exe beside the test).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "HostApplication.h"
#include "HostSession.h"
#include "HostUnit.h"
#include "HostUnitCollection.h"
#include "ModuleEnvironment.h"
#include "foundation/win/UniqueHandle.h"

namespace {

using Vela::Calibration;
using Vela::Document;
using VelaTest::Module;

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"velatest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

// Runs velahost.exe with `arguments`; its exit code, or -1 when it could not run.
int RunHost(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + Folder() + L"velahost.exe\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return -1;
  const Tarn::unique_handle process(pi.hProcess), thread(pi.hThread);
  WaitForSingleObject(process.get(), 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::shared_ptr<Document> TwoChannelDocument() {
  auto doc = std::make_shared<Document>(
      std::vector<Document::Channel>{{L"Pressure", L"V"}, {L"Flow", L"V"}, {L"Spare", L"mV"}});
  doc->AddRecord(
      {Vela::Ramp(500, -1.0f, 4.0f), Vela::Ramp(500, 0.1f, 0.9f), Vela::Ramp(500, 0.0f, 1.0f)});
  doc->AddRecord(
      {Vela::Ramp(64, 3.0f, 2.0f), Vela::Ramp(64, 5.0f, 0.0f), Vela::Ramp(64, 1.0f, 1.0f)});
  return doc;
}

void CalibrateTwo(Vela::HostSession& session) {
  Calibration cubic;
  cubic.fitType = 2;
  cubic.coefficients = {0.5, -1.25, 0.375, 0.0625};
  cubic.rawValues = {0, 1, 2, 3};
  cubic.calibratedValues = {0.5, -0.3125, 0.25, 1.75};
  cubic.unitName = L"kPa";
  cubic.sourceChannel = 0;
  ASSERT_EQ(session.Calibrate(0, cubic), S_OK);
  Calibration exponential;
  exponential.fitType = 6;
  exponential.coefficients = {0.5, 3.0};
  exponential.rawValues = {0, 1};
  exponential.calibratedValues = {3, 4.94616};
  exponential.unitName = L"l/min";
  exponential.sourceChannel = 1;
  // The calculated channel reads another channel.
  ASSERT_EQ(session.Calibrate(2, exponential), S_OK);
}

// "channel C record R samples N" followed by the samples, for every calibrated channel.
std::string Listing(const Vela::HostSession& session) {
  std::ostringstream out;
  const Document& doc = session.Doc();
  for (std::size_t c = 0; c < doc.ChannelCount(); ++c) {
    if (!session.HasCalculation(c))
      continue;
    for (std::size_t r = 0; r < doc.RecordCount(); ++r) {
      std::vector<float> samples;
      EXPECT_EQ(session.Calibrated(c, r, samples), S_OK);
      char line[64];
      std::snprintf(line, sizeof line, "channel %zu record %zu samples %zu\n", c, r,
                    samples.size());
      out << line;
      for (float v : samples) {
        std::snprintf(line, sizeof line, "%.9g\n", static_cast<double>(v));
        out << line;
      }
    }
  }
  return out.str();
}

std::string ReadText(const std::wstring& path) {
  const auto bytes = ReadBytes(path);
  std::string text(bytes.begin(), bytes.end());
  std::erase(text, '\r');
  return text;
}

class DocumentTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (const auto& path : files_)
      DeleteFileW(path.c_str());
    if (const auto live = VelaTest::LiveModuleObjects(); live >= 0) {
      EXPECT_EQ(live, 0);
    }
  }
  std::wstring File(const wchar_t* name) {
    files_.push_back(TempPath(name));
    return files_.back();
  }
  std::vector<std::wstring> files_;
};

TEST_F(DocumentTest, SavedDocumentGivesTheSameCalibratedSamplesInANewHostProcess) {
  const std::wstring doc = File(L"two.doc");
  const std::wstring dump = File(L"two.txt");
  std::string expected;
  {
    Vela::HostSession session(Module());
    session.Open(TwoChannelDocument());
    CalibrateTwo(session);
    expected = Listing(session);
    ASSERT_EQ(session.Save(doc), S_OK);
  }
  ASSERT_EQ(RunHost(L"dump \"" + doc + L"\" \"" + dump + L"\""), 0);
  EXPECT_EQ(ReadText(dump), expected);
  EXPECT_NE(expected.find("channel 2 record 1 samples 64"), std::string::npos);

  // And back: the document opens in this process with the same samples and channels.
  Vela::HostSession reopened(Module());
  ASSERT_EQ(reopened.Load(doc), S_OK);
  EXPECT_EQ(reopened.Doc(), *TwoChannelDocument());
  EXPECT_FALSE(reopened.HasCalculation(1));
  EXPECT_EQ(Listing(reopened), expected);
}

TEST_F(DocumentTest, UnitListIsKeptWithTheDocument) {
  const std::wstring doc = File(L"units.doc");
  auto& list = Vela::HostApplication::Instance().UnitList();
  const std::vector<Vela::UnitValue> units = {{1, L"psi", 0}, {7, L"V", 0}, {9, L"Pa", 1}};
  list.Replace(units);
  {
    Vela::HostSession session(Module());
    session.Open(TwoChannelDocument());
    ASSERT_EQ(session.Save(doc), S_OK);
  }
  list.Replace({{1, L"atm", 0}});
  Vela::HostSession reopened(Module());
  ASSERT_EQ(reopened.Load(doc), S_OK);
  EXPECT_EQ(list.Units(), units);
  std::int32_t count = 0;
  ASSERT_EQ(list.Count(0, &count), S_OK);
  EXPECT_EQ(count, 3);
  list.Clear();
}

TEST_F(DocumentTest, DocumentSavedByAnotherHostProcessOpensHere) {
  const std::wstring doc = File(L"demo.doc");
  const std::wstring dump = File(L"demo.txt");
  ASSERT_EQ(RunHost(L"demo \"" + doc + L"\""), 0);
  ASSERT_EQ(RunHost(L"dump \"" + doc + L"\" \"" + dump + L"\""), 0);
  Vela::HostSession session(Module());
  ASSERT_EQ(session.Load(doc), S_OK);
  EXPECT_TRUE(session.HasCalculation(0));
  EXPECT_TRUE(session.HasCalculation(1));
  EXPECT_EQ(Listing(session), ReadText(dump));
}

TEST_F(DocumentTest, DamagedDocumentIsRefusedAndTheOpenDocumentIsKept) {
  const std::wstring good = File(L"good.doc");
  const std::wstring bad = File(L"bad.doc");
  {
    Vela::HostSession writer(Module());
    writer.Open(TwoChannelDocument());
    CalibrateTwo(writer);
    ASSERT_EQ(writer.Save(good), S_OK);
  }
  const auto bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 100u);

  Vela::HostSession session(Module());
  ASSERT_EQ(session.Load(good), S_OK);
  const std::string before = Listing(session);

  struct Damage {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Damage> damages;
  damages.push_back({"empty", {}});
  damages.push_back(
      {"truncated in the samples", {bytes.begin(), bytes.begin() + bytes.size() / 2}});
  damages.push_back({"truncated in the settings", {bytes.begin(), bytes.end() - 12}});
  auto extra = bytes;
  extra.push_back(0);
  damages.push_back({"trailing byte", extra});
  auto header = bytes;
  header[0] ^= 0xFF;
  damages.push_back({"bad header", header});
  // The record count (after the header, magic, version, channel count and channel names) set
  // to a huge value: the reader must refuse it without allocating.
  auto count = bytes;
  for (std::size_t i = 8; i + 5 < count.size(); ++i)
    if (count[i] == 1 && count[i + 1] == 2 && count[i + 2] == 0 && count[i + 3] == 0 &&
        count[i + 4] == 0) {
      count[i + 1] = 0xFF;
      count[i + 2] = 0xFF;
      count[i + 3] = 0xFF;
      count[i + 4] = 0x7F;
    }
  damages.push_back({"huge counts", count});

  for (const auto& damage : damages) {
    SCOPED_TRACE(damage.name);
    WriteBytes(bad, damage.bytes);
    EXPECT_TRUE(FAILED(session.Load(bad)));
    EXPECT_EQ(session.Doc(), *TwoChannelDocument());
    EXPECT_EQ(Listing(session), before);
    // The host program reports the failure too, with an error exit.
    EXPECT_NE(RunHost(L"dump \"" + bad + L"\""), 0);
  }
  // The good file was not touched by the failed loads.
  EXPECT_EQ(ReadBytes(good), bytes);
}

TEST_F(DocumentTest, ModuleFindsTheHostLibraryByItselfInAProcessWithoutHostClasses) {
  EXPECT_EQ(RunHost(L"fallback"), 0);
}

} // namespace

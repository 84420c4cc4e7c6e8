// A recording kept in the document file, and a calculated channel filled from the module's
// calculation block by block.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DocumentFile.h"
#include "FileObjectStream.h"
#include "HostSession.h"
#include "ModuleEnvironment.h"
#include "Recording.h"
#include "foundation/win/TarnString.h"

namespace {

using Tarn::ComPtr;
using ::testing::ElementsAre;
using ::testing::FloatEq;
using Vela::DocumentFile;
using Vela::Recording;

std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"velarec-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
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

// Every attribute the file keeps set away from its default, a calculated channel filled in one
// block only, and samples that are not exact in double text.
Recording Sample() {
  Recording r = Recording::ImportCsv("time,Pressure (mmHg),Flow (V)\n"
                                     "0,0.1,3e-7\n0.5,-1.25,1e30\n1.0,nan,-0\n"
                                     "7.0,2,3\n7.5,4,5\n");
  r.ChannelAt(0).colour = 0x00ABCDEF;
  r.ChannelAt(0).top = 123.5;
  r.ChannelAt(0).bottom = -0.25;
  r.ChannelAt(1).conversion = {true, 2.5, -1.0, L"l/min"};
  Recording::Channel calc;
  calc.name = L"Pressure calibrated \u00B0";
  calc.unit = L"kPa";
  calc.calculated = true;
  const std::size_t c = r.AddChannel(calc);
  r.SetSamples(1, c, {0.5f, 0.75f});
  r.selection = {true, 1, 0, 0, 1};
  return r;
}

bool SameSamples(const Recording& a, const Recording& b) {
  if (a.BlockCount() != b.BlockCount() || a.ChannelCount() != b.ChannelCount())
    return false;
  for (std::size_t k = 0; k < a.BlockCount(); ++k)
    for (std::size_t c = 0; c < a.ChannelCount(); ++c) {
      const auto& x = a.Samples(k, c);
      const auto& y = b.Samples(k, c);
      // Compared as bits, so that NaN and -0 count.
      if (x.size() != y.size() || !std::equal(x.begin(), x.end(), y.begin(), [](float p, float q) {
            return std::memcmp(&p, &q, sizeof p) == 0;
          }))
        return false;
    }
  return true;
}

DocumentFile::Contents ContentsOf(const Recording& r) {
  DocumentFile::Contents contents{Vela::Document::FromRecording(r), {}, {}, r};
  contents.settings.resize(r.ChannelCount());
  contents.units = {{1, L"mmHg", 0}};
  return contents;
}

class RecordingFileTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (const auto& path : files_)
      DeleteFileW(path.c_str());
  }
  std::wstring File(const wchar_t* name) {
    files_.push_back(TempPath(name));
    return files_.back();
  }
  std::vector<std::wstring> files_;
};

TEST_F(RecordingFileTest, RecordingRoundTripsWithEveryAttribute) {
  const std::wstring path = File(L"round.doc");
  const Recording original = Sample();
  ASSERT_EQ(DocumentFile::Save(path, ContentsOf(original)), S_OK);
  DocumentFile::Contents loaded;
  ASSERT_EQ(DocumentFile::Load(path, nullptr, loaded), S_OK);
  const Recording& r = loaded.recording;
  EXPECT_EQ(r.Channels(), original.Channels());
  ASSERT_EQ(r.BlockCount(), 2u);
  for (std::size_t b = 0; b < 2; ++b) {
    EXPECT_EQ(r.BlockAt(b).start, original.BlockAt(b).start);
    EXPECT_EQ(r.BlockAt(b).interval, original.BlockAt(b).interval);
    EXPECT_EQ(r.BlockAt(b).length, original.BlockAt(b).length);
  }
  EXPECT_TRUE(SameSamples(r, original));
  EXPECT_FALSE(r.HasData(0, 2));
  EXPECT_TRUE(r.HasData(1, 2));
  EXPECT_EQ(r.selection, original.selection);
  EXPECT_EQ(loaded.document.ChannelCount(), 3u);
  EXPECT_EQ(loaded.units, (std::vector<Vela::UnitValue>{{1, L"mmHg", 0}}));
}

TEST_F(RecordingFileTest, DamagedOrTruncatedFileIsRefusedAndNothingIsLost) {
  const std::wstring good = File(L"good.doc");
  const std::wstring bad = File(L"bad.doc");
  ASSERT_EQ(DocumentFile::Save(good, ContentsOf(Sample())), S_OK);
  const auto bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 200u);

  DocumentFile::Contents kept;
  ASSERT_EQ(DocumentFile::Load(good, nullptr, kept), S_OK);
  // Every cut inside the file, each a few items apart, and one byte too many.
  std::vector<std::vector<std::uint8_t>> damaged;
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7)
    damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
  damaged.push_back(bytes);
  damaged.back().push_back(0);
  for (const auto& damage : damaged) {
    SCOPED_TRACE(damage.size());
    WriteBytes(bad, damage);
    EXPECT_TRUE(FAILED(DocumentFile::Load(bad, nullptr, kept)));
    EXPECT_EQ(kept.recording.Channels(), Sample().Channels());
    EXPECT_TRUE(SameSamples(kept.recording, Sample()));
  }

  // A failed save leaves the previous file as it was.
  DocumentFile::Contents mismatched = ContentsOf(Sample());
  mismatched.settings.pop_back();
  EXPECT_EQ(DocumentFile::Save(good, mismatched), E_INVALIDARG);
  EXPECT_EQ(ReadBytes(good), bytes);
}

TEST_F(RecordingFileTest, SelectionOutsideTheBlocksOrBackwardsIsRefused) {
  const std::wstring path = File(L"selection.doc");
  // Blocks of 3 and 2 samples.
  const Recording::Selection cases[] = {
      {true, 3, 0, 0, 1},  // start past its block
      {true, 0, 0, 2, 1},  // end past its block
      {true, 0, 2, 0, 2},  // no such block
      {true, -1, 0, 0, 0}, // before the first sample
      {true, 0, 1, 2, 0},  // ends in a block before its start
      {true, 2, 0, 1, 0},  // ends before it starts
  };
  for (const auto& selection : cases) {
    SCOPED_TRACE(::testing::Message() << selection.startPosition << " " << selection.startBlock
                                      << " " << selection.endPosition << " " << selection.endBlock);
    Recording r = Sample();
    r.selection = selection;
    ASSERT_EQ(DocumentFile::Save(path, ContentsOf(r)), S_OK);
    DocumentFile::Contents loaded;
    EXPECT_EQ(DocumentFile::Load(path, nullptr, loaded), STG_E_DOCFILECORRUPT);
  }
  Recording none = Sample();
  none.selection = {};
  ASSERT_EQ(DocumentFile::Save(path, ContentsOf(none)), S_OK);
  DocumentFile::Contents loaded;
  ASSERT_EQ(DocumentFile::Load(path, nullptr, loaded), S_OK);
  EXPECT_FALSE(loaded.recording.selection.exists);
}

TEST_F(RecordingFileTest, VersionThreeFileIsStillReadWithoutASelection) {
  const std::wstring path = File(L"v3.doc");
  {
    HRESULT hr = S_OK;
    const auto stream = ComPtr<Vela::FileObjectStream>::Adopt(
        Vela::FileObjectStream::Open(path, Vela::FileObjectStream::Mode::Write, &hr));
    ASSERT_TRUE(stream) << std::hex << hr;
    Host::IObjectStream& s = *stream;
    const auto text = [&s](const wchar_t* t) { (void)s.WriteString(Tarn::TarnString(t).get()); };
    text(L"VelaDocument");
    (void)s.WriteInt(3);
    (void)s.WriteInt(1); // channels
    text(L"Pressure");
    text(L"V");
    (void)s.WriteInt(1); // records
    (void)s.WriteInt(2); // samples
    (void)s.WriteDouble(1.5);
    (void)s.WriteDouble(-2.0);
    (void)s.WriteInt(0); // no settings
    (void)s.WriteInt(0); // units
    (void)s.WriteInt(1); // the recording's channels
    text(L"Pressure");
    text(L"V");
    (void)s.WriteInt(0x00FF0000);
    (void)s.WriteDouble(5.0);
    (void)s.WriteDouble(-5.0);
    (void)s.WriteInt(0); // not calculated
    (void)s.WriteInt(0); // no conversion
    (void)s.WriteDouble(1.0);
    (void)s.WriteDouble(0.0);
    text(L"");
    (void)s.WriteInt(1); // blocks
    (void)s.WriteDouble(0.0);
    (void)s.WriteDouble(0.5);
    (void)s.WriteInt(2);
    (void)s.WriteInt(1);
    (void)s.WriteDouble(1.5);
    (void)s.WriteDouble(-2.0);
    text(L"END");
    ASSERT_EQ(stream->Commit(), S_OK);
  }
  DocumentFile::Contents loaded;
  ASSERT_EQ(DocumentFile::Load(path, nullptr, loaded), S_OK);
  ASSERT_EQ(loaded.recording.ChannelCount(), 1u);
  EXPECT_EQ(loaded.recording.Samples(0, 0), (std::vector<float>{1.5f, -2.0f}));
  EXPECT_EQ(loaded.recording.ChannelAt(0).colour, 0x00FF0000u);
  EXPECT_FALSE(loaded.recording.selection.exists);
}

TEST_F(RecordingFileTest, VersionTwoFileIsStillReadWithoutARecording) {
  const std::wstring path = File(L"v2.doc");
  {
    HRESULT hr = S_OK;
    const auto stream = ComPtr<Vela::FileObjectStream>::Adopt(
        Vela::FileObjectStream::Open(path, Vela::FileObjectStream::Mode::Write, &hr));
    ASSERT_TRUE(stream) << std::hex << hr;
    Host::IObjectStream& s = *stream;
    const auto text = [&s](const wchar_t* t) { (void)s.WriteString(Tarn::TarnString(t).get()); };
    text(L"VelaDocument");
    (void)s.WriteInt(2);
    (void)s.WriteInt(1); // channels
    text(L"Pressure");
    text(L"V");
    (void)s.WriteInt(1); // records
    (void)s.WriteInt(2); // samples
    (void)s.WriteDouble(1.5);
    (void)s.WriteDouble(-2.0);
    (void)s.WriteInt(0); // no settings
    (void)s.WriteInt(1); // units
    (void)s.WriteInt(7);
    text(L"Pa");
    (void)s.WriteInt(0);
    text(L"END");
    ASSERT_EQ(stream->Commit(), S_OK);
  }
  DocumentFile::Contents loaded;
  ASSERT_EQ(DocumentFile::Load(path, nullptr, loaded), S_OK);
  EXPECT_EQ(loaded.recording.ChannelCount(), 0u);
  ASSERT_EQ(loaded.document.RecordCount(), 1u);
  EXPECT_EQ(*loaded.document.Samples(0, 0), (std::vector<float>{1.5f, -2.0f}));
  EXPECT_EQ(loaded.units, (std::vector<Vela::UnitValue>{{7, L"Pa", 0}}));
}

TEST_F(RecordingFileTest, CalculatedChannelIsFilledBlockByBlockAndKeptWithTheSession) {
  Recording r = Recording::ImportCsv("t,raw (V)\n0,0\n1,1\n2,2\n10,-1\n11,4\n");
  Recording::Channel calc;
  calc.name = L"calibrated";
  calc.unit = L"mmHg";
  calc.calculated = true;
  const std::size_t target = r.AddChannel(calc);

  Vela::HostSession session(VelaTest::Module());
  session.Open(std::make_shared<const Vela::Document>(Vela::Document::FromRecording(r)));
  Vela::Calibration linear;
  linear.fitType = 0;
  linear.coefficients = {1.0, 2.0};
  linear.rawValues = {0.0, 1.0};
  linear.calibratedValues = {1.0, 3.0};
  linear.unitName = L"mmHg";
  linear.sourceChannel = 0;
  ASSERT_EQ(session.Calibrate(target, linear), S_OK);
  ASSERT_EQ(session.FillCalculated(target, r, target), S_OK);
  EXPECT_EQ(r.Samples(0, target), (std::vector<float>{1.0f, 3.0f, 5.0f}));
  EXPECT_EQ(r.Samples(1, target), (std::vector<float>{-1.0f, 9.0f}));
  // A calculation cannot fill its own source, and a channel without one fills nothing.
  EXPECT_EQ(session.FillCalculated(target, r, 0), E_INVALIDARG);
  EXPECT_EQ(session.FillCalculated(0, r, target), E_FAIL);

  const std::wstring path = File(L"session.doc");
  ASSERT_EQ(session.Save(path, &r), S_OK);
  Recording reopened;
  Vela::HostSession again(VelaTest::Module());
  ASSERT_EQ(again.Load(path, &reopened), S_OK);
  EXPECT_TRUE(again.HasCalculation(target));
  EXPECT_EQ(reopened.Samples(1, target), (std::vector<float>{-1.0f, 9.0f}));
  EXPECT_TRUE(reopened.ChannelAt(target).calculated);
}

// The calculated channel is filled from what a calculation receives of its source, as the
// dialog's preview reads it: through the host's units conversion, without the unit's prefix.
TEST_F(RecordingFileTest, CalculatedChannelIsFilledFromTheSourceAsACalculationReceivesIt) {
  struct Case {
    const char* name;
    const wchar_t* unit;
    Recording::UnitsConversion conversion;
    std::vector<float> expected; // 1 + 2x of the samples 0, 1, 2
  };
  const Case cases[] = {
      {"volts", L"V", {}, {1.0f, 3.0f, 5.0f}},
      {"millivolts", L"mV", {}, {1.0f, 1.002f, 1.004f}},
      {"converted to kPa", L"V", {true, 2.0, 1.0, L"kPa"}, {2001.0f, 6001.0f, 10001.0f}},
      {"conversion off", L"V", {false, 2.0, 1.0, L"kPa"}, {1.0f, 3.0f, 5.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recording r = Recording::ImportCsv("t,raw\n0,0\n1,1\n2,2\n");
    r.ChannelAt(0).unit = c.unit;
    r.ChannelAt(0).conversion = c.conversion;
    Recording::Channel calc;
    calc.name = L"calibrated";
    calc.calculated = true;
    const std::size_t target = r.AddChannel(calc);

    Vela::HostSession session(VelaTest::Module());
    session.Open(std::make_shared<const Vela::Document>(Vela::Document::FromRecording(r)));
    Vela::Calibration linear;
    linear.coefficients = {1.0, 2.0};
    linear.rawValues = {0.0, 1.0};
    linear.calibratedValues = {1.0, 3.0};
    linear.sourceChannel = 0;
    ASSERT_EQ(session.Calibrate(target, linear), S_OK);
    ASSERT_EQ(session.FillCalculated(target, r, target), S_OK);
    EXPECT_THAT(r.Samples(0, target), ElementsAre(FloatEq(c.expected[0]), FloatEq(c.expected[1]),
                                                  FloatEq(c.expected[2])));
  }
}

} // namespace

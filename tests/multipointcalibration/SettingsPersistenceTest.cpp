#include "multipointcalibration/SettingsPersistence.h"

#include <gtest/gtest.h>

#include <locale>

#include "fitting/FitType.h"
#include "foundation/ItemFile.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalibration {
namespace {

namespace hr = Tarn::hr;
using Tarn::ItemFileReader;
using Tarn::ItemFileWriter;
using Tarn::ItemReader;
using Tarn::ItemWriter;

// A read fault of the kind a damaged document gives.
constexpr Tarn::HResult kReadFault = static_cast<Tarn::HResult>(0x8003001Eu);

// Counts item operations and fails every one from the `failAt`-th on (1-based; 0 never fails),
// with the status staying negative as the host stream's does.
class FaultCounter {
public:
  explicit FaultCounter(int failAt) : failAt_(failAt) {}
  bool Next() {
    ++count_;
    failed_ = failed_ || count_ == failAt_;
    return !failed_;
  }
  bool Failed() const { return failed_; }
  int Items() const { return count_; }

private:
  int failAt_;
  int count_ = 0;
  bool failed_ = false;
};

// Passes items through to an item file, failing as its counter says.
class FaultyWriter final : public ItemWriter, public FaultCounter {
public:
  FaultyWriter(std::vector<std::uint8_t>& bytes, int failAt)
      : FaultCounter(failAt), inner_(bytes) {}
  Tarn::HResult WriteInt(std::int32_t v) noexcept override {
    return Next() ? inner_.WriteInt(v) : hr::fail;
  }
  Tarn::HResult WriteDouble(double v) noexcept override {
    return Next() ? inner_.WriteDouble(v) : hr::fail;
  }
  Tarn::HResult WriteString(std::wstring_view v) noexcept override {
    return Next() ? inner_.WriteString(v) : hr::fail;
  }
  Tarn::HResult Status() noexcept override { return Failed() ? hr::fail : inner_.Status(); }

private:
  ItemFileWriter inner_;
};

// Reads items from an item file, failing as its counter says.
class FaultyReader final : public ItemReader, public FaultCounter {
public:
  FaultyReader(std::span<const std::uint8_t> bytes, int failAt)
      : FaultCounter(failAt), inner_(bytes) {}
  Tarn::HResult ReadInt(std::int32_t& v) noexcept override {
    return Next() ? inner_.ReadInt(v) : kReadFault;
  }
  Tarn::HResult ReadLong(std::int32_t& v) noexcept override {
    return Next() ? inner_.ReadLong(v) : kReadFault;
  }
  Tarn::HResult ReadDouble(double& v) noexcept override {
    return Next() ? inner_.ReadDouble(v) : kReadFault;
  }
  Tarn::HResult ReadString(std::wstring& v) noexcept override {
    return Next() ? inner_.ReadString(v) : kReadFault;
  }
  Tarn::HResult Status() noexcept override { return Failed() ? kReadFault : inner_.Status(); }

private:
  ItemFileReader inner_;
};

CalibrationSettings Sample() {
  CalibrationSettings s;
  s.showCalculated = true;
  s.sourceChannel = 3;
  s.decimalPlaces = 5;
  s.forceOrigin = true;
  s.fitType = Quadratic;
  s.rawValues = {0.5, 1.23456789, 2};
  s.calibratedValues = {1, 2, 3.5};
  s.coefficients = {0.25, 1.5, -0.125};
  s.sumSquaredError = 0.001;
  s.unit = {{4, 9}, L"degrees C"};
  s.rangeTop = 100;
  s.rangeBottom = -20;
  s.stringSet = {L"", L"first", L"second"};
  return s;
}

std::vector<std::uint8_t> Saved(const CalibrationSettings& s) {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  EXPECT_EQ(SaveSettings(writer, s), hr::ok);
  return bytes;
}

// The items of a version-0/1/2 document written by hand.
std::vector<std::uint8_t> Document(std::int32_t version, std::wstring_view text, bool unitBlock,
                                   std::initializer_list<std::wstring_view> set = {}) {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter w(bytes);
  (void)w.WriteInt(version);
  (void)w.WriteInt(1);
  (void)w.WriteInt(4);
  (void)w.WriteInt(2);
  (void)w.WriteDouble(10);
  (void)w.WriteDouble(-10);
  (void)w.WriteInt(static_cast<std::int32_t>(set.size()));
  for (const auto s : set) {
    (void)w.WriteString(s);
  }
  (void)w.WriteString(text);
  if (unitBlock) {
    (void)w.WriteInt(10);
    (void)w.WriteString(L"Pa");
    (void)w.WriteInt(6);
  }
  return bytes;
}

void ExpectSameRecord(const CalibrationSettings& a, const CalibrationSettings& b) {
  EXPECT_TRUE(a.EqualsForApply(b));
  EXPECT_EQ(a.ToParameterText(), b.ToParameterText());
  EXPECT_EQ(a.rangeTop, b.rangeTop);
  EXPECT_EQ(a.rangeBottom, b.rangeBottom);
  EXPECT_EQ(a.coefficients, b.coefficients);
  EXPECT_EQ(a.sumSquaredError, b.sumSquaredError);
  EXPECT_EQ(a.unit.prefixIndex, b.unit.prefixIndex);
  EXPECT_EQ(a.unit.unitKind, b.unit.unitKind);
}

TEST(SettingsPersistence, FreshRecordRoundTrip) {
  const CalibrationSettings fresh;
  const auto bytes = Saved(fresh);
  CalibrationSettings back = Sample();
  back.stringSet.clear(); // loading adds to the set
  ItemFileReader reader(bytes);
  ASSERT_EQ(LoadSettings(reader, back), hr::ok);
  EXPECT_TRUE(reader.AtEnd());
  ExpectSameRecord(back, fresh);
  EXPECT_TRUE(back.unit.name.empty());
  EXPECT_TRUE(back.coefficients.empty());
  EXPECT_TRUE(back.rawValues.empty());
  EXPECT_TRUE(back.calibratedValues.empty());
}

TEST(SettingsPersistence, ItemSequence) {
  const auto bytes = Saved(Sample());
  ItemFileReader r(bytes);
  std::int32_t i = 0;
  double d = 0;
  std::wstring s;
  const auto nextInt = [&] { return hr::Succeeded(r.ReadInt(i)) ? i : -999; };
  const auto nextDouble = [&] { return hr::Succeeded(r.ReadDouble(d)) ? d : -999.0; };
  const auto nextString = [&] { return hr::Succeeded(r.ReadString(s)) ? s : L"<failed>"; };
  EXPECT_EQ(nextInt(), 2);
  EXPECT_EQ(nextInt(), 1);
  EXPECT_EQ(nextInt(), 3);
  EXPECT_EQ(nextInt(), 5);
  EXPECT_EQ(nextDouble(), 100);
  EXPECT_EQ(nextDouble(), -20);
  EXPECT_EQ(nextInt(), 3);
  EXPECT_EQ(nextString(), L"");
  EXPECT_EQ(nextString(), L"first");
  EXPECT_EQ(nextString(), L"second");
  EXPECT_EQ(nextString(),
            L"1\t1\tdegrees C\t0\t0.001\t3\t0.25\t1.5\t-0.125\t3\t0.5\t1.23457\t2\t1\t2\t"
            L"3.5\t");
  EXPECT_EQ(nextInt(), 9);
  EXPECT_EQ(nextString(), L"degrees C");
  EXPECT_EQ(nextInt(), 4);
  EXPECT_TRUE(r.AtEnd());
}

TEST(SettingsPersistence, SampleRoundTripRoundsPoints) {
  CalibrationSettings back;
  const auto bytes = Saved(Sample());
  ItemFileReader reader(bytes);
  ASSERT_EQ(LoadSettings(reader, back), hr::ok);
  EXPECT_EQ(back.rawValues, (std::vector<double>{0.5, 1.23457, 2}));
  EXPECT_EQ(back.unit.name, L"degrees C");
  EXPECT_EQ(back.unit.unitKind, 4);
  EXPECT_EQ(back.unit.prefixIndex, 9);
  EXPECT_EQ(back.stringSet, Sample().stringSet);
  EXPECT_TRUE(back.showCalculated);
  EXPECT_EQ(back.decimalPlaces, 5);
  EXPECT_EQ(back.sourceChannel, 3);
  EXPECT_EQ(back.fitError, 0.0); // not persisted
}

TEST(SettingsPersistence, UnequalPointVectorsLoadAsTheShorter) {
  CalibrationSettings s;
  s.rawValues = {1, 2, 3, 4, 5};
  s.calibratedValues = {1, 2, 3, 4};
  CalibrationSettings back;
  const auto bytes = Saved(s);
  ItemFileReader reader(bytes);
  ASSERT_EQ(LoadSettings(reader, back), hr::ok);
  EXPECT_EQ(back.rawValues.size(), 4u);
  EXPECT_EQ(back.calibratedValues.size(), 4u);
}

TEST(SettingsPersistence, QuotesInTheNameSurviveThroughTheUnitBlockOnly) {
  CalibrationSettings s;
  s.unit.name = L"\"in\"";
  const auto v2 = Saved(s);
  CalibrationSettings back;
  ItemFileReader reader(v2);
  ASSERT_EQ(LoadSettings(reader, back), hr::ok);
  EXPECT_EQ(back.unit.name, L"\"in\"");
  const auto v1 = Document(1, s.ToParameterText(), false);
  ItemFileReader old(v1);
  ASSERT_EQ(LoadSettings(old, back), hr::ok);
  EXPECT_EQ(back.unit.name, L"in");
}

TEST(SettingsPersistence, OlderVersions) {
  for (const std::int32_t version : {0, 1}) {
    const auto bytes =
        Document(version, L"0\t0\tmV\t0\t0\t2\t1\t2\t0\t", false, {L"b", L"a", L"b"});
    CalibrationSettings back;
    back.unit = {{3, 9}, L"old"};
    ItemFileReader reader(bytes);
    EXPECT_EQ(LoadSettings(reader, back), hr::ok) << version;
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(back.unit.name, L"mV");
    EXPECT_EQ(back.unit.unitKind, 0);
    EXPECT_EQ(back.unit.prefixIndex, 1);
    EXPECT_EQ(back.coefficients, (std::vector<double>{1, 2}));
    EXPECT_EQ(back.stringSet.size(), 2u);
    EXPECT_TRUE(back.showCalculated);
    EXPECT_EQ(back.sourceChannel, 4);
    EXPECT_EQ(back.decimalPlaces, 2);
    EXPECT_EQ(back.rangeTop, 10);
  }
  const auto v2 = Document(2, L"0\t0\tmV\t0\t0\t0\t0\t", true);
  CalibrationSettings back;
  ItemFileReader reader(v2);
  EXPECT_EQ(LoadSettings(reader, back), hr::ok);
  EXPECT_EQ(back.unit.name, L"Pa");
  EXPECT_EQ(back.unit.prefixIndex, 10);
  EXPECT_EQ(back.unit.unitKind, 6);
}

TEST(SettingsPersistence, NewerVersionsAreRefusedUntouched) {
  for (const std::int32_t version : {3, 100, -1, INT32_MIN}) {
    const auto bytes = Document(version, L"1\t1\tV\t0\t0\t0\t0\t", true);
    CalibrationSettings back = Sample();
    FaultyReader reader(bytes, 0);
    EXPECT_EQ(LoadSettings(reader, back), static_cast<Tarn::HResult>(0xA0048205u)) << version;
    EXPECT_EQ(reader.Items(), 1);
    ExpectSameRecord(back, Sample());
  }
}

TEST(SettingsPersistence, DamagedCountsAreRefused) {
  // The set size's value: after the header, four ints and two doubles, and its type byte.
  constexpr std::size_t kSetSizeAt = 8 + 4 * 5 + 2 * 9 + 1;
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"negative set size",
       [] {
         auto b = Document(2, L"0\t0\tV\t0\t0\t0\t0\t", true);
         b[kSetSizeAt + 3] = 0xFF; // the sign byte
         return b;
       }()},
      {"set size beyond the file",
       [] {
         auto b = Document(2, L"0\t0\tV\t0\t0\t0\t0\t", true);
         b[kSetSizeAt + 2] = 0x7F;
         return b;
       }()},
      {"negative coefficient count", Document(2, L"0\t0\tV\t0\t0\t-5\t", true)},
      {"huge coefficient count", Document(1, L"0\t0\tV\t0\t0\t999999999\t", false)},
      {"huge point count", Document(0, L"0\t0\tV\t0\t0\t0\t2147483647\t", false)},
  };
  for (const auto& c : cases) {
    CalibrationSettings back;
    ItemFileReader reader(c.bytes);
    EXPECT_EQ(LoadSettings(reader, back), hr::fail) << c.what;
    // What was loaded can still be saved.
    std::vector<std::uint8_t> again;
    ItemFileWriter writer(again);
    EXPECT_EQ(SaveSettings(writer, back), hr::ok) << c.what;
  }
}

TEST(SettingsPersistence, MalformedTextStopsReading) {
  const auto v1 = Document(1, L"6\t0\tV\t0\t0\t2\t3\tx\t5\t", false);
  CalibrationSettings back;
  back.rawValues = {42};
  ItemFileReader reader(v1);
  EXPECT_EQ(LoadSettings(reader, back), hr::ok); // the status of the string read
  EXPECT_EQ(back.fitType, Exponential);
  EXPECT_EQ(back.coefficients, (std::vector<double>{3, 0}));
  EXPECT_EQ(back.rawValues, (std::vector<double>{42}));
}

TEST(SettingsPersistence, SaveFailingAtEveryItem) {
  const CalibrationSettings s = Sample();
  std::vector<std::uint8_t> scratch;
  FaultyWriter counting(scratch, 0);
  ASSERT_EQ(SaveSettings(counting, s), hr::ok);
  const int items = counting.Items();
  EXPECT_EQ(items, 14); // 12 items, the eighth three times
  for (int k = 1; k <= items; ++k) {
    std::vector<std::uint8_t> bytes;
    FaultyWriter writer(bytes, k);
    EXPECT_EQ(SaveSettings(writer, s), hr::fail) << k;
  }
}

// Items of the Sample document: version, show, channel, places, top, bottom, set size,
// 3 strings, text (11th), prefix, name, kind.
TEST(SettingsPersistence, LoadFailingAtEveryItem) {
  const CalibrationSettings s = Sample();
  const auto v2 = Saved(s);
  for (int k = 1; k <= 14; ++k) {
    CalibrationSettings back;
    FaultyReader reader(v2, k);
    const Tarn::HResult status = LoadSettings(reader, back);
    EXPECT_EQ(status, hr::fail) << k;
    if (k == 1) {
      ExpectSameRecord(back, CalibrationSettings());
    }
    std::vector<std::uint8_t> again;
    ItemFileWriter writer(again);
    EXPECT_EQ(SaveSettings(writer, back), hr::ok) << k;
  }
  const auto v1 = Document(1, s.ToParameterText(), false, {L"a", L"b", L"c"});
  for (int k = 2; k <= 12; ++k) {
    CalibrationSettings back;
    FaultyReader reader(v1, k);
    const Tarn::HResult expected = k <= 11 ? kReadFault : hr::ok;
    EXPECT_EQ(LoadSettings(reader, back), expected) << k;
  }
}

TEST(SettingsPersistence, ClassicLocaleWhateverTheGlobalLocale) {
  struct Punct : std::numpunct<wchar_t> {
    wchar_t do_decimal_point() const override { return L','; }
  };
  const auto expected = Saved(Sample());
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Punct));
  const auto saved = Saved(Sample());
  CalibrationSettings back;
  ItemFileReader reader(expected);
  const Tarn::HResult status = LoadSettings(reader, back);
  std::locale::global(previous);
  EXPECT_EQ(saved, expected);
  ASSERT_EQ(status, hr::ok);
  EXPECT_EQ(back.coefficients, Sample().coefficients);
}

} // namespace
} // namespace MPCalibration

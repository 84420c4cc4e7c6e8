#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../units/NumberLocales.h"
#include "Recording.h"

namespace Vela {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct BlockShape {
  double start;
  double interval;
  std::size_t length;
};

struct ImportCase {
  const char* name;
  const char* text;
  std::vector<std::wstring> names;
  std::vector<std::wstring> units;
  std::vector<BlockShape> blocks;
};

class ImportCsvTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportCsvTest, ChannelsAndBlocks) {
  const ImportCase& c = GetParam();
  const Recording r = Recording::ImportCsv(c.text);
  ASSERT_EQ(r.ChannelCount(), c.names.size());
  for (std::size_t i = 0; i < c.names.size(); ++i) {
    EXPECT_EQ(r.ChannelAt(i).name, c.names[i]) << i;
    EXPECT_EQ(r.ChannelAt(i).unit, c.units[i]) << i;
  }
  ASSERT_EQ(r.BlockCount(), c.blocks.size());
  for (std::size_t b = 0; b < c.blocks.size(); ++b) {
    EXPECT_DOUBLE_EQ(r.BlockAt(b).start, c.blocks[b].start) << b;
    EXPECT_NEAR(r.BlockAt(b).interval, c.blocks[b].interval, 1e-12) << b;
    EXPECT_EQ(r.BlockAt(b).length, c.blocks[b].length) << b;
    for (std::size_t ch = 0; ch < r.ChannelCount(); ++ch)
      EXPECT_EQ(r.Samples(b, ch).size(), c.blocks[b].length) << b << ' ' << ch;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Recording, ImportCsvTest,
    ::testing::Values(
        ImportCase{"HeaderWithUnits",
                   "time (s),Pressure (mmHg),Flow\n0,1,2\n0.5,3,4\n1.0,5,6\n",
                   {L"Pressure", L"Flow"},
                   {L"mmHg", L""},
                   {{0.0, 0.5, 3}}},
        ImportCase{"NoHeader",
                   "0\t1\t2\t3\n1\t4\t5\t6\n",
                   {L"Channel 1", L"Channel 2", L"Channel 3"},
                   {L"", L"", L""},
                   {{0.0, 1.0, 2}}},
        ImportCase{"QuotedHeaderCommentsAndBlankLines",
                   "# exported\n\"t\",\"Temp, core (degC)\"\r\n\r\n0,1\r\n0.1,2\r\n# end\r\n",
                   {L"Temp, core"},
                   {L"degC"},
                   {{0.0, 0.1, 2}}},
        ImportCase{"GapStartsBlocks",
                   "t,a\n0,1\n1,2\n2,3\n3.4,4\n10,5\n11,6\n12.5,7\n14.1,8\n",
                   {L"a"},
                   {L""},
                   {{0.0, 3.4 / 3, 4}, {10.0, 1.25, 3}, {14.1, 1.0, 1}}},
        ImportCase{
            "StepJustBelowTheGap", "t,a\n0,1\n1,2\n2.5,3\n", {L"a"}, {L""}, {{0.0, 1.25, 3}}},
        ImportCase{"UnitOnlyIsAName", "t,(V)\n0,1\n", {L"(V)"}, {L""}, {{0.0, 1.0, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingImport, SamplesAreReadAsFloatsInTheClassicFormWhateverTheLocale) {
  const Tarn::testing::GlobalLocaleGuard guard(Tarn::testing::CommaDecimalLocale());
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string restore = previous ? previous : "C";
  const bool german =
      std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "German");
  const Recording r = Recording::ImportCsv("t,v\n0,1.5\n0.25,-2.25e1\n0.5,0.1\n");
  std::setlocale(LC_NUMERIC, restore.c_str());
  EXPECT_THAT(r.Samples(0, 0), ElementsAre(1.5f, -22.5f, 0.1f)) << "C locale German: " << german;
  EXPECT_DOUBLE_EQ(r.BlockAt(0).interval, 0.25);
  EXPECT_FLOAT_EQ(static_cast<float>(r.ChannelAt(0).top), 1.5f);
  EXPECT_FLOAT_EQ(static_cast<float>(r.ChannelAt(0).bottom), -22.5f);
}

struct BadCase {
  const char* name;
  const char* text;
  std::size_t line;
  const char* says;
};

class ImportCsvRefusesTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(ImportCsvRefusesTest, NamesTheLine) {
  const BadCase& c = GetParam();
  try {
    (void)Recording::ImportCsv(c.text);
    FAIL() << "accepted";
  } catch (const RecordingError& e) {
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_THAT(e.what(), HasSubstr(c.says));
    if (c.line) {
      EXPECT_THAT(e.what(), HasSubstr("line " + std::to_string(c.line) + ":"));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Recording, ImportCsvRefusesTest,
    ::testing::Values(BadCase{"Empty", "", 0, "no recording"},
                      BadCase{"OnlyComments", "# nothing\n\n", 0, "no recording"},
                      BadCase{"HeaderOnly", "t,a\n", 0, "no samples"},
                      BadCase{"OneColumn", "0\n1\n", 1, "time column and a channel"},
                      BadCase{"ShortRow", "t,a,b\n0,1,2\n1,3\n", 3, "2 fields"},
                      BadCase{"LongRow", "0,1\n1,2\n\n2,3,4\n", 4, "3 fields"},
                      BadCase{"NotANumber", "t,a\n0,1\n1,x\n", 3, "\"x\" is not a number"},
                      BadCase{"CommaDecimalInTab", "t\ta\n0\t1,5\n", 2, "\"1,5\""},
                      BadCase{"EmptyField", "t,a,b\n0,1,\n", 2, "column 3"},
                      BadCase{"TimeBackwards", "t,a\n0,1\n1,2\n0.5,3\n", 4, "does not increase"},
                      BadCase{"TimeRepeated", "t,a\n0,1\n0,2\n", 3, "does not increase"},
                      BadCase{"TimeInfinite", "t,a\n0,1\ninf,2\n", 3, "finite"},
                      BadCase{"OpenQuote", "t,\"a\n0,1\n", 1, "quoted"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingImport, TooManyChannelsIsRefusedBeforeAnySampleIsKept) {
  std::string line = "t";
  for (std::size_t i = 0; i <= Recording::kMaxChannels; ++i)
    line += ",c";
  EXPECT_THROW((void)Recording::ImportCsv(line + "\n"), RecordingError);
}

TEST(RecordingImport, SizeLimitCountsEveryChannelAcrossBlocksAndNamesTheLine) {
  const char* text = "t,a,b\n0,1,2\n1,3,4\n9,5,6\n10,7,8\n";
  EXPECT_EQ(Recording::ImportCsv(text, 8).BlockCount(), 2u);
  try {
    (void)Recording::ImportCsv(text, 7);
    FAIL() << "accepted";
  } catch (const RecordingError& e) {
    EXPECT_EQ(e.Line(), 5u);
    EXPECT_THAT(e.what(), HasSubstr("too many samples"));
  }
}

TEST(Recording, CalculatedChannelIsFilledBlockByBlock) {
  Recording r = Recording::ImportCsv("t,a\n0,1\n1,2\n5,3\n");
  ASSERT_EQ(r.BlockCount(), 2u);
  Recording::Channel calc;
  calc.name = L"a calibrated";
  calc.calculated = true;
  const std::size_t c = r.AddChannel(calc);
  EXPECT_EQ(c, 1u);
  EXPECT_FALSE(r.HasData(0, c));
  r.SetSamples(1, c, {30.0f});
  EXPECT_TRUE(r.HasData(1, c));
  EXPECT_FALSE(r.HasData(0, c));
  EXPECT_THROW(r.SetSamples(0, c, {1.0f}), std::invalid_argument);
  r.SetSamples(0, c, {10.0f, 20.0f});
  EXPECT_THAT(r.Samples(0, c), ElementsAre(10.0f, 20.0f));
}

TEST(Recording, UnitsConversionAppliesOnlyWhenActive) {
  Recording::Channel c;
  c.unit = L"V";
  c.conversion = {false, 2.0, 1.0, L"mmHg"};
  EXPECT_DOUBLE_EQ(c.ToDataUnits(3.0), 3.0);
  EXPECT_EQ(c.DataUnit(), L"V");
  c.conversion.active = true;
  EXPECT_DOUBLE_EQ(c.ToDataUnits(3.0), 7.0);
  EXPECT_EQ(c.DataUnit(), L"mmHg");
}

TEST(Recording, DisplayRangeOfAFlatOrEmptyChannelHasASpan) {
  Recording flat = Recording::ImportCsv("t,a,b\n0,2,nan\n1,2,nan\n");
  EXPECT_GT(flat.ChannelAt(0).top, flat.ChannelAt(0).bottom);
  EXPECT_DOUBLE_EQ((flat.ChannelAt(0).top + flat.ChannelAt(0).bottom) / 2, 2.0);
  EXPECT_DOUBLE_EQ(flat.ChannelAt(1).top, 10.0);
  EXPECT_DOUBLE_EQ(flat.ChannelAt(1).bottom, -10.0);
}

} // namespace
} // namespace Vela

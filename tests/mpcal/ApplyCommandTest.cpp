#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChannelCalibration.h"
#include "DelimitedLine.h"
#include "NumberText.h"
#include "ToolTestSupport.h"
#include "fitting/EvaluateFit.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/BlockCalibrator.h"

namespace MPCalTool {
namespace {

using ::testing::HasSubstr;
using Testing::P;
using Testing::ReadFile;
using Testing::RunMpcal;
using Testing::TempFolder;
using Testing::WriteFile;

// Raw values that exercise every branch of the evaluation: negatives and zero (the logarithm's
// NaN), values between and beyond the point-to-point break points, values that are not exactly
// floats, NaN and the infinities, and the extremes of the float range.
const char* const kRawValues[] = {
    "0",        "-1",         "-0",     "0.5",         "1",
    "1.5",      "2",          "2.5",    "3",           "4.75",
    "10",       "0.1",        "1e-3",   "0.333333333", "-7.25",
    "1e30",     "-1e30",      "3.4e38", "1e-45",       "123456.789",
    "nan",      "inf",        "-inf",   "2.7182817",   "0.30000000000000004",
    "16777217", "1.00000001", "-0.5",   "5.5e-20",     "42"};

struct ParameterCase {
  const char* name;
  const wchar_t* text;
};
const ParameterCase kParameterTexts[] = {
    {"linear", L"0\t0\tmmHg\t0\t0\t2\t1\t2\t2\t0\t1\t1\t3\t"},
    {"quintic", L"4\t0\tV\t0\t0\t6\t0.1\t-0.2\t0.3\t-0.04\t0.005\t-0.0006\t0\t"},
    {"logarithmic", L"5\t0\tV\t0\t0\t2\t3\t2\t0\t"},
    {"exponential", L"6\t0\tV\t0\t0\t2\t0.3\t2.5\t0\t"},
    {"point to point", L"7\t0\tV\t0\t0\t8\t0\t0\t1\t10\t2\t40\t3\t45\t0\t"},
    {"point to point, 3 coefficients", L"7\t0\tV\t0\t0\t3\t0\t0\t1\t0\t"},
    {"fit type outside 0..7", L"9\t0\tV\t0\t0\t3\t1\t2\t3\t0\t"},
    {"no coefficients", L"2\t0\tINVALID_UNIT\t0\t0\t0\t0\t"},
    {"rounded coefficients", L"0\t0\tV\t0\t0\t2\t0.333333\t1.23457\t0\t"},
};

std::uint32_t Bits(float value) {
  // All NaNs are one: their payload is not part of the text written.
  return std::isnan(value) ? 0x7fc00000u : std::bit_cast<std::uint32_t>(value);
}

TEST(ApplyCommand, AgreesSampleForSampleWithTheChannelCalibrator) {
  TempFolder folder;
  std::string input = "# exported\nTime,Raw\n";
  for (std::size_t i = 0; i < std::size(kRawValues); ++i)
    input += std::to_string(i) + "," + kRawValues[i] + "\n";
  WriteFile(folder / "raw.csv", input);

  for (const ParameterCase& c : kParameterTexts) {
    SCOPED_TRACE(c.name);
    const ChannelCalibration calibration = ChannelCalibration::FromParameterText(c.text);
    const auto run = RunMpcal({"apply", "--params", Tarn::ToUtf8(c.text), "--in",
                               P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string output = ReadFile(folder / "cal.csv");
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < output.size();) {
      const std::size_t end = output.find('\n', pos);
      lines.push_back(std::string_view(output).substr(pos, end - pos));
      pos = end + 1;
    }
    ASSERT_EQ(lines.size(), std::size(kRawValues) + 2);
    EXPECT_EQ(lines[0], "# exported");
    EXPECT_EQ(lines[1], "Time,Raw");
    for (std::size_t i = 0; i < std::size(kRawValues); ++i) {
      double raw = 0.0;
      ASSERT_TRUE(ParseNumber(kRawValues[i], raw));
      float expected = static_cast<float>(raw);
      calibration.Calibrator().Apply(&expected, 1);
      const std::string_view line = lines[i + 2];
      const std::string time = std::to_string(i) + ",";
      ASSERT_EQ(line.substr(0, time.size()), time) << line;
      double written = 0.0;
      ASSERT_TRUE(ParseNumber(line.substr(time.size()), written)) << line;
      EXPECT_EQ(Bits(static_cast<float>(written)), Bits(expected))
          << kRawValues[i] << " -> " << line;

      // The documented rule behind the calibrator: the float widened, evaluated, narrowed.
      const std::int32_t type = calibration.Calibrator().FitType();
      if (type >= 0 && type <= 7) {
        double widened = static_cast<float>(raw);
        MPCalibration::EvaluateFit(type, calibration.Calibrator().Coefficients(), &widened, 1);
        EXPECT_EQ(Bits(static_cast<float>(widened)), Bits(expected)) << kRawValues[i];
      }
    }
  }
}

TEST(ApplyCommand, CoefficientsComeFromTheParameterText) {
  // 1.23456789 travels as 1.23457, the figure the host's channel computes with.
  const ChannelCalibration c =
      ChannelCalibration::FromParameterText(L"0\t0\tV\t0\t0\t2\t0\t1.23457\t0\t");
  TempFolder folder;
  WriteFile(folder / "raw.csv", "1\n");
  const auto run = RunMpcal({"apply", "--params", "0\t0\tV\t0\t0\t2\t0\t1.23457\t0\t", "--in",
                             P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "1.23457\n");
  EXPECT_EQ(c.Calibrator().Coefficients(), (std::vector<double>{0, 1.23457}));
}

TEST(ApplyCommand, ColumnChoice) {
  TempFolder folder;
  WriteFile(folder / "raw.tsv",
            "t\tA\t\"B \"\"x\"\"\"\tC\r\n0.5\t1\t2\t3\r\n\n# note\n1.5\t4\t\t6\n");
  const std::string params = "0\t0\tV\t0\t0\t2\t0\t10\t0\t"; // y = 10x
  struct Case {
    const char* columns; // null: the default
    const char* output;
  };
  const Case cases[] = {
      {nullptr, "t\tA\t\"B \"\"x\"\"\"\tC\n0.5\t10\t20\t30\n\n# note\n1.5\t40\t\t60\n"},
      {"", "t\tA\t\"B \"\"x\"\"\"\tC\n0.5\t1\t2\t3\n\n# note\n1.5\t4\t\t6\n"},
      {"1", "t\tA\t\"B \"\"x\"\"\"\tC\n5\t1\t2\t3\n\n# note\n15\t4\t\t6\n"},
      {"B \"x\"", "t\tA\t\"B \"\"x\"\"\"\tC\n0.5\t1\t20\t3\n\n# note\n1.5\t4\t\t6\n"},
      {"2-3,C", "t\tA\t\"B \"\"x\"\"\"\tC\n0.5\t10\t20\t30\n\n# note\n1.5\t40\t\t60\n"},
      {"4, 4", "t\tA\t\"B \"\"x\"\"\"\tC\n0.5\t1\t2\t30\n\n# note\n1.5\t4\t\t60\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.columns ? c.columns : "(default)");
    std::vector<std::string> args = {
        "apply", "--params", params, "--in", P(folder / "raw.tsv"), "--out", P(folder / "cal.tsv")};
    if (c.columns) {
      args.push_back("--columns");
      args.push_back(c.columns);
    }
    const auto run = RunMpcal(args);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadFile(folder / "cal.tsv"), c.output);
  }
}

TEST(ApplyCommand, SingleColumnWithoutHeaderIsCalibrated) {
  TempFolder folder;
  WriteFile(folder / "raw.csv", "0.5\n1.5");
  const auto run = RunMpcal({"apply", "--params", "0\t0\tV\t0\t0\t2\t1\t2\t0\t", "--in",
                             P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "2\n4\n");
  EXPECT_THAT(run.out, HasSubstr("2 rows, 2 samples in 1 column calibrated"));
}

TEST(ApplyCommand, SettingsFileFromFit) {
  TempFolder folder;
  WriteFile(folder / "points.csv", "0,1\n1,3\n2,5\n");
  ASSERT_EQ(RunMpcal({"fit", "--type", "linear", "--points", P(folder / "points.csv"), "--save",
                      P(folder / "s.mpcal")})
                .code,
            0);
  WriteFile(folder / "raw.csv", "time,v\n0,0\n1,1\n2,2.5\n");
  const auto run = RunMpcal({"apply", "--settings", P(folder / "s.mpcal"), "--in",
                             P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "time,v\n0,1\n1,3\n2,6\n");
}

TEST(ApplyCommand, ReplacesAnExistingOutputOnlyWhenComplete) {
  TempFolder folder;
  WriteFile(folder / "cal.csv", "previous\n");
  WriteFile(folder / "raw.csv", "t,v\n0,1\n1,2\n2,oops\n");
  const std::string params = "0\t0\tV\t0\t0\t2\t0\t1\t0\t";
  const auto failed = RunMpcal(
      {"apply", "--params", params, "--in", P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  EXPECT_EQ(failed.code, kExitBadInput);
  EXPECT_THAT(failed.err, HasSubstr("raw.csv:4: column 2 (\"v\"): \"oops\" is not a number"));
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "previous\n");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"cal.csv", "raw.csv"}));

  WriteFile(folder / "raw.csv", "t,v\n0,1\n");
  const auto done = RunMpcal(
      {"apply", "--params", params, "--in", P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(done.code, 0) << done.err;
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "t,v\n0,1\n");
  // In place: the input is read to its end before the output replaces it.
  const auto inPlace = RunMpcal({"apply", "--params", "0\t0\tV\t0\t0\t2\t1\t1\t0\t", "--in",
                                 P(folder / "cal.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(inPlace.code, 0) << inPlace.err;
  EXPECT_EQ(ReadFile(folder / "cal.csv"), "t,v\n0,2\n");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"cal.csv", "raw.csv"}));
}

TEST(ApplyCommand, BadUsageAndInput) {
  TempFolder folder;
  WriteFile(folder / "raw.csv", "t,v\n0,1\n1\n");
  WriteFile(folder / "empty.csv", "");
  WriteFile(folder / "junk.mpcal", "MPIF\x01\x00\x00\x00garbage");
  const std::string params = "0\t0\tV\t0\t0\t2\t0\t1\t0\t";
  const std::string raw = P(folder / "raw.csv");
  const std::string out = P(folder / "out.csv");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"apply", "--in", raw, "--out", out}, "give either --params TEXT or --settings FILE"},
      {{"apply", "--params", params, "--settings", "x", "--in", raw, "--out", out}, "give either"},
      {{"apply", "--params", params, "--out", out}, "missing option --in"},
      {{"apply", "--params", params, "--in", raw}, "missing option --out"},
      {{"apply", "--params", "0 0 V 0 0 2 0 1 0", "--in", raw, "--out", out},
       "the parameter text cannot be read"},
      {{"apply", "--params", "0\t0\tV\t0\t0\t2\t0\t", "--in", raw, "--out", out},
       "cannot be read at the coefficients"},
      {{"apply", "--settings", P(folder / "junk.mpcal"), "--in", raw, "--out", out},
       "junk.mpcal: not a settings file"},
      {{"apply", "--settings", P(folder / "none.mpcal"), "--in", raw, "--out", out},
       "none.mpcal: cannot open"},
      {{"apply", "--params", params, "--in", P(folder / "none.csv"), "--out", out},
       "none.csv: cannot open"},
      {{"apply", "--params", params, "--in", P(folder / "empty.csv"), "--out", out},
       "empty.csv: the file is empty"},
      {{"apply", "--params", params, "--in", raw, "--out", out},
       "raw.csv:3: column 2 (\"v\") is missing (the line has 1 field)"},
      {{"apply", "--params", params, "--in", raw, "--out", out, "--columns", "3"},
       "--columns: column 3 does not exist (the file has 2 columns)"},
      {{"apply", "--params", params, "--in", raw, "--out", out, "--columns", "w"},
       "no column named \"w\""},
      {{"apply", "--params", params, "--in", raw, "--out", out, "--columns", "2-1"},
       "runs backwards"},
      {{"apply", "--params", params, "--in", raw, "--out", P(folder.Path())}, "is a folder"},
  };
  for (const Case& c : cases) {
    const auto run = RunMpcal(c.args);
    EXPECT_EQ(run.code, kExitBadInput) << c.message;
    EXPECT_THAT(run.err, HasSubstr(c.message));
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"empty.csv", "junk.mpcal", "raw.csv"}))
        << c.message;
  }
}

TEST(ApplyCommand, StreamsAcrossChunkBoundaries) {
  // More than one read chunk, so that lines are split between chunks.
  TempFolder folder;
  std::string input = "t,v\n";
  std::string expected = input;
  for (int i = 0; input.size() < (std::size_t{9} << 20); ++i) {
    const std::string t = std::to_string(i);
    input += t + "," + std::to_string(i % 1000) + ".25\n";
    expected += t + ",";
    AppendShortestFloat(expected, static_cast<float>(2.0 * (i % 1000 + 0.25)));
    expected += "\n";
  }
  WriteFile(folder / "raw.csv", input);
  const auto run = RunMpcal({"apply", "--params", "0\t0\tV\t0\t0\t2\t0\t2\t0\t", "--in",
                             P(folder / "raw.csv"), "--out", P(folder / "cal.csv")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(ReadFile(folder / "cal.csv") == expected);
}

TEST(ApplyCommand, CountsAndTreatsSamplesOutsideTheCalibratedRange) {
  // y = 10x over the raw points 1 .. 3.
  const std::string params = "0\t0\tV\t0\t0\t2\t0\t10\t3\t1\t2\t3\t10\t20\t30\t";
  TempFolder folder;
  WriteFile(folder / "raw.csv", "t,a,b\n0,0.5,2\n1,1,2.5\n2,2,-1\n3,3.5,3\n4,4,\n");
  struct Case {
    const char* policy;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "t,a,b\n0,5,20\n1,10,25\n2,20,-10\n3,35,30\n4,40,\n"},
      {"keep", "t,a,b\n0,5,20\n1,10,25\n2,20,-10\n3,35,30\n4,40,\n"},
      {"clamp", "t,a,b\n0,10,20\n1,10,25\n2,20,10\n3,30,30\n4,30,\n"},
      {"nan", "t,a,b\n0,nan,20\n1,10,25\n2,20,nan\n3,nan,30\n4,nan,\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {
        "apply", "--params", params, "--in", P(folder / "raw.csv"), "--out", P(folder / "cal.csv")};
    if (c.policy) {
      args.push_back("--outside");
      args.push_back(c.policy);
    }
    const auto run = RunMpcal(args);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadFile(folder / "cal.csv"), c.expected) << (c.policy ? c.policy : "default");
    EXPECT_EQ(run.err, "column 2 (\"a\"): 3 samples outside the calibrated range\n"
                       "column 3 (\"b\"): 1 sample outside the calibrated range\n");
  }
  const auto bad = RunMpcal({"apply", "--params", params, "--in", P(folder / "raw.csv"), "--out",
                             P(folder / "x.csv"), "--outside", "wrap"});
  EXPECT_EQ(bad.code, 2);
  EXPECT_THAT(bad.err, HasSubstr("--outside"));
}

} // namespace
} // namespace MPCalTool

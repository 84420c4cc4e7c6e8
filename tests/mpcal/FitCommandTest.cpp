#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "../units/NumberLocales.h"
#include "ChannelCalibration.h"
#include "NumberText.h"
#include "ToolTestSupport.h"
#include "foundation/ModuleStrings.h"
#include "foundation/Utf8.h"

namespace MPCalTool {
namespace {

using ::testing::HasSubstr;
using Testing::P;
using Testing::RunMpcal;
using Testing::TempFolder;
using Testing::WriteFile;

// The numbers of a JSON member holding one number or an array of numbers.
// A number member, or each element of an array member; "NaN" and the infinities read back.
std::vector<double> JsonNumbers(const std::string& json, const std::string& member) {
  const auto value = nlohmann::json::parse(json).at(member);
  const auto number = [](const nlohmann::json& v) {
    if (v.is_string())
      return v == "NaN" ? std::nan("") : v == "Infinity" ? HUGE_VAL : -HUGE_VAL;
    return v.get<double>();
  };
  std::vector<double> values;
  if (value.is_array()) {
    for (const auto& v : value)
      values.push_back(number(v));
  } else {
    values.push_back(number(value));
  }
  return values;
}

std::string Points(const std::vector<std::pair<double, double>>& points) {
  std::string text = "raw,calibrated\n";
  for (const auto& [x, y] : points) {
    AppendPrecise(text, x);
    text += ',';
    AppendPrecise(text, y);
    text += '\n';
  }
  return text;
}

TEST(FitCommand, WorkedExamplesThroughJson) {
  const double e = std::numbers::e;
  struct Case {
    const char* type;
    bool forceOrigin;
    std::vector<std::pair<double, double>> points;
    std::vector<double> coefficients;
    double tolerance;
  };
  const Case cases[] = {
      {"linear", false, {{0, 1}, {1, 3}, {2, 5}}, {1, 2}, 1e-12},
      {"linear", true, {{1, 1}, {3, 5}}, {0, 1.5}, 1e-12},
      {"quadratic", false, {{0, 1}, {1, 2}, {2, 5}, {3, 10}}, {1, 0, 1}, 1e-6},
      {"quadratic", true, {{1, 2}, {2, 6}, {3, 12}}, {0, 1, 1}, 1e-6},
      {"exponential", false, {{0, 2}, {1, 2 * e}, {2, 2 * e * e}}, {1, 2}, 1e-6},
      {"logarithmic", false, {{1, 3}, {e, 5}, {e * e, 7}}, {3, 2}, 1e-6},
      {"point-to-point", false, {{2, 20}, {1, 10}, {3, 40}}, {1, 10, 2, 20, 3, 40}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + (c.forceOrigin ? " through the origin" : ""));
    TempFolder folder;
    WriteFile(folder / "points.csv", Points(c.points));
    std::vector<std::string> args = {
        "fit", "--type", c.type, "--points", P(folder / "points.csv"), "--json"};
    if (c.forceOrigin)
      args.push_back("--force-origin");
    const auto run = RunMpcal(args);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("\"result\": true"));
    const std::vector<double> coefficients = JsonNumbers(run.out, "coefficients");
    ASSERT_EQ(coefficients.size(), c.coefficients.size()) << run.out;
    for (std::size_t i = 0; i < coefficients.size(); ++i)
      EXPECT_NEAR(coefficients[i], c.coefficients[i], c.tolerance) << run.out;
  }
}

TEST(FitCommand, LinearRecordCarriesEveryField) {
  TempFolder folder;
  WriteFile(folder / "p.tsv", "# a comment\nraw\tcal\n2\t5\n0\t1\n\n1\t3\n");
  const auto run = RunMpcal({"fit", "--type", "0", "--points", P(folder / "p.tsv"), "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  // The fit's own fields come first, unchanged; the report's follow them.
  const auto json = nlohmann::ordered_json::parse(run.out);
  const nlohmann::ordered_json expected = {
      {"fitType", 0},
      {"fitName", "Linear"},
      {"forceOrigin", false},
      {"result", true},
      {"coefficients", {1.0, 2.0}},
      {"fitError", 1.0},
      {"sumSquaredError", 0.0},
      {"equation", "y = 2x + 1"},
      {"fitErrorText", "SSE = 0   R\xC2\xB2 = 1"},
      {"parameterText", "0\t0\tINVALID_UNIT\t0\t0\t2\t1\t2\t3\t0\t1\t2\t1\t3\t5\t"}};
  auto it = json.begin();
  for (const auto& [name, value] : expected.items()) {
    ASSERT_NE(it, json.end());
    EXPECT_EQ(it.key(), name);
    EXPECT_EQ(it.value(), value) << name;
    ++it;
  }
  EXPECT_EQ(json.at("degreesOfFreedom"), 1);
}

TEST(FitCommand, PlainOutputIsNameEquationErrorAndParameterText) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "0,1\n1,3\n2,5\n");
  const auto run =
      RunMpcal({"fit", "--type", "linear", "--points", P(folder / "p.csv"), "--unit", "mmHg"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find("Points:\n")),
            "Linear\ny = 2x + 1\nSSE = 0   R\xC2\xB2 = 1\n"
            "0\t0\tmmHg\t0\t0\t2\t1\t2\t3\t0\t1\t2\t1\t3\t5\t\n");
  EXPECT_EQ(run.err, "");
}

// The tool's output is read by programs: a comma-decimal locale in the process changes nothing.
TEST(FitCommand, TextsStayClassicUnderACommaDecimalLocale) {
  const Tarn::testing::GlobalLocaleGuard global(Tarn::testing::CommaDecimalLocale());
  TempFolder folder;
  WriteFile(folder / "p.csv", "0,0.25\n1,2.75\n2,5.25\n");
  const auto json =
      RunMpcal({"fit", "--type", "linear", "--points", P(folder / "p.csv"), "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_THAT(json.out, HasSubstr("\"equation\": \"y = 2.5x + 0.25\""));
  EXPECT_THAT(json.out, HasSubstr("\"fitErrorText\": \"SSE = 0   R\xC2\xB2 = 1\""));
  const auto plain = RunMpcal({"fit", "--type", "linear", "--points", P(folder / "p.csv")});
  ASSERT_EQ(plain.code, 0) << plain.err;
  EXPECT_THAT(plain.out, HasSubstr("\ny = 2.5x + 0.25\n"));
}

TEST(FitCommand, PointToPointOrdersTheFileAndAsGivenDoesNot) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "3,30\n1,10\n2,20\n");
  const auto sorted = RunMpcal({"fit", "--type", "7", "--points", P(folder / "p.csv"), "--json"});
  ASSERT_EQ(sorted.code, 0) << sorted.err;
  EXPECT_THAT(sorted.out, HasSubstr("\\t3\\t1\\t2\\t3\\t10\\t20\\t30\\t\""));
  const auto given =
      RunMpcal({"fit", "--type", "7", "--points", P(folder / "p.csv"), "--json", "--as-given"});
  ASSERT_EQ(given.code, 0) << given.err;
  // The engine orders its table itself; the points stay in file order.
  EXPECT_EQ(JsonNumbers(given.out, "coefficients"), (std::vector<double>{1, 10, 2, 20, 3, 30}));
  EXPECT_THAT(given.out, HasSubstr("\\t3\\t3\\t1\\t2\\t30\\t10\\t20\\t\""));
}

TEST(FitCommand, CalibrationRefusals) {
  struct Case {
    const char* type;
    const char* points;
    std::vector<std::string> extra;
    std::uint32_t message;
  };
  const Case cases[] = {
      {"linear", "0,1\n1,3\n0,5\n", {}, 277},
      {"point-to-point", "1,1\n2,2\n1,3\n", {}, 277},
      {"cubic", "0,1\n1,2\n2,5\n", {}, 275},
      {"linear", "0,1\n", {}, 275},
      {"linear", "0,2\n1,2\n2,2\n", {}, 273},
      {"point-to-point", "1,1\n2,2\n1,3\n", {"--as-given"}, 273},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + ": " + c.points);
    TempFolder folder;
    WriteFile(folder / "p.csv", c.points);
    std::vector<std::string> args = {
        "fit", "--type", c.type, "--points", P(folder / "p.csv"), "--save", P(folder / "s.mpcal")};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto run = RunMpcal(args);
    EXPECT_EQ(run.code, kExitRefused);
    EXPECT_THAT(run.err, HasSubstr(Tarn::ToUtf8(Tarn::ModuleString(c.message))));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"p.csv"});
  }
}

TEST(FitCommand, FailedFitStillPrintsTheJsonRecord) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "1,1\n1,2\n");
  const auto run = RunMpcal(
      {"fit", "--type", "linear", "--points", P(folder / "p.csv"), "--json", "--as-given"});
  EXPECT_EQ(run.code, kExitRefused);
  EXPECT_THAT(run.out, HasSubstr("\"result\": false"));
  EXPECT_THAT(run.err, HasSubstr(Tarn::ToUtf8(Tarn::ModuleString(273))));
}

TEST(FitCommand, AsGivenPassesNaNToTheEngine) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "0,1\n1,3\n2,NaN\n3,7\n");
  const auto refused = RunMpcal({"fit", "--type", "linear", "--points", P(folder / "p.csv")});
  EXPECT_EQ(refused.code, kExitBadInput);
  EXPECT_THAT(refused.err, HasSubstr("p.csv:3: "));
  // The line fit skips the unusable point; the sum of squares turns NaN and keeps its old value.
  const auto run = RunMpcal(
      {"fit", "--type", "linear", "--points", P(folder / "p.csv"), "--as-given", "--json"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(JsonNumbers(run.out, "coefficients"), (std::vector<double>{1, 2}));
  EXPECT_EQ(JsonNumbers(run.out, "sumSquaredError"), std::vector<double>{0});
}

TEST(FitCommand, SavedSettingsCalibrateAsTheParameterTextDoes) {
  TempFolder folder;
  WriteFile(folder / "p.csv", "0.1,1\n0.7,2.5\n1.3,7\n");
  const auto run = RunMpcal({"fit", "--type", "quadratic", "--points", P(folder / "p.csv"),
                             "--save", P(folder / "s.mpcal"), "--unit", "kPa"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::size_t report = run.out.find("Points:\n");
  const std::string parameterText = run.out.substr(run.out.rfind('\n', report - 2) + 1,
                                                   report - run.out.rfind('\n', report - 2) - 1);
  const ChannelCalibration loaded = ChannelCalibration::FromSettingsFile(folder / "s.mpcal");
  EXPECT_EQ(Tarn::ToUtf8(loaded.ParameterText()) + "\n", parameterText);
  EXPECT_EQ(loaded.UnitName(), L"kPa");
  EXPECT_EQ(loaded.Calibrator().FitType(), 1);
  EXPECT_EQ(loaded.Calibrator().Coefficients().size(), 3u);
}

TEST(FitCommand, BadUsageAndInput) {
  TempFolder folder;
  WriteFile(folder / "good.csv", "0,1\n1,3\n");
  WriteFile(folder / "empty.csv", "");
  WriteFile(folder / "header.csv", "# only\nraw,cal\n");
  WriteFile(folder / "text.csv", "raw,cal\n0,1\n1,abc\n");
  WriteFile(folder / "three.csv", "0,1,2\n");
  WriteFile(folder / "quote.csv", "\"0,1\n");
  const std::string good = P(folder / "good.csv");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"fit", "--type", "spline", "--points", good}, "unknown fit type \"spline\""},
      {{"fit", "--type", "8", "--points", good}, "unknown fit type \"8\""},
      {{"fit", "--points", good}, "missing option --type"},
      {{"fit", "--type", "linear"}, "missing option --points"},
      {{"fit", "--type", "linear", "--points"}, "option --points needs a value"},
      {{"fit", "--type", "linear", "--points", good, "--bogus"}, "unknown option --bogus"},
      {{"fit", "--type", "linear", "--type", "linear", "--points", good}, "given twice"},
      {{"fit", "--type", "linear", "--points", P(folder / "missing.csv")},
       "missing.csv: cannot open the file for reading"},
      {{"fit", "--type", "linear", "--points", P(folder / "empty.csv")}, "the file is empty"},
      {{"fit", "--type", "linear", "--points", P(folder / "header.csv")}, "no calibration points"},
      {{"fit", "--type", "linear", "--points", P(folder / "text.csv")},
       "text.csv:3: column 2: \"abc\" is not a number"},
      {{"fit", "--type", "linear", "--points", P(folder / "three.csv")},
       "three.csv:1: expected 2 fields"},
      {{"fit", "--type", "linear", "--points", P(folder / "quote.csv")}, "quote.csv:1: a quoted"},
      {{"frobnicate"}, "unknown command"},
      {{}, "usage: mpcal"},
  };
  for (const Case& c : cases) {
    const auto run = RunMpcal(c.args);
    EXPECT_EQ(run.code, kExitBadInput) << c.message;
    EXPECT_THAT(run.err, HasSubstr(c.message));
    EXPECT_EQ(run.out, "") << c.message;
  }
}

} // namespace
} // namespace MPCalTool

#include <cmath>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChannelCalibration.h"
#include "Commands.h"
#include "ToolTestSupport.h"
#include "fitting/EvaluateFit.h"
#include "foundation/Utf8.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ParameterText.h"

namespace MPCalTool {
namespace {

using Testing::P;
using Testing::RunMpcal;
using ::testing::StartsWith;
using Testing::TempFolder;

std::string Text(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

TEST(InvertCommand, GivesEachDemoPointsRawValueBackAndNoneBeyondTheRange) {
  TempFolder folder;
  ASSERT_EQ(RunMpcal({"demo", "--out", P(folder / "d")}).code, 0);
  const std::string settingsFile = P(folder / "d" / "calibration.mpcal");
  MPCalibration::CalibrationSettings s;
  ASSERT_EQ(MPCalibration::ReadParameterText(
                ChannelCalibration::FromSettingsFile(settingsFile).ParameterText(), s),
            MPCalibration::ParameterTextResult::Complete);
  ASSERT_EQ(s.PointCount(), 5u);
  for (const double raw : s.rawValues) {
    double calibrated = raw;
    MPCalibration::EvaluateFit(s.fitType, s.coefficients, &calibrated, 1);
    const auto run = RunMpcal({"invert", "--settings", settingsFile, "--value", Text(calibrated)});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_NEAR(std::stod(run.out), raw, 1e-9 * std::abs(raw)) << calibrated;
  }
  for (const double beyond : {-10.0, 230.0}) {
    const auto run = RunMpcal({"invert", "--settings", settingsFile, "--value", Text(beyond)});
    EXPECT_EQ(run.code, kExitRefused);
    EXPECT_THAT(run.out, StartsWith("none"));
  }
}

TEST(InvertCommand, TurningCurveHasTwoCausesAndBadInputIsRefused) {
  // Point to point 0→0, 1→10, 2→0: 5 is reached on both sides.
  const std::string params = "7\t0\tV\t0\t0\t6\t0\t0\t1\t10\t2\t0\t3\t0\t1\t2\t0\t10\t0\t";
  const auto both = RunMpcal({"invert", "--params", params, "--value", "5"});
  EXPECT_EQ(both.code, kExitRefused);
  EXPECT_EQ(both.out, "more than one: 0.5 1.5\n");
  EXPECT_EQ(RunMpcal({"invert", "--params", params, "--value", "2.5"}).code, kExitRefused);
  EXPECT_EQ(RunMpcal({"invert", "--params", params, "--value", "abc"}).code, kExitBadInput);
  EXPECT_EQ(RunMpcal({"invert", "--value", "1"}).code, kExitBadInput);
  EXPECT_EQ(RunMpcal({"invert", "--params", params}).code, kExitBadInput);
}

} // namespace
} // namespace MPCalTool

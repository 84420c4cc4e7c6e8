#include <cmath>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChannelCalibration.h"
#include "DemoRecording.h"
#include "ToolTestSupport.h"

namespace MPCalTool {
namespace {

using Testing::P;
using Testing::ReadFile;
using Testing::RunMpcal;
using Testing::TempFolder;

TEST(DemoRecording, IsDeterministicWithFiveSettledStretches) {
  const DemoRecording a;
  const DemoRecording b;
  EXPECT_EQ(a.Volts(), b.Volts());
  ASSERT_EQ(a.Stretches().size(), 5u);
  for (const FlatStretch& s : a.Stretches()) {
    ASSERT_LT(s.first, s.last);
    // Settled: the pressure at the transducer is the known one over the whole stretch.
    for (std::size_t i = s.first; i < s.last; ++i)
      ASSERT_NEAR(a.Pressure()[i], s.pressure, 1e-3);
  }
  EXPECT_NE(DemoRecording(1).Volts(), a.Volts());
}

TEST(DemoCommand, CalibratesTheRecordingBackToItsPressure) {
  TempFolder folder;
  const auto run = RunMpcal({"demo", "--out", P(folder / "d")});
  ASSERT_EQ(run.code, 0) << run.err;
  const DemoRecording recording;
  const std::string calibrated = ReadFile(folder / "d" / "calibrated.csv");
  // The stored settings, applied as the host would, give the pressure back within the noise.
  const ChannelCalibration calibration =
      ChannelCalibration::FromSettingsFile(folder / "d" / "calibration.mpcal");
  EXPECT_EQ(calibration.UnitName(), L"kPa");
  std::size_t line = calibrated.find('\n') + 1;
  double worst = 0.0;
  for (std::size_t i = 0; i < recording.Volts().size(); ++i) {
    const std::size_t comma = calibrated.find(',', line);
    const std::size_t end = calibrated.find('\n', comma);
    const double value = std::stod(calibrated.substr(comma + 1, end - comma - 1));
    float expected = recording.Volts()[i];
    calibration.Calibrator().Apply(&expected, 1);
    ASSERT_EQ(static_cast<float>(value), expected) << i;
    worst = std::max(worst, std::fabs(value - recording.Pressure()[i]));
    line = end + 1;
  }
  EXPECT_EQ(line, calibrated.size());
  EXPECT_LT(worst, 1.0); // kPa, on a 200 kPa span with 2 mV (0.1 kPa) of noise
  // The points file is a valid input of the fit command and gives the same fit.
  const auto refit =
      RunMpcal({"fit", "--type", "quadratic", "--points", P(folder / "d" / "points.csv")});
  ASSERT_EQ(refit.code, 0) << refit.err;
  EXPECT_THAT(run.out, ::testing::HasSubstr(refit.out.substr(refit.out.find("y = "), 30)));
}

} // namespace
} // namespace MPCalTool

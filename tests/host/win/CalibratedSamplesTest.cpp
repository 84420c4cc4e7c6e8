// Calibrated blocks of a host channel, pulled from enumerators made through the registrar's
// enumerator class, for every fit type.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "ChannelEnum.h"
#include "HostSession.h"
#include "ModuleEnvironment.h"

namespace {

using Vela::Calibration;
using Vela::Document;
using VelaTest::Module;

// The value the fitted function gives a raw sample, from its definition.
double Evaluate(std::int32_t fitType, const std::vector<double>& c, float raw) {
  const double x = raw;
  switch (fitType) {
  case 5:
    if (c.size() < 2)
      return x;
    if (!(x > 0))
      return std::numeric_limits<double>::quiet_NaN();
    return c[0] + c[1] * static_cast<double>(std::log(static_cast<float>(x)));
  case 6:
    return c.size() < 2 ? x : c[1] * std::exp(c[0] * x);
  case 7: {
    const std::size_t n = c.size() / 2;
    if (c.size() < 4)
      return x;
    std::size_t i = 0;
    while (i + 2 < n && x >= c[2 * (i + 1)])
      ++i;
    const double x0 = c[2 * i], y0 = c[2 * i + 1], x1 = c[2 * i + 2], y1 = c[2 * i + 3];
    return (y1 - y0) / (x1 - x0) * x + (x1 * y0 - x0 * y1) / (x1 - x0);
  }
  default: {
    double y = 0;
    for (std::size_t k = c.size(); k-- > 0;)
      y = y * x + c[k];
    return c.empty() ? x : y;
  }
  }
}

struct FitCase {
  const char* name;
  std::int32_t fitType;
  std::vector<double> coefficients;
};

class CalibratedSamplesTest : public ::testing::TestWithParam<FitCase> {
protected:
  void TearDown() override {
    if (const auto live = VelaTest::LiveModuleObjects(); live >= 0) {
      EXPECT_EQ(live, 0);
    }
  }
};

TEST_P(CalibratedSamplesTest, EveryBlockIsTheFittedFunctionOfTheSource) {
  const FitCase& fit = GetParam();
  auto doc =
      std::make_shared<Document>(std::vector<Document::Channel>{{L"raw", L"V"}, {L"other", L"V"}});
  // Includes non-positive samples for the logarithm, and more than one block of each size.
  doc->AddRecord({Vela::Ramp(1000, -0.5f, 3.0f), Vela::Ramp(1000, 1.0f, 1.0f)});
  doc->AddRecord({Vela::Ramp(333, 2.5f, 0.125f), Vela::Ramp(333, 0.0f, 0.0f)});
  {
    Vela::HostSession session(Module());
    session.Open(doc);
    Calibration c;
    c.fitType = fit.fitType;
    c.coefficients = fit.coefficients;
    c.rawValues = {0.0, 1.0};
    c.calibratedValues = {1.0, 2.0};
    c.unitName = L"N";
    c.sourceChannel = 0;
    // The calculated channel is channel 1; its source is channel 0.
    ASSERT_EQ(session.Calibrate(1, c), S_OK);
    for (std::size_t record = 0; record < doc->RecordCount(); ++record) {
      std::vector<float> samples;
      ASSERT_EQ(session.Calibrated(1, record, samples), S_OK);
      const auto raw = doc->Samples(record, 0);
      ASSERT_EQ(samples.size(), raw->size());
      for (std::size_t i = 0; i < samples.size(); ++i) {
        const float expected =
            static_cast<float>(Evaluate(fit.fitType, fit.coefficients, (*raw)[i]));
        if (std::isnan(expected)) {
          EXPECT_TRUE(std::isnan(samples[i])) << "record " << record << " sample " << i;
          continue;
        }
        const float tolerance =
            4 * std::numeric_limits<float>::epsilon() * std::max(1.0f, std::fabs(expected));
        ASSERT_NEAR(samples[i], expected, tolerance)
            << "record " << record << " sample " << i << " raw " << (*raw)[i];
      }
    }
  }
}

// Coefficients exact in six significant digits, so that the parameter text carries them as they
// are.
INSTANTIATE_TEST_SUITE_P(
    FitTypes, CalibratedSamplesTest,
    ::testing::Values(FitCase{"Linear", 0, {1.0, 2.0}}, FitCase{"Quadratic", 1, {0.5, 1.0, 0.25}},
                      FitCase{"Cubic", 2, {-1.0, 0.5, 0.125, -0.0625}},
                      FitCase{"Quartic", 3, {0.1, -0.2, 0.3, -0.04, 0.005}},
                      FitCase{"Quintic", 4, {1.0, 1.5, -2.0, 0.25, 0.0125, -0.001}},
                      FitCase{"Logarithmic", 5, {0.5, 2.0}}, FitCase{"Exponential", 6, {0.75, 1.5}},
                      FitCase{"PointToPoint", 7, {0.0, 0.0, 1.0, 10.0, 2.0, 40.0}},
                      FitCase{"NoCoefficients", 3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The calibration's raw points are kept without the channel's prefix (5 mV as 0.005 V), so the
// calculation receives its samples so too: a mV channel's samples arrive in volts. A unit that
// only starts with a prefix letter (mmHg) is whole.
TEST(CalibrationInput, SamplesOfAPrefixedChannelArriveWithoutThePrefix) {
  const struct {
    const wchar_t* unit;
    double factor;
  } cases[] = {{L"V", 1.0}, {L"mV", 1e-3}, {L"kPa", 1e3}, {L"mmHg", 1.0}, {L"", 1.0}};
  for (const auto& u : cases) {
    auto doc = std::make_shared<Document>(
        std::vector<Document::Channel>{{L"raw", u.unit}, {L"calibrated", L""}});
    doc->AddRecord({Vela::Ramp(101, 0.0f, 5000.0f), Vela::Ramp(101, 0.0f, 0.0f)});
    Vela::HostSession session(Module());
    session.Open(doc);
    Calibration c;
    c.coefficients = {1.0, 2.0};
    c.rawValues = {0.0, 1.0};
    c.calibratedValues = {1.0, 3.0};
    c.sourceChannel = 0;
    ASSERT_EQ(session.Calibrate(1, c), S_OK);
    std::vector<float> samples;
    ASSERT_EQ(session.Calibrated(1, 0, samples), S_OK);
    const auto raw = doc->Samples(0, 0);
    ASSERT_EQ(samples.size(), raw->size());
    for (std::size_t i = 0; i < samples.size(); i += 10) {
      const float volts = static_cast<float>((*raw)[i] * u.factor);
      EXPECT_FLOAT_EQ(samples[i], 1.0f + 2.0f * volts) << samples[i] << " at " << i;
    }
  }
}

} // namespace

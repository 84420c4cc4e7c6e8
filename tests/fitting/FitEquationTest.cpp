#include <locale>

#include <gtest/gtest.h>

#include "../units/NumberLocales.h"

#include "fitting/Fit.h"
#include "fitting/FitType.h"
#include "foundation/ModuleStrings.h"

namespace MPCalibration {
namespace {

FitRecord WithCoefficients(std::int32_t type, std::vector<double> c) {
  FitRecord s;
  s.fitType = type;
  s.coefficients = std::move(c);
  return s;
}

TEST(FormatEquation, Texts) {
  struct Case {
    std::int32_t type;
    std::vector<double> c;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {Quadratic, {0.2, 1.5, -2}, L"y =  - 2x^2 + 1.5x + 0.2"},
      {Quadratic, {0.2, 0, 2}, L"y = 2x^2 + 0x + 0.2"},
      {Linear, {3, 0.5}, L"y = 0.5x + 3"},
      {Linear, {-3, 0.5}, L"y = 0.5x - 3"},
      {Linear, {7}, L"y = 7"},
      {Linear, {}, L"y = "},
      {Quintic, {1, 2, 3, 4, 5, 6}, L"y = 6x^5 + 5x^4 + 4x^3 + 3x^2 + 2x + 1"},
      {Cubic, {1e-5, 1234567, 0, 1}, L"y = 1x^3 + 0x^2 + 1.23457e+06x + 1e-05"},
      {Logarithmic, {0.2, 2.5}, L"y = 2.5 ln(x) + 0.2"},
      {Logarithmic, {-0.2, -2.5}, L"y =  - 2.5 ln(x) - 0.2"},
      {Exponential, {-0.3, 2.5}, L"y = 2.5 exp( - 0.3x)"},
      {Exponential, {0.3, 2.5}, L"y = 2.5 exp(0.3x)"},
      {Exponential, {0.3}, L"y = "},
      {8, {1, 2}, L"y = "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatEquation(WithCoefficients(c.type, c.c)), c.expected) << c.type;
}

TEST(FormatEquation, PointToPointUsesTheStringTable) {
  EXPECT_EQ(FormatEquation(WithCoefficients(PointToPoint, {0, 0, 1, 1})),
            L"y = " + Tarn::ModuleString(276));
  EXPECT_EQ(Tarn::ModuleString(276), L"Linear interpolation between calibration points");
}

TEST(FormatFitError, Texts) {
  FitRecord s;
  s.sumSquaredError = 0.0123;
  s.fitError = 0.99987634;
  EXPECT_EQ(FormatFitError(s), L"SSE = 0.0123   R\u00B2 = 0.999876");
  s.forceOrigin = true;
  EXPECT_EQ(FormatFitError(s), L"SSE = 0.0123");
  s.fitType = Exponential;
  EXPECT_EQ(FormatFitError(s), L"SSE = 0.0123   R\u00B2 = 0.999876");
  s.fitType = PointToPoint;
  EXPECT_EQ(FormatFitError(s), L"");
}

// What the dialogs and the report show: the user's decimal separator, from the global locale, or
// from the locale the caller passes (the command-line tool asks for the classic one).
TEST(FitText, NumbersInTheGlobalLocaleUnlessOneIsGiven) {
  const Tarn::testing::GlobalLocaleGuard global(Tarn::testing::CommaDecimalLocale());
  auto fit = WithCoefficients(Linear, {});
  fit.sumSquaredError = 0.0123;
  fit.fitError = 0.99987634;
  struct Case {
    std::wstring text, classic;
    const wchar_t *comma, *expectedClassic;
  };
  const Case cases[] = {
      {FormatEquation(WithCoefficients(Quadratic, {0.2, 1.5, -2.25})),
       FormatEquation(WithCoefficients(Quadratic, {0.2, 1.5, -2.25}), std::locale::classic()),
       L"y =  - 2,25x^2 + 1,5x + 0,2", L"y =  - 2.25x^2 + 1.5x + 0.2"},
      {FormatEquation(WithCoefficients(Cubic, {1e-5, 1234567, 0, 1})),
       FormatEquation(WithCoefficients(Cubic, {1e-5, 1234567, 0, 1}), std::locale::classic()),
       L"y = 1x^3 + 0x^2 + 1,23457e+06x + 1e-05", L"y = 1x^3 + 0x^2 + 1.23457e+06x + 1e-05"},
      {FormatEquation(WithCoefficients(Exponential, {-0.3, 2.5})),
       FormatEquation(WithCoefficients(Exponential, {-0.3, 2.5}), std::locale::classic()),
       L"y = 2,5 exp( - 0,3x)", L"y = 2.5 exp( - 0.3x)"},
      {FormatEquation(WithCoefficients(Logarithmic, {123456, 0.5})),
       FormatEquation(WithCoefficients(Logarithmic, {123456, 0.5}), std::locale::classic()),
       L"y = 0,5 ln(x) + 123456", L"y = 0.5 ln(x) + 123456"},
      {FormatFitError(fit), FormatFitError(fit, std::locale::classic()),
       L"SSE = 0,0123   R\u00B2 = 0,999876", L"SSE = 0.0123   R\u00B2 = 0.999876"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, c.comma);
    EXPECT_EQ(c.classic, c.expectedClassic);
  }
  // A locale passed in wins over the global one in either direction.
  const Tarn::testing::GlobalLocaleGuard classic(std::locale::classic());
  EXPECT_EQ(FormatFitError(fit, Tarn::testing::CommaDecimalLocale()),
            L"SSE = 0,0123   R\u00B2 = 0,999876");
}

} // namespace
} // namespace MPCalibration

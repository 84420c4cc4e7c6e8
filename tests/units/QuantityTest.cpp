#include "units/Quantity.h"

#include <cmath>
#include <limits>
#include <sstream>

#include <gtest/gtest.h>

#include "NumberLocales.h"
#include "units/KnownUnits.h"
#include "units/UnitPrefixes.h"

namespace Tarn {
namespace {

using testing::CommaDecimalLocale;

Quantity Parse(const std::wstring& text, const std::locale& locale = std::locale::classic()) {
  std::wistringstream in(text);
  in.imbue(locale);
  return ParseQuantity(in);
}

std::wstring Write(const Quantity& q, const std::locale& locale = std::locale::classic()) {
  std::wostringstream out;
  out.imbue(locale);
  WriteQuantity(out, q);
  return out.str();
}

TEST(KnownUnits, HoldsTheWholeNames) {
  for (const wchar_t* name :
       {L"V", L"g", L"Hz", L"m", L"Ohms", L"L", L"N", L"Pa", L"A", L"L/s", L"L/min", L"mmHg"})
    EXPECT_TRUE(IsKnownUnit(name)) << name;
  for (const wchar_t* name : {L"", L"v", L"mV", L"kPa", L"degrees", L"ohms"})
    EXPECT_FALSE(IsKnownUnit(name)) << name;
  EXPECT_EQ(KnownUnits().size(), 12u);
}

TEST(Quantity, InvalidQuantity) {
  EXPECT_EQ(InvalidQuantity(), (Quantity{0.0, 0, L"Invalid"}));
}

TEST(MakeQuantity, EngineeringExponents) {
  struct Row {
    double value;
    double mantissa;
    std::int32_t exponent;
  };
  const Row rows[] = {
      {0.0042, 4.2, -3},  {-1500.0, -1.5, 3},   {0.042, 42.0, -3},  {0.0, 0.0, 0},
      {0.5, 500.0, -3},   {1.0, 1.0, 0},        {999.0, 999.0, 0},  {1000.0, 1.0, 3},
      {-0.001, -1.0, -3}, {12345.0, 12.345, 3}, {1e-20, 10.0, -21}, {2.5e20, 250.0, 18},
      {1e300, 1.0, 300},  {-7.0, -7.0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    const Quantity q = MakeQuantity(r.value, L"V");
    EXPECT_DOUBLE_EQ(q.mantissa, r.mantissa);
    EXPECT_EQ(q.exponent, r.exponent);
    EXPECT_EQ(q.unit, L"V");
  }
}

TEST(MakeQuantity, MantissaStaysInRangeNearPowersOfTen) {
  for (int power = -300; power <= 300; ++power) {
    const double exact = std::pow(10.0, power);
    for (double value : {exact, std::nextafter(exact, 0.0), std::nextafter(exact, 1e308)}) {
      const Quantity q = MakeQuantity(-value, L"");
      ASSERT_GE(std::fabs(q.mantissa), 1.0) << value;
      ASSERT_LT(std::fabs(q.mantissa), 1000.0) << value;
      ASSERT_EQ(q.exponent % 3, 0) << value;
      ASSERT_DOUBLE_EQ(QuantityValue(q), -value);
    }
  }
}

TEST(MakeQuantity, ExtremeValues) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  const Quantity small = MakeQuantity(tiny, L"");
  EXPECT_EQ(small.exponent, -324);
  EXPECT_NEAR(small.mantissa, 4.94065645841247, 1e-12);

  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(MakeQuantity(inf, L"V"), (Quantity{inf, 0, L"V"}));
  const Quantity nan = MakeQuantity(std::nan(""), L"V");
  EXPECT_TRUE(std::isnan(nan.mantissa));
  EXPECT_EQ(nan.exponent, 0);
}

TEST(ParseQuantity, TokenRules) {
  struct Row {
    const wchar_t* text;
    Quantity expected;
  };
  const Row rows[] = {
      {L"5 mV", {5.0, -3, L"V"}},
      {L"5 mmHg", {5.0, 0, L"mmHg"}},
      {L"2 kOhms", {2.0, 3, L"Ohms"}},
      {L"7", {7.0, 0, L""}},
      {L"  7  ", {7.0, 0, L""}},
      {L"x", InvalidQuantity()},
      {L"", InvalidQuantity()},
      {L"mV", InvalidQuantity()},
      {L"3 uA", {3.0, -6, L"A"}},
      {L"3 \u00B5A", {3.0, -6, L"A"}},
      {L"1 L/min", {1.0, 0, L"L/min"}},
      {L"1 m", {1.0, 0, L"m"}},
      {L"4 mm", {4.0, -3, L"m"}},
      {L"2 k", {2.0, 0, L"k"}},
      {L"12 Gauss", {12.0, 9, L"auss"}},
      {L"5 xyz", {5.0, 0, L"xyz"}},
      {L"2.5 degrees C", {2.5, 0, L"degrees"}},
      {L"5mV", {5.0, -3, L"V"}},
      {L"-0.042 V", {-42.0, -3, L"V"}},
      {L"1500 Pa", {1.5, 3, L"Pa"}},
      {L"1e308 EV", InvalidQuantity()},
      {L"1e400 V", InvalidQuantity()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    const Quantity q = Parse(r.text);
    EXPECT_DOUBLE_EQ(q.mantissa, r.expected.mantissa);
    EXPECT_EQ(q.exponent, r.expected.exponent);
    EXPECT_EQ(q.unit, r.expected.unit);
  }
}

TEST(ParseQuantity, StreamStateAfterReading) {
  std::wistringstream bare(L"7");
  EXPECT_EQ(ParseQuantity(bare), (Quantity{7.0, 0, L""}));
  EXPECT_FALSE(bare.fail());

  std::wistringstream twoQuantities(L"5 mV 6 kHz");
  EXPECT_EQ(ParseQuantity(twoQuantities), (Quantity{5.0, -3, L"V"}));
  EXPECT_EQ(ParseQuantity(twoQuantities), (Quantity{6.0, 3, L"Hz"}));
}

TEST(ParseQuantity, UsesTheStreamsDecimalSeparator) {
  EXPECT_EQ(Parse(L"4,2 mV", CommaDecimalLocale()), (Quantity{4.2, -3, L"V"}));
  EXPECT_EQ(Parse(L"4.2 mV"), (Quantity{4.2, -3, L"V"}));
  // A comma is no decimal separator in the classic locale: it starts the unit token.
  EXPECT_EQ(Parse(L"4,2 mV"), (Quantity{4.0, 0, L",2"}));
}

TEST(FormatQuantity, Examples) {
  struct Row {
    Quantity q;
    int target;
    int precision;
    const wchar_t* unitOverride;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {{499.0, -3, L"V"}, -3, 3, L"", L"499 mV"},
      {{499.0, -3, L"V"}, 0, 3, L"", L"0.499 V"},
      {{499.0, -3, L"V"}, 3, 3, L"", L"0.000499 kV"},
      {{1.23456789, 0, L"V"}, 0, 0, L"", L"1.23457 V"},
      {{1.23456789, 0, L"V"}, 0, 2, L"", L"1.2 V"},
      {{1.23456789, 0, L"V"}, 0, -1, L"", L"1.23457 V"},
      {{4.2, -3, L""}, -3, 0, L"", L"4.2"},
      {{4.2, -3, L"V"}, -3, 0, L"Pa", L"4.2 mPa"},
      {{4.2, -6, L"A"}, -6, 0, L"", L"4.2 \u00B5A"},
      {{1.0, 30, L"V"}, 30, 0, L"", L"1e+06 YV"},
      {{1.0, -27, L"V"}, -30, 0, L"", L"0.001 yV"},
      {{4.2, 3, L"V"}, 1, 0, L"", L"4200 V"},
      {{2.0, 0, L"g"}, 0, 0, L"", L"2 g"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expected);
    EXPECT_EQ(FormatQuantity(r.q, r.target, r.precision, r.unitOverride, std::locale::classic()),
              r.expected);
  }
}

TEST(FormatQuantity, NumberLocale) {
  const Quantity q{4.25, -3, L"V"};
  EXPECT_EQ(FormatQuantity(q, -3, 0, L"", CommaDecimalLocale()), L"4,25 mV");
  EXPECT_EQ(FormatQuantity(q, -3, 0, L"", std::locale::classic()), L"4.25 mV");
  // No digit grouping in either locale.
  EXPECT_EQ(FormatQuantity({123.456, 3, L"V"}, 0, 0, L"", CommaDecimalLocale()), L"123456 V");
  {
    testing::GlobalLocaleGuard global(CommaDecimalLocale());
    EXPECT_EQ(FormatQuantity(q, -3, 0), L"4,25 mV");
  }
  EXPECT_EQ(FormatQuantity(q, -3, 0), L"4.25 mV");
}

TEST(WriteQuantity, UnitForms) {
  struct Row {
    Quantity q;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {{4.2, -3, L"V"}, L"4.2 mV"},
      {{4.2, -3, L"degrees C"}, L"0.0042 degrees C"},
      {{4.2, -3, L""}, L"0.0042"},
      {{499.0, -3, L"V"}, L"499 mV"},
      {{1.5, 3, L"L/min"}, L"1.5 kL/min"},
      {{7.0, 0, L"mmHg"}, L"7 mmHg"},
      {{2.0, -6, L"A"}, L"2 \u00B5A"},
      {{200.0, -3, L""}, L"0.2"},
      {{1.5, 6, L""}, L"1.5e+06"},
      // No prefix letter exists for 10^27: the full value keeps the text true.
      {{5.0, 27, L"V"}, L"5e+27 V"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expected);
    EXPECT_EQ(Write(r.q), r.expected);
  }
}

TEST(WriteQuantity, UsesTheStreamsSettings) {
  std::wostringstream out;
  out.imbue(CommaDecimalLocale());
  out.setf(std::ios_base::fixed, std::ios_base::floatfield);
  out.precision(2);
  WriteQuantity(out, {4.2, -3, L"V"});
  out << L' ';
  WriteQuantity(out, {4.2, -3, L""});
  EXPECT_EQ(out.str(), L"4,20 mV 0,00");
}

// Every prefix of the prefix table and the whole range of prefix letters, over magnitudes
// 1e-20 ... 1e20: the text a field shows reads back as the same value.
TEST(QuantityText, ParseOfFormatRoundTrips) {
  const std::locale locales[] = {std::locale::classic(), CommaDecimalLocale()};
  for (const std::locale& locale : locales) {
    for (const wchar_t* unit : {L"V", L"m", L"mmHg", L"Pa", L"degrees"}) {
      for (std::int32_t prefixIndex = 1; prefixIndex <= 14; ++prefixIndex) {
        for (int magnitude = -20; magnitude <= 20; ++magnitude) {
          for (double lead : {1.0, -3.7, 47.25, 999.5}) {
            const double value = lead * std::pow(10.0, magnitude);
            const Quantity q = MakeQuantity(value, unit);
            const std::wstring text = FormatQuantity(q, PrefixPower(prefixIndex), 17, L"", locale);
            const Quantity back = Parse(text, locale);
            SCOPED_TRACE(text);
            // A unit outside the known set that starts with a prefix letter would lose it.
            ASSERT_EQ(back.unit, unit);
            ASSERT_NEAR(QuantityValue(back), value, 1e-15 * std::fabs(value));
          }
        }
      }
    }
  }
}

TEST(QuantityText, ParseOfWriteRoundTrips) {
  for (const wchar_t* unit : {L"V", L"L/min", L"degrees", L""}) {
    for (int magnitude = -24; magnitude <= 24; ++magnitude) {
      const Quantity q = MakeQuantity(-2.5 * std::pow(10.0, magnitude), unit);
      std::wostringstream out;
      out.precision(17);
      WriteQuantity(out, q);
      const Quantity back = Parse(out.str());
      SCOPED_TRACE(out.str());
      ASSERT_EQ(back.unit, unit);
      ASSERT_NEAR(QuantityValue(back), QuantityValue(q), 1e-15 * std::fabs(QuantityValue(q)));
    }
  }
}

} // namespace
} // namespace Tarn

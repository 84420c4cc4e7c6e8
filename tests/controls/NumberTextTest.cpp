#include "controls/NumberText.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(WholeNumberText, ValidOnlyWhenTheParserStopsAtTheEnd) {
  struct Row {
    const wchar_t* text;
    bool valid;
  };
  const Row rows[] = {
      {L"7", true},
      {L" 7", true},
      {L"\t-12", true},
      {L"+3", true},
      {L"12x", false},
      {L"", false},
      {L"-", false},
      {L"7 ", false},
      {L"+", false},
      {L" ", false},
      {L"1.5", false},
      {L"--1", false},
      {L"0x1F", false},
      {L"1e3", false},
      // Only the first 30 characters are looked at.
      {L"123456789012345678901234567890abc", true},
      {L"12345678901234567890123456789 x", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsWholeNumberText(r.text), r.valid) << '"' << testing::PrintToString(r.text) << '"';
}

TEST(WholeNumberText, ValuesClampToThirtyTwoBits) {
  EXPECT_EQ(ParseWholeNumber(L" -42z").value, -42);
  EXPECT_EQ(ParseWholeNumber(L" -42z").consumed, 4u);
  EXPECT_EQ(ParseWholeNumber(L"99999999999").value, 2147483647);
  EXPECT_EQ(ParseWholeNumber(L"-99999999999").value, -2147483647 - 1);
  EXPECT_EQ(ParseWholeNumber(L"abc").consumed, 0u);
}

TEST(DecimalNumberText, ValidityWithEitherSeparator) {
  struct Row {
    const wchar_t* text;
    const wchar_t* separator;
    bool valid;
  };
  const Row rows[] = {
      {L"1.5", L".", true},  {L"1,5", L",", true},    {L"1,5", L".", false},
      {L"1.5", L",", false}, {L" 2e-3", L".", true},  {L"2e", L".", false},
      {L"-", L".", false},   {L"", L",", false},      {L"7 ", L",", false},
      {L",5", L",", true},   {L"5,", L",", true},     {L",", L",", false},
      {L"+-1", L".", false}, {L"1e+308", L".", true}, {L"1e999", L".", true},
      {L"12x", L".", false}, {L"1.2.3", L".", false}, {L"3\u066b25", L"\u066b", true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsDecimalNumberText(r.text, r.separator), r.valid)
        << testing::PrintToString(std::wstring(r.text)) << " with "
        << testing::PrintToString(std::wstring(r.separator));
}

TEST(DecimalNumberText, ReadsTheUsersSeparator) {
  struct Row {
    const wchar_t* text;
    const wchar_t* separator;
    double value;
    std::size_t consumed;
  };
  const Row rows[] = {
      {L"1,5", L",", 1.5, 3}, {L"1.5", L".", 1.5, 3},         {L"1,5", L".", 1.0, 1},
      {L"1.5", L",", 1.0, 1}, {L"  -0,25e2", L",", -25.0, 9}, {L"+7x", L",", 7.0, 2},
      {L"abc", L".", 0.0, 0}, {L"1e-999", L".", 0.0, 6},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(r.text)));
    const ParsedNumber parsed = ParseDisplayedNumber(r.text, r.separator);
    EXPECT_DOUBLE_EQ(parsed.value, r.value);
    EXPECT_EQ(parsed.consumed, r.consumed);
  }
  const ParsedNumber huge = ParseDisplayedNumber(L"-1e999", L".");
  EXPECT_TRUE(std::isinf(huge.value) && huge.value < 0);
}

TEST(EditValueText, PrecisionAndNotation) {
  struct Row {
    double value;
    int precision;
    bool fixed;
    const wchar_t* separator;
    const wchar_t* text;
  };
  const Row rows[] = {
      {0.5, 2, true, L".", L"0.50"},
      {0.5, 0, true, L".", L"0.500000000"},
      {0.5, -3, true, L",", L"0,500000000"},
      {2.0, 3, true, L",", L"2,000"},
      {0.5, 0, false, L".", L"0.5"},
      {1234567.0, 0, false, L".", L"1234567"},
      {1234567.0, 3, false, L",", L"1,23e+06"},
      {-0.000125, 2, false, L",", L"-0,00013"},
      {123.4567891234, 9, false, L".", L"123.456789"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(r.text)));
    EXPECT_EQ(FormatEditValue(r.value, r.precision, r.fixed, r.separator), r.text);
  }
  EXPECT_EQ(FormatDisplayedNumber(2.5, L","), L"2,5");
  EXPECT_EQ(FormatDisplayedNumber(1e-7, L","), L"1e-07");
}

TEST(RoundToSignificant, RoundsToTheEditsPrecision) {
  struct Row {
    double value;
    int precision;
    double expected;
  };
  const Row rows[] = {
      {0.0, 9, 0.0},
      {123.4567891234, 9, 123.4567891},
      {123.4567891234, 0, 123.4567891},
      {123.4567891234, 3, 123.5},
      {-0.0123456, 2, -0.0123},
      {0.0123456, 2, 0.0123},
      {987654.0, 2, 990000.0},
      {1.7e308, 9, 1.7e308},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    EXPECT_DOUBLE_EQ(RoundToSignificant(r.value, r.precision), r.expected);
  }
}

TEST(RoundToSignificant, TinyValuesStayFinite) {
  const double tiny[] = {1e-300, 4.9e-324, -2.5e-310, std::numeric_limits<double>::min()};
  for (double v : tiny) {
    SCOPED_TRACE(v);
    const double r = RoundToSignificant(v, 9);
    EXPECT_TRUE(std::isfinite(r));
    EXPECT_NEAR(r / v, 1.0, 1e-6);
  }
  EXPECT_TRUE(std::isinf(RoundToSignificant(std::numeric_limits<double>::infinity(), 9)));
  EXPECT_TRUE(std::isnan(RoundToSignificant(std::nan(""), 9)));
}

} // namespace
} // namespace TarnControls

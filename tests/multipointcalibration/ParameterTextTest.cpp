#include "multipointcalibration/ParameterText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <sstream>

#include "fitting/FitType.h"
#include "multipointcalibration/CalibrationSettings.h"

namespace MPCalibration {
namespace {

std::size_t CountTabs(const std::wstring& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\t'));
}

// A global C++ locale that writes and reads ',' as the decimal point and groups thousands,
// installed for one test; the parameter text must not notice it.
class CommaLocale {
public:
  struct Punct : std::numpunct<wchar_t> {
    wchar_t do_decimal_point() const override { return L','; }
    wchar_t do_thousands_sep() const override { return L'.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  struct NarrowPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  CommaLocale()
      : previous_(std::locale::global(
            std::locale(std::locale(std::locale::classic(), new Punct), new NarrowPunct))) {}
  ~CommaLocale() { std::locale::global(previous_); }

private:
  std::locale previous_;
};

CalibrationSettings TwelvePointQuintic() {
  CalibrationSettings s;
  s.fitType = Quintic;
  s.unit.name = L"mmHg";
  s.sumSquaredError = 0.000123456789;
  s.coefficients = {1.5, -2.25, 3e-7, 4.125e5, -0.5, 1.0 / 3.0};
  for (int i = 0; i < 12; ++i) {
    s.rawValues.push_back(0.1 * i);
    s.calibratedValues.push_back(100.0 * i + 0.123456789);
  }
  return s;
}

TEST(ParameterTextWriter, NumbersUseSixSignificantDigits) {
  const struct {
    double value;
    const wchar_t* text;
  } cases[] = {
      {0.0, L"0"},
      {0.1, L"0.1"},
      {1e6, L"1e+06"},
      {1.0 / 3.0, L"0.333333"},
      {1.23456789, L"1.23457"},
      {-2.5, L"-2.5"},
      {1e-5, L"1e-05"},
      {123456.0, L"123456"},
      {1234567.0, L"1.23457e+06"},
      {0.0001, L"0.0001"},
      {100.0, L"100"},
      {-1e-300, L"-1e-300"},
  };
  for (const auto& c : cases) {
    std::wstring text;
    AppendParameterNumber(text, c.value);
    EXPECT_EQ(text, c.text) << c.value;
  }
}

TEST(ParameterTextWriter, FreshRecord) {
  EXPECT_EQ(CalibrationSettings().ToParameterText(), L"0\t0\tINVALID_UNIT\t0\t0\t0\t0\t");
}

TEST(ParameterTextWriter, TwelvePointQuinticHasThirtySevenItems) {
  const std::wstring text = TwelvePointQuintic().ToParameterText();
  EXPECT_EQ(CountTabs(text), 37u);
  EXPECT_EQ(text.back(), L'\t');
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  EXPECT_EQ(
      text.rfind(L"4\t0\tmmHg\t0\t0.000123457\t6\t1.5\t-2.25\t3e-07\t412500\t-0.5\t0.333333\t12\t"
                 L"0\t0.1\t0.2\t",
                 0),
      0u);
}

TEST(ParameterTextWriter, PointCountIsTheShorterVector) {
  CalibrationSettings s;
  s.rawValues = {1, 2, 3, 4, 5};
  s.calibratedValues = {10, 20, 30, 40};
  EXPECT_EQ(s.ToParameterText(), L"0\t0\tINVALID_UNIT\t0\t0\t0\t4\t1\t2\t3\t4\t10\t20\t30\t40\t");
}

TEST(ParameterTextWriter, TabInUnitNameDoesNotShiftItems) {
  CalibrationSettings s;
  s.unit.name = L"a\tb";
  s.coefficients = {7};
  CalibrationSettings back;
  ASSERT_EQ(ReadParameterText(s.ToParameterText(), back), ParameterTextResult::Complete);
  EXPECT_EQ(back.unit.name, L"a b");
  EXPECT_EQ(back.coefficients, std::vector<double>{7});
}

TEST(ParameterTextWriter, ClassicLocaleWhateverTheGlobalLocale) {
  const CalibrationSettings s = TwelvePointQuintic();
  const std::wstring expected = s.ToParameterText();
  CommaLocale comma;
  std::wostringstream probe;
  probe << 1234.5;
  ASSERT_EQ(probe.str(), L"1.234,5") << "the comma locale is not in effect";
  EXPECT_EQ(s.ToParameterText(), expected);
  CalibrationSettings back;
  ASSERT_EQ(ReadParameterText(expected, back), ParameterTextResult::Complete);
  EXPECT_EQ(back.rawValues[1], 0.1);
  EXPECT_EQ(back.calibratedValues[11], 1100.12);
}

TEST(ParameterTextReader, RoundTripRoundsToSixDigitsAndIsStable) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int round = 0; round < 200; ++round) {
    CalibrationSettings s;
    s.fitType = round % 8;
    s.forceOrigin = round % 3 == 0;
    s.unit.name = round % 2 ? L"degrees C" : L"";
    s.sumSquaredError = std::ldexp(mantissa(random), exponent(random));
    for (int i = 0; i < round % 13; ++i) {
      s.coefficients.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
      s.rawValues.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
      s.calibratedValues.push_back(mantissa(random));
    }
    CalibrationSettings once, twice;
    ASSERT_EQ(ReadParameterText(s.ToParameterText(), once), ParameterTextResult::Complete);
    ASSERT_EQ(ReadParameterText(once.ToParameterText(), twice), ParameterTextResult::Complete);
    EXPECT_EQ(once.ToParameterText(), s.ToParameterText());
    EXPECT_EQ(twice.coefficients, once.coefficients);
    EXPECT_EQ(twice.rawValues, once.rawValues);
    EXPECT_EQ(once.fitType, s.fitType);
    EXPECT_EQ(once.forceOrigin, s.forceOrigin);
    EXPECT_EQ(once.unit.name, s.unit.name);
    ASSERT_EQ(once.coefficients.size(), s.coefficients.size());
    for (std::size_t i = 0; i < s.coefficients.size(); ++i) {
      EXPECT_NEAR(once.coefficients[i], s.coefficients[i], std::abs(s.coefficients[i]) * 5e-6);
    }
  }
  CalibrationSettings s;
  s.rawValues = {1.23456789};
  s.calibratedValues = {2};
  CalibrationSettings back;
  ASSERT_EQ(ReadParameterText(s.ToParameterText(), back), ParameterTextResult::Complete);
  EXPECT_EQ(back.rawValues[0], 1.23457);
}

// The reader must take numbers exactly as a classic wide stream does.
TEST(ParameterTextReader, NumbersMatchAClassicStream) {
  const wchar_t* tokens[] = {
      L"0",
      L"1.5",
      L"+1.5",
      L"-1.5",
      L"1.",
      L".5",
      L"-.5",
      L"1e3",
      L"1E-3",
      L"1e+06",
      L"  \t7",
      L"\n\r\v\f8",
      L"1e",
      L"1e+",
      L"-",
      L".",
      L"e5",
      L"1e999",
      L"-1e999",
      L"1e-999",
      L"4.9e-324",
      L"00012.50",
      L"1.2.3",
      L"0x10",
      L"1,5",
      L"",
      L"   ",
      L"2.2250738585072014e-308",
      L"123456789012345678901234567890",
      L"0.1234567890123456789",
  };
  for (const wchar_t* token : tokens) {
    std::wistringstream stream{std::wstring(token)};
    stream.imbue(std::locale::classic());
    double expected = -777.0;
    stream >> expected;
    double actual = -777.0;
    ParameterTextReader reader(token);
    const bool read = reader.ReadNumber(actual);
    EXPECT_EQ(read, !stream.fail()) << "token \"" << testing::PrintToString(std::wstring(token));
    if (read && !stream.fail()) {
      EXPECT_EQ(actual, expected) << testing::PrintToString(std::wstring(token));
    } else {
      EXPECT_EQ(actual, -777.0) << "a failed read stores nothing";
    }
  }
}

// A stream stops at "inf" and "nan", but the writer emits them, so the reader takes them back.
TEST(ParameterTextReader, NonFiniteNumbersAsWritten) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  const struct {
    const wchar_t* token;
    double value; // NaN: any NaN
    std::size_t consumed;
  } cases[] = {
      {L"inf\t", inf, 3},  {L"-inf\t", -inf, 4}, {L"+INF", inf, 4},   {L"Infinity\t", inf, 8},
      {L"infin", inf, 3},  {L"nan\t", NAN, 3},   {L"-nan\t", NAN, 4}, {L"-nan(ind)\t", NAN, 9},
      {L"NaN(x)", NAN, 6}, {L"nan(\t", NAN, 3},
  };
  for (const auto& c : cases) {
    const std::wstring text = c.token;
    ParameterTextReader reader(text);
    double value = 0.0;
    ASSERT_TRUE(reader.ReadNumber(value)) << testing::PrintToString(text);
    if (std::isnan(c.value)) {
      EXPECT_TRUE(std::isnan(value)) << testing::PrintToString(text);
    } else {
      EXPECT_EQ(value, c.value) << testing::PrintToString(text);
    }
    EXPECT_EQ(text.size() - reader.Remaining(), c.consumed) << testing::PrintToString(text);
  }
  for (const wchar_t* token : {L"in", L"-na", L"i", L"n"}) {
    ParameterTextReader reader(token);
    double value = -777.0;
    EXPECT_FALSE(reader.ReadNumber(value)) << testing::PrintToString(std::wstring(token));
    EXPECT_EQ(value, -777.0);
  }
}

// An overflowed sum of squares or a non-finite coefficient must not cost the items after it:
// the enumerator would otherwise calibrate with its identity line and a reload lose the fit.
TEST(ParameterTextReader, NonFiniteItemsKeepTheRestOfTheText) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  CalibrationSettings s;
  s.fitType = Quadratic;
  s.unit.name = L"kPa";
  s.sumSquaredError = inf;
  s.coefficients = {1.5, -inf, 2.5};
  s.rawValues = {0.5, NAN};
  s.calibratedValues = {10, 20};
  CalibrationSettings back;
  ASSERT_EQ(ReadParameterText(s.ToParameterText(), back), ParameterTextResult::Complete);
  EXPECT_EQ(back.sumSquaredError, inf);
  EXPECT_EQ(back.coefficients, s.coefficients);
  ASSERT_EQ(back.rawValues.size(), 2u);
  EXPECT_EQ(back.rawValues[0], 0.5);
  EXPECT_TRUE(std::isnan(back.rawValues[1]));
  EXPECT_EQ(back.calibratedValues, s.calibratedValues);
}

TEST(ParameterTextReader, IntegersMatchAClassicStream) {
  const wchar_t* tokens[] = {L"0",
                             L"42",
                             L"-42",
                             L"+7",
                             L"2147483647",
                             L"-2147483648",
                             L"2147483648",
                             L"-2147483649",
                             L"1.9",
                             L"x",
                             L"-",
                             L"",
                             L"99999999999999999999999"};
  for (const wchar_t* token : tokens) {
    std::wistringstream stream{std::wstring(token)};
    stream.imbue(std::locale::classic());
    std::int32_t expected = 0;
    stream >> expected;
    std::int32_t actual = -777;
    ParameterTextReader reader(token);
    EXPECT_EQ(reader.ReadInt(actual), !stream.fail())
        << testing::PrintToString(std::wstring(token));
    if (!stream.fail()) {
      EXPECT_EQ(actual, expected);
    } else {
      EXPECT_EQ(actual, -777);
    }
  }
}

TEST(ParameterTextReader, AfterOneFailureEveryReadFails) {
  ParameterTextReader reader(L"1 x 2 3");
  std::int32_t a = 0, b = 5;
  double c = 5;
  EXPECT_TRUE(reader.ReadInt(a));
  EXPECT_FALSE(reader.ReadInt(b));
  EXPECT_FALSE(reader.ReadNumber(c));
  EXPECT_FALSE(reader.Good());
  EXPECT_FALSE(reader.CountRefused());
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(c, 5);
}

struct UnitCase {
  const wchar_t* text;
  bool read;
  const wchar_t* name;
};

TEST(ParameterTextReader, UnitToken) {
  const std::wstring longName(1023, L'u');
  const std::wstring tooLong(1024, L'u');
  const UnitCase cases[] = {
      {L"\tdegrees C\t5", true, L"degrees C"},
      {L"\t\"in\"ch\"\t", true, L"inch"},
      {L"\tINVALID_UNIT\t", true, L""},
      {L"\tinvalid_unit\t", true, L"invalid_unit"},
      {L"\t\t5", true, L""},
      {L" V\t", true, L" V"},
      {L"\tV", true, L"V"},
      {L"\t", false, L"untouched"},
      {L"", false, L"untouched"},
  };
  for (const auto& c : cases) {
    ParameterTextReader reader(c.text);
    std::wstring name = L"untouched";
    EXPECT_EQ(reader.ReadUnitToken(name), c.read) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(name, c.name);
  }
  {
    const std::wstring text = L"\t" + longName + L"\t3";
    ParameterTextReader reader(text);
    std::wstring name;
    std::int32_t next = 0;
    EXPECT_TRUE(reader.ReadUnitToken(name));
    EXPECT_EQ(name, longName);
    EXPECT_TRUE(reader.ReadInt(next));
    EXPECT_EQ(next, 3);
  }
  {
    const std::wstring text = L"\t" + tooLong + L"\t3";
    ParameterTextReader reader(text);
    std::wstring name = L"kept";
    EXPECT_FALSE(reader.ReadUnitToken(name));
    EXPECT_EQ(name, L"kept");
  }
}

struct TextCase {
  const char* what;
  std::wstring text;
  ParameterTextResult result;
  std::int32_t fitType;
  std::wstring unit;
  std::vector<double> coefficients;
  std::vector<double> raw;
  std::vector<double> calibrated;
};

// Fields start as in `Sentinel` so that a field not reached shows its old value.
CalibrationSettings Sentinel() {
  CalibrationSettings s;
  s.fitType = 99;
  s.unit.name = L"old";
  s.unit.prefixIndex = 5;
  s.unit.unitKind = 7;
  s.coefficients = {9, 9};
  s.rawValues = {8};
  s.calibratedValues = {8};
  return s;
}

TEST(ParameterTextReader, WholeTextStopsWhereReadingFails) {
  using R = ParameterTextResult;
  const std::vector<double> old2{9, 9}, old1{8};
  const TextCase cases[] = {
      {"complete", L"1\t1\tV\t0\t0.5\t2\t1\t2\t1\t3\t4\t", R::Complete, 1, L"V", {1, 2}, {3}, {4}},
      {"spaces as separators",
       L"1 1\tV\t0 0.5 2 1 2 1 3 4",
       R::Complete,
       1,
       L"V",
       {1, 2},
       {3},
       {4}},
      {"cut in coefficients",
       L"2\t0\tV\t0\t0\t3\t1\t",
       R::Incomplete,
       2,
       L"V",
       {1, 0, 0},
       old1,
       old1},
      {"malformed coefficient",
       L"2\t0\tV\t0\t0\t2\t1\tx\t1\t3\t4\t",
       R::Incomplete,
       2,
       L"V",
       {1, 0},
       old1,
       old1},
      {"cut in raw values",
       L"0\t0\tV\t0\t0\t0\t3\t1\t",
       R::Incomplete,
       0,
       L"V",
       {},
       {1, 0, 0},
       {0, 0, 0}},
      {"cut in calibrated values",
       L"0\t0\tV\t0\t0\t0\t2\t1\t2\t3\t",
       R::Incomplete,
       0,
       L"V",
       {},
       {1, 2},
       {3, 0}},
      {"no point count", L"0\t0\tV\t0\t0\t1\t5\t", R::Incomplete, 0, L"V", {5}, old1, old1},
      {"bad fit type", L"x\t0\tV\t", R::Incomplete, 99, L"old", old2, old1, old1},
      {"force origin 2", L"3\t2\tV\t", R::Incomplete, 3, L"old", old2, old1, old1},
      {"negative coefficient count", L"0\t0\tV\t0\t0\t-1\t1\t", R::Refused, 0, L"V", old2, old1,
       old1},
      {"huge coefficient count", L"0\t0\tV\t0\t0\t4000000000\t1\t", R::Refused, 0, L"V", old2, old1,
       old1},
      {"count beyond 64 bits", L"0\t0\tV\t0\t0\t99999999999999999999999\t", R::Refused, 0, L"V",
       old2, old1, old1},
      {"negative point count", L"0\t0\tV\t0\t0\t0\t-3\t", R::Refused, 0, L"V", {}, old1, old1},
      {"huge point count", L"0\t0\tV\t0\t0\t0\t2000000000\t", R::Refused, 0, L"V", {}, old1, old1},
  };
  for (const auto& c : cases) {
    CalibrationSettings s = Sentinel();
    EXPECT_EQ(ReadParameterText(c.text, s), c.result) << c.what;
    EXPECT_EQ(s.fitType, c.fitType) << c.what;
    EXPECT_EQ(s.unit.name, c.unit) << c.what;
    EXPECT_EQ(s.unit.prefixIndex, 1) << c.what;
    EXPECT_EQ(s.unit.unitKind, 0) << c.what;
    EXPECT_EQ(s.coefficients, c.coefficients) << c.what;
    EXPECT_EQ(s.rawValues, c.raw) << c.what;
    EXPECT_EQ(s.calibratedValues, c.calibrated) << c.what;
  }
}

TEST(ParameterTextReader, CountBoundFollowsTheRemainingText) {
  // One number per two remaining characters plus 1024 numbers of slack: after "count" the
  // text below has 6001 characters left, so counts up to 3000 + 1024 are taken.
  std::wstring numbers;
  for (int i = 0; i < 3000; ++i) {
    numbers += L"1\t";
  }
  for (const std::size_t count : {3001u, 4024u}) {
    const std::wstring text = std::to_wstring(count) + L"\t" + numbers;
    ParameterTextReader reader(text);
    std::vector<double> values;
    EXPECT_FALSE(reader.ReadNumbers(values)) << count;
    EXPECT_FALSE(reader.CountRefused()) << count;
    EXPECT_EQ(values.size(), count);
  }
  const std::wstring fullText = L"3000\t" + numbers, refusedText = L"4025\t" + numbers;
  ParameterTextReader full(fullText);
  std::vector<double> values;
  EXPECT_TRUE(full.ReadNumbers(values));
  ParameterTextReader refused(refusedText);
  EXPECT_FALSE(refused.ReadNumbers(values));
  EXPECT_TRUE(refused.CountRefused());
}

} // namespace
} // namespace MPCalibration

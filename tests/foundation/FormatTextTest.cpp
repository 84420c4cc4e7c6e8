#include "foundation/BasicFormatStream.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <string>

using Tarn::OFormatWStringStream;

namespace {

struct FormatCase {
  const wchar_t* format;
  std::vector<std::wstring> arguments;
  const wchar_t* expected;
};

class FormatTextCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTextCases, Assembles) {
  const FormatCase& c = GetParam();
  OFormatWStringStream s(c.format);
  for (const std::wstring& a : c.arguments)
    s << a;
  EXPECT_EQ(s.str(), c.expected);
}

// Twenty-one markers: the 21st stays literal text and its argument is dropped.
const std::wstring kTwentyOne = [] {
  std::wstring f;
  for (int i = 1; i <= 21; ++i)
    f += L"%" + std::to_wstring(i) + L"|";
  return f;
}();

INSTANTIATE_TEST_SUITE_P(
    Markers, FormatTextCases,
    ::testing::Values(
        FormatCase{
            L"Enter a number between %1 and %2.", {L"1", L"5"}, L"Enter a number between 1 and 5."},
        FormatCase{L"%2 then %1", {L"A", L"B"}, L"B then A"},
        FormatCase{L"100%% of %1", {L"x"}, L"100% of x"},
        FormatCase{L"%1 is 50%%", {L"x"}, L"x is 50%"}, FormatCase{L"%1\\2", {L"7"}, L"72"},
        FormatCase{L"a %0 b %x %1", {L"z"}, L"a %0 b %x z"},
        FormatCase{L"%1 and %1", {L"v"}, L" and v"},            // the later marker takes argument 1
        FormatCase{L"[%1][%3]", {L"a", L"b", L"c"}, L"[a][c]"}, // argument 2 has no marker
        FormatCase{L"%1 %25", {L"a"}, L"a %25"},                // completes only after argument 25
        FormatCase{L"50 % 3 %1", {L"x"}, L"50 % 3 x"}, FormatCase{L"%", {}, L"%"},
        FormatCase{L"%1%", {L"x"}, L"x%"}, FormatCase{L"%1%%%2", {L"a", L"b"}, L"a%b"}));

TEST(FormatTextTest, TextWithoutMarkersPassesStraightThrough) {
  OFormatWStringStream s(L"No markers, 100%% raw");
  s << 42 << L"!";
  EXPECT_EQ(s.str(), L"No markers, 100%% raw42!");
}

TEST(FormatTextTest, MoreThanTwentyMarkers) {
  OFormatWStringStream s(kTwentyOne);
  for (int i = 1; i <= 21; ++i)
    s << i * 10;
  std::wstring expected;
  for (int i = 1; i <= 20; ++i)
    expected += std::to_wstring(i * 10) + L"|";
  expected += L"%21|";
  EXPECT_TRUE(s.complete());
  EXPECT_EQ(s.str(), expected);
}

TEST(FormatTextTest, ArgumentsAreFormattedWithManipulators) {
  OFormatWStringStream s(L"%1 / %2 / %3");
  s << 1.0 / 3 << std::fixed << std::setprecision(2) << 2.5 << std::setw(4) << 7;
  EXPECT_EQ(s.str(), L"0.333333 / 2.50 /    7");
}

TEST(FormatTextTest, CompletesAtTheHighestMarkerAndDropsTheRest) {
  OFormatWStringStream s(L"<%1>");
  s << L"a";
  EXPECT_TRUE(s.complete());
  s << L"b";
  EXPECT_EQ(s.str(), L"<a>");
}

TEST(FormatTextTest, MissingArgumentsStayEmpty) {
  OFormatWStringStream s(L"%1-%2-%3");
  s << L"a";
  EXPECT_FALSE(s.complete());
  EXPECT_EQ(s.str(), L"a--");
}

} // namespace

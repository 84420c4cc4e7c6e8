#include "controls/RangeValidation.h"

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(DecimalRangeValidator, FilterAdmitsTheUsersSeparatorOnly) {
  EXPECT_EQ(DecimalFilterCharacters(L"."), L"-+eE0123456789.");
  EXPECT_EQ(DecimalFilterCharacters(L","), L"-+eE0123456789,");
  struct Row {
    const wchar_t* text;
    const wchar_t* separator;
    bool passes;
  };
  const Row rows[] = {
      {L"-1.5e+3", L".", true}, {L"1E3", L",", true},  {L"1,5", L",", true},
      {L"1.5", L",", false},    {L"1,5", L".", false}, {L"1d3", L".", false},
      {L"x", L".", false},      {L" 1", L".", false},  {L"", L".", true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(PassesFilter(r.text, DecimalFilterCharacters(r.separator)), r.passes)
        << testing::PrintToString(std::wstring(r.text));
}

TEST(DecimalRangeValidator, BothEndsBelongToTheRange) {
  const DecimalRange range{-1.5, 2.0};
  struct Row {
    const wchar_t* text;
    const wchar_t* separator;
    bool valid;
  };
  const Row rows[] = {
      {L"-1.5", L".", true},  {L"2", L".", true},   {L"2,0", L",", true},  {L"2.0001", L".", false},
      {L"-1,6", L",", false}, {L"1e0", L".", true}, {L"1f", L".", false},  {L"0", L",", true},
      {L"", L",", true},      {L"1,9", L",", true}, {L"2,5", L",", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsValidDecimalText(r.text, range, r.separator), r.valid)
        << testing::PrintToString(std::wstring(r.text));
  // "2,5" is 2.5 with a comma separator, not 2 as the classic converters would read it.
  EXPECT_DOUBLE_EQ(DecimalTransferValue(L"2,5", L","), 2.5);
  EXPECT_DOUBLE_EQ(DecimalTransferValue(L"oops", L","), 0.0);
}

TEST(WholeRangeValidator, BothEndsBelongToTheRange) {
  const WholeRange range{0, 6};
  struct Row {
    const wchar_t* text;
    bool valid;
  };
  const Row rows[] = {{L"0", true},  {L"6", true},   {L"7", false}, {L"-1", false},
                      {L"+3", true}, {L"3a", false}, {L"", true}};
  for (const Row& r : rows)
    EXPECT_EQ(IsValidWholeText(r.text, range), r.valid) << testing::PrintToString(r.text);
}

TEST(RangeMessage, NamesMinimumThenMaximum) {
  EXPECT_EQ(RangeMessage(L"Enter a number between %1 and %2.", WholeRange{0, 6}),
            L"Enter a number between 0 and 6.");
  EXPECT_EQ(RangeMessage(L"From %1 to %2", DecimalRange{-0.5, 1e6}, L","), L"From -0,5 to 1e+06");
  EXPECT_EQ(RangeMessage(L"%2 is the top, %1 the bottom", WholeRange{-3, 9}),
            L"9 is the top, -3 the bottom");
}

} // namespace
} // namespace TarnControls

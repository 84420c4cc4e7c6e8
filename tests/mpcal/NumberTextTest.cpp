#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "NumberText.h"

namespace MPCalTool {
namespace {

TEST(NumberText, ParsesFieldsAsFilesWriteThem) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"1.5", 1.5},       {" -2 ", -2.0},      {"+3e2", 300.0}, {"0.1", 0.1},
                        {"1e-320", 1e-320}, {"1e-400", 0.0},     {"\t7\r", 7.0},  {"-0", -0.0},
                        {"INF", HUGE_VAL},  {"-inf", -HUGE_VAL}, {".5", 0.5}};
  for (const Case& c : cases) {
    double value = 123.0;
    ASSERT_TRUE(ParseNumber(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
  }
  double value = 0.0;
  EXPECT_TRUE(ParseNumber("NaN", value));
  EXPECT_TRUE(std::isnan(value));
}

TEST(NumberText, RefusesWhatIsNotOneNumber) {
  for (const char* text :
       {"", "  ", "abc", "1,5", "1.5x", "--1", "+-1", "1e999", "- 1", "0x10", "1 2"}) {
    double value = 42.0;
    EXPECT_FALSE(ParseNumber(text, value)) << text;
    EXPECT_EQ(value, 42.0) << text;
  }
}

TEST(NumberText, ShortestFloatTextReadsBackExactly) {
  const float values[] = {0.1f,
                          1.0f / 3.0f,
                          -2.5e-38f,
                          std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::max(),
                          16777217.0f,
                          0.0f};
  for (const float v : values) {
    std::string text;
    AppendShortestFloat(text, v);
    double back = 0.0;
    ASSERT_TRUE(ParseNumber(text, back)) << text;
    EXPECT_EQ(static_cast<float>(back), v) << text;
  }
  std::string text;
  AppendShortestFloat(text, 0.1f);
  EXPECT_EQ(text, "0.1");
}

TEST(NumberText, PreciseTextHasSeventeenDigits) {
  std::string text;
  AppendPrecise(text, 0.1);
  EXPECT_EQ(text, "0.10000000000000001");
  text.clear();
  AppendPrecise(text, 2.0);
  EXPECT_EQ(text, "2");
}

} // namespace
} // namespace MPCalTool

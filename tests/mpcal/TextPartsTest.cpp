#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "DelimitedLine.h"
#include "JsonWriter.h"

namespace MPCalTool {
namespace {

TEST(DelimitedLine, SplitsWithQuotesAndKeepsPositions) {
  struct Case {
    const char* line;
    char separator;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"a,b,c", ',', {"a", "b", "c"}},
      {" 1 , 2 ", ',', {"1", "2"}},
      {"\"x, y\",2", ',', {"x, y", "2"}},
      {"\"say \"\"hi\"\"\",", ',', {"say \"hi\"", ""}},
      {"1\t\"2\t3\"\t4", '\t', {"1", "2\t3", "4"}},
      {"", ',', {""}},
      {",", ',', {"", ""}},
  };
  for (const Case& c : cases) {
    std::vector<Field> fields;
    ASSERT_TRUE(DelimitedLine::Split(c.line, c.separator, fields)) << c.line;
    ASSERT_EQ(fields.size(), c.texts.size()) << c.line;
    for (std::size_t i = 0; i < fields.size(); ++i)
      EXPECT_EQ(DelimitedLine::Text(c.line, fields[i]), c.texts[i]) << c.line;
  }
  std::vector<Field> fields;
  EXPECT_FALSE(DelimitedLine::Split("1,\"open", ',', fields));
  EXPECT_EQ(DelimitedLine::DetectSeparator("a\tb,c"), '\t');
  EXPECT_EQ(DelimitedLine::DetectSeparator("a;b,c"), ',');
  EXPECT_TRUE(DelimitedLine::IsSkippable("  # note"));
  EXPECT_TRUE(DelimitedLine::IsSkippable(" \r"));
  EXPECT_FALSE(DelimitedLine::IsSkippable("1,#"));
}

TEST(JsonWriter, EscapesStringsAndSpellsOutNonFiniteNumbers) {
  JsonWriter json;
  json.Member("s", std::wstring_view(L"a\"b\\c\td\n\x01"));
  json.Member("v", std::vector<double>{1.5, std::nan(""), HUGE_VAL, -HUGE_VAL, 0.1});
  json.Member("x", 0.1 + 0.2);
  const std::string text = json.Finish();
  EXPECT_NE(text.find("\"a\\\"b\\\\c\\td\\n\\u0001\""), std::string::npos) << text;
  const auto parsed = nlohmann::json::parse(text);
  EXPECT_EQ(parsed["v"], nlohmann::json::parse(R"([1.5, "NaN", "Infinity", "-Infinity", 0.1])"));
  // Read back as the same double.
  EXPECT_EQ(parsed["x"].get<double>(), 0.1 + 0.2);
}

} // namespace
} // namespace MPCalTool

#include "window/PrintoutPages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

using Tarn::Window::PrintoutPages;

namespace {

TEST(PrintoutPagesTest, ChoiceOfPages) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> words;
    std::vector<std::pair<std::int32_t, bool>> excluded;
  };
  const Case cases[] = {
      {"no choice", {}, {{0, false}, {5, false}, {40, false}}},
      {"no bit set", {0, 0}, {{0, false}, {33, false}}},
      {"pages 1 and 33",
       {0x2, 0x2},
       {{-1, true}, {0, true}, {1, false}, {31, true}, {32, true}, {33, false}, {64, true}}},
      {"page 31, the word's top bit", {0x80000000u}, {{30, true}, {31, false}, {32, true}}},
  };
  PrintoutPages pages;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pages.Choose(c.words);
    for (const auto& [page, expected] : c.excluded)
      EXPECT_EQ(pages.IsExcluded(page), expected) << page;
  }
}

TEST(PrintoutPagesTest, EndFollowsTheLastCountReported) {
  PrintoutPages pages;
  EXPECT_TRUE(pages.IsPastEnd(0)) << "no count reported yet";
  pages.SetCount(3);
  EXPECT_FALSE(pages.IsPastEnd(2));
  EXPECT_TRUE(pages.IsPastEnd(3));
  pages.SetCount(1);
  EXPECT_TRUE(pages.IsPastEnd(1));
}

TEST(PrintoutPagesTest, OptionsAreReplacedUnderTheMask) {
  struct Step {
    std::int32_t bits, mask, expected;
  };
  const Step steps[] = {
      {0x0F, 0x0F, 0x0F}, // set under the mask
      {0x30, 0x33, 0x3C}, // 0x03 cleared, 0x30 set, 0x0C kept
      {0x00, 0x00, 0x3C}, // an empty mask keeps everything
      {0x01, 0x00, 0x3D}, // bits outside the mask are still set
      {0x00, -1, 0x00},   // a full mask clears everything
  };
  PrintoutPages pages;
  EXPECT_EQ(pages.Options(), 0);
  for (const Step& s : steps) {
    pages.SetOptions(s.bits, s.mask);
    EXPECT_EQ(pages.Options(), s.expected) << s.bits << " under " << s.mask;
  }
}

} // namespace

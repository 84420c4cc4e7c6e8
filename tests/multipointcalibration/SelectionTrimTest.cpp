#include "multipointcalibration/SelectionTrim.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using MPCalibration::SelectionExtent;
using MPCalibration::TrimToFirstBlock;

TEST(SelectionTrim, CutsASelectionOverSeveralBlocksToTheEndOfItsFirst) {
  struct Case {
    const char* label;
    SelectionExtent selection;
    std::int32_t firstBlockLength;
    std::optional<SelectionExtent> expected;
  };
  const Case cases[] = {
      {"within one block", {40, 0, 119, 0}, 200, std::nullopt},
      {"one sample", {7, 3, 7, 3}, 10, std::nullopt},
      {"into the next block", {150, 0, 29, 1}, 200, SelectionExtent{150, 0, 199, 0}},
      {"over three blocks", {10, 2, 5, 4}, 50, SelectionExtent{10, 2, 49, 2}},
      {"from the block's last sample", {199, 0, 0, 1}, 200, SelectionExtent{199, 0, 199, 0}},
      {"block reported shorter than the start",
       {150, 0, 29, 1},
       100,
       SelectionExtent{150, 0, 150, 0}},
      {"empty block reported", {0, 1, 3, 2}, 0, SelectionExtent{0, 1, 0, 1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TrimToFirstBlock(c.selection, c.firstBlockLength), c.expected) << c.label;
}

} // namespace

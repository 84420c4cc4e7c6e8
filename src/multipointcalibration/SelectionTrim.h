#pragma once
#include <cstdint>
#include <optional>

namespace MPCalibration {

// A selection in the host's document: start and end, each a sample offset inside a block and
// that block's index. The end is inclusive.
struct SelectionExtent {
  std::int32_t startPosition = 0;
  std::int32_t startBlock = 0;
  std::int32_t endPosition = 0;
  std::int32_t endBlock = 0;
  bool operator==(const SelectionExtent&) const = default;
};

// The dialog shows one block's samples, so a selection that runs into later blocks is cut to end
// with the last sample of its first block, which is `firstBlockLength` samples long. Nothing when
// the selection lies in one block. The cut never ends before the start, even when the block is
// reported shorter than the start offset.
std::optional<SelectionExtent> TrimToFirstBlock(const SelectionExtent& selection,
                                                std::int32_t firstBlockLength) noexcept;

} // namespace MPCalibration

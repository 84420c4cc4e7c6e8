#pragma once

#include "foundation/HResult.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace GUILib {

using Tarn::HResult;

// Where the rows of blocked data go on a display. Each block starts at a row offset and is drawn
// from its own display position on, one row every `pixelsPerRow`; a row belongs to the last block
// starting at or before it, found by binary search over the block starts.
class PixMap {
public:
  explicit PixMap(double pixelsPerRow = 1.0) noexcept;

  // Blocks come in increasing order of their first row; a first row not above the previous one,
  // a negative one or a non-finite position is refused.
  HResult AddBlock(std::int64_t firstRow, double position);
  // The block that holds `row`, -1 before the first block.
  std::int64_t BlockOf(std::int64_t row) const noexcept;
  // False before the first block.
  bool ToDisplay(std::int64_t row, double& position) const noexcept;
  std::size_t BlockCount() const noexcept { return blocks_.size(); }
  double PixelsPerRow() const noexcept { return pixelsPerRow_; }

private:
  struct Block {
    std::int64_t first;
    double position;
  };
  std::vector<Block> blocks_;
  double pixelsPerRow_;
};

} // namespace GUILib

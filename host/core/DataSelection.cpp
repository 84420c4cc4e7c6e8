#include "DataSelection.h"

#include <utility>

namespace Vela {

std::optional<DataSelection> DataSelection::FromDrag(const TimeLayout& layout, double anchor,
                                                     double current) {
  SamplePoint a = layout.At(anchor);
  SamplePoint b = layout.At(current);
  if (b < a)
    std::swap(a, b);
  // A boundary at a block's end starts nothing in it: the first sample is the next block's.
  while (a.block < layout.BlockCount() && a.position >= layout.BlockLength(a.block)) {
    a = {0, a.block + 1};
  }
  // A boundary at a block's start ends nothing in it: the last sample is the block before's.
  while (b.position == 0 && b.block > 0) {
    b = {layout.BlockLength(b.block - 1), b.block - 1};
  }
  if (b.position == 0 || !(a < b) || a.block >= layout.BlockCount())
    return std::nullopt;
  return DataSelection{a, {b.position - 1, b.block}};
}

} // namespace Vela

#include "multipointcalibration/SelectionTrim.h"

#include <algorithm>

namespace MPCalibration {

std::optional<SelectionExtent> TrimToFirstBlock(const SelectionExtent& selection,
                                                std::int32_t firstBlockLength) noexcept {
  if (selection.startBlock == selection.endBlock)
    return std::nullopt;
  SelectionExtent cut = selection;
  cut.endBlock = selection.startBlock;
  cut.endPosition = std::max(selection.startPosition, firstBlockLength - 1);
  return cut;
}

} // namespace MPCalibration

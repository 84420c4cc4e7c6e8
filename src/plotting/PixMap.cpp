#include "plotting/PixMap.h"

#include <algorithm>
#include <cmath>

namespace GUILib {

PixMap::PixMap(double pixelsPerRow) noexcept
    : pixelsPerRow_(std::isfinite(pixelsPerRow) ? pixelsPerRow : 1.0) {}

HResult PixMap::AddBlock(std::int64_t firstRow, double position) {
  if (firstRow < 0 || !std::isfinite(position))
    return Tarn::hr::invalidArg;
  if (!blocks_.empty() && firstRow <= blocks_.back().first)
    return Tarn::hr::invalidArg;
  blocks_.push_back({firstRow, position});
  return Tarn::hr::ok;
}

std::int64_t PixMap::BlockOf(std::int64_t row) const noexcept {
  const auto after = std::upper_bound(blocks_.begin(), blocks_.end(), row,
                                      [](std::int64_t r, const Block& b) { return r < b.first; });
  return static_cast<std::int64_t>(after - blocks_.begin()) - 1;
}

bool PixMap::ToDisplay(std::int64_t row, double& position) const noexcept {
  const std::int64_t block = BlockOf(row);
  if (block < 0)
    return false;
  const Block& b = blocks_[static_cast<std::size_t>(block)];
  position = b.position + static_cast<double>(row - b.first) * pixelsPerRow_;
  return true;
}

} // namespace GUILib

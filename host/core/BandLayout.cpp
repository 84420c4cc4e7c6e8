#include "BandLayout.h"

#include <algorithm>

namespace Vela {

BandLayout::BandLayout(std::size_t count, int top, int bottom, int gap)
    : count_(count), top_(top), gap_(std::max(gap, 0)) {
  if (count_ == 0)
    return;
  const int n = static_cast<int>(count_);
  const int space = std::max(0, bottom - top - gap_ * (n - 1));
  height_ = space / n;
  remainder_ = space % n;
}

BandLayout::Band BandLayout::At(std::size_t index) const {
  const int i = static_cast<int>(std::min(index, count_ ? count_ - 1 : 0));
  const int top = top_ + i * (height_ + gap_) + std::min(i, remainder_);
  return {top, top + height_ + (i < remainder_ ? 1 : 0)};
}

int BandLayout::BandAtRow(int y) const {
  for (std::size_t i = 0; i < count_; ++i) {
    const Band b = At(i);
    if (y >= b.top && y < b.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

} // namespace Vela

#pragma once
#include <cstddef>

namespace Vela {

// The data window's channel bands stacked from `top` to `bottom` (pixel rows, bottom exclusive)
// with `gap` rows between bands: equal heights, the remainder rows going to the first bands.
class BandLayout {
public:
  struct Band {
    int top = 0;
    int bottom = 0; // one past the last row
  };

  BandLayout(std::size_t count, int top, int bottom, int gap);

  std::size_t Count() const noexcept { return count_; }
  Band At(std::size_t index) const;
  // The band holding row `y`, or -1 (a gap, or outside every band).
  int BandAtRow(int y) const;

private:
  std::size_t count_;
  int top_;
  int gap_;
  int height_ = 0;
  int remainder_ = 0;
};

} // namespace Vela

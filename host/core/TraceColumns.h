#pragma once
#include <cstddef>
#include <vector>

namespace Vela {

// A block's samples reduced to the pixel columns that show them: for each column the smallest and
// largest finite sample among those it covers, so that a dense trace is drawn as one vertical
// stroke per column and loses no peak. NaN samples are skipped; a column with none is empty.
class TraceColumns {
public:
  struct Column {
    float minimum = 0;
    float maximum = 0;
    bool empty = true;
  };

  // `count` samples over `width` columns; column c covers samples [c*count/width,
  // (c+1)*count/width), at least one.
  static std::vector<Column> Reduce(const float* samples, std::size_t count, int width);
  // Whether a block is better drawn as a line through every sample (few samples per column).
  static bool Sparse(std::size_t count, int width) noexcept {
    return width > 0 && count <= 2 * static_cast<std::size_t>(width);
  }
};

} // namespace Vela

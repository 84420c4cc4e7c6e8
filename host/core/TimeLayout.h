#pragma once
#include <cstddef>
#include <vector>

namespace Vela {

// A sample boundary in a recording: `position` counts samples from the start of `block`, so that
// 0 is before the first sample and the block's length after the last. This is the form the
// document's selection keeps.
struct SamplePoint {
  std::size_t position = 0;
  std::size_t block = 0;

  bool operator==(const SamplePoint&) const = default;
  bool operator<(const SamplePoint& other) const {
    return block != other.block ? block < other.block : position < other.position;
  }
};

// The blocks of a recording laid side by side along the data window's time axis: each block gets
// a share of the plot's width in proportion to its length (at least one pixel), with a fixed gap
// between blocks so that a person sees where one ends and the next begins.
class TimeLayout {
public:
  struct Span {
    int left = 0;  // first pixel column of the block
    int right = 0; // one past its last column
    int Width() const noexcept { return right - left; }
  };

  TimeLayout() = default;
  // `left` to `right` (exclusive) is the plot's pixel range; `gap` the pixels between blocks.
  TimeLayout(std::vector<std::size_t> blockLengths, int left, int right, int gap);

  std::size_t BlockCount() const noexcept { return lengths_.size(); }
  std::size_t BlockLength(std::size_t block) const { return lengths_.at(block); }
  const Span& BlockSpan(std::size_t block) const { return spans_.at(block); }
  int Left() const noexcept { return left_; }
  int Right() const noexcept { return right_; }

  // The pixel of a sample boundary (the position is clamped to the block).
  double X(SamplePoint point) const;
  // The pixel column at the centre of sample `index` of `block`.
  double SampleX(std::size_t block, std::size_t index) const;
  // The sample boundary nearest to pixel `x`. Left of the plot it is the recording's start,
  // right of it the recording's end; in a gap it is the end of the block before the gap.
  SamplePoint At(double x) const;

private:
  std::vector<std::size_t> lengths_;
  std::vector<Span> spans_;
  int left_ = 0;
  int right_ = 0;
};

} // namespace Vela

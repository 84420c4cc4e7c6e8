#include "TimeLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Vela {

TimeLayout::TimeLayout(std::vector<std::size_t> blockLengths, int left, int right, int gap)
    : lengths_(std::move(blockLengths)), left_(left), right_(std::max(left, right)) {
  const std::size_t n = lengths_.size();
  if (n == 0)
    return;
  gap = std::max(gap, 0);
  const int gaps = gap * static_cast<int>(n - 1);
  const double total =
      static_cast<double>(std::accumulate(lengths_.begin(), lengths_.end(), std::size_t{0}));
  const auto place = [&](int spare, int reserved) {
    double before = 0;
    for (std::size_t b = 0; b < n; ++b) {
      const int offset = left_ + static_cast<int>(b) * (gap + reserved);
      const auto share = [&](double samples) {
        return total > 0 ? static_cast<int>(std::floor(spare * samples / total)) : 0;
      };
      spans_[b].left = offset + share(before);
      before += static_cast<double>(lengths_[b]);
      spans_[b].right = offset + reserved + share(before);
    }
  };
  spans_.resize(n);
  const int space = right_ - left_ - gaps;
  place(std::max(space, 0), 0);
  // Where a block would get no column, every block keeps one first, so that a short block stays
  // visible and selectable.
  if (std::any_of(spans_.begin(), spans_.end(), [](const Span& s) { return s.Width() < 1; }))
    place(std::max(0, space - static_cast<int>(n)), 1);
  right_ = std::max(right_, spans_.back().right);
}

double TimeLayout::X(SamplePoint point) const {
  if (spans_.empty())
    return left_;
  const std::size_t block = std::min(point.block, spans_.size() - 1);
  const Span& s = spans_[block];
  const std::size_t length = lengths_[block];
  if (length == 0)
    return s.left;
  const double fraction =
      static_cast<double>(std::min(point.position, length)) / static_cast<double>(length);
  return s.left + fraction * s.Width();
}

double TimeLayout::SampleX(std::size_t block, std::size_t index) const {
  if (spans_.empty())
    return left_;
  block = std::min(block, spans_.size() - 1);
  const std::size_t length = std::max<std::size_t>(lengths_[block], 1);
  return spans_[block].left +
         (static_cast<double>(index) + 0.5) * spans_[block].Width() / static_cast<double>(length);
}

SamplePoint TimeLayout::At(double x) const {
  if (spans_.empty() || !std::isfinite(x))
    return {};
  // The first block whose right edge lies beyond x; x in a gap belongs to the block before it.
  std::size_t block = spans_.size() - 1;
  for (std::size_t b = 0; b < spans_.size(); ++b)
    if (x < spans_[b].right) {
      block = (b > 0 && x < spans_[b].left) ? b - 1 : b;
      break;
    }
  const Span& s = spans_[block];
  const std::size_t length = lengths_[block];
  const double fraction = std::clamp((x - s.left) / s.Width(), 0.0, 1.0);
  const auto position = static_cast<std::size_t>(std::llround(fraction * length));
  return {std::min(position, length), block};
}

} // namespace Vela

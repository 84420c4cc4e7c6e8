#include "plotting/PlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace GUILib {

AxisTransform HorizontalTransform(AxisRange range, int extent) noexcept {
  return {extent / (range.high - range.low), -range.low};
}

AxisTransform VerticalTransform(AxisRange range, int extent) noexcept {
  return {extent / (range.low - range.high), -range.high};
}

int ValueToPixel(double value, AxisTransform transform, int origin) noexcept {
  double pixel = (value + transform.offset) * transform.factor;
  if (std::isnan(pixel))
    pixel = 0.0;
  pixel = std::clamp(pixel, double{-kPixelLimit}, double{kPixelLimit});
  return static_cast<int>(pixel) + origin;
}

double PixelToValue(int pixel, AxisTransform transform, int origin) noexcept {
  if (transform.factor == 0.0 || !std::isfinite(transform.factor))
    return std::nan("");
  return (pixel - origin) / transform.factor - transform.offset;
}

LineRuns BuildLineRuns(std::span<const float> x, std::span<const float> y, AxisTransform h,
                       AxisTransform v, Point origin) {
  LineRuns runs;
  const std::size_t n = std::min(x.size(), y.size());
  runs.points.reserve(n);
  std::uint32_t current = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
      if (current != 0)
        runs.counts.push_back(current);
      current = 0;
      continue;
    }
    runs.points.push_back({ValueToPixel(x[i], h, origin.x), ValueToPixel(y[i], v, origin.y)});
    ++current;
  }
  if (current != 0)
    runs.counts.push_back(current);
  return runs;
}

LineRuns PolylineRuns(LineRuns runs) {
  if (std::find(runs.counts.begin(), runs.counts.end(), 1u) == runs.counts.end())
    return runs;
  LineRuns kept;
  kept.points.reserve(runs.points.size());
  std::size_t at = 0;
  for (std::uint32_t count : runs.counts) {
    if (count > 1) {
      kept.points.insert(kept.points.end(), runs.points.begin() + at,
                         runs.points.begin() + at + count);
      kept.counts.push_back(count);
    }
    at += count;
  }
  return kept;
}

namespace {

// Collects reduced runs: each stretch of points on one column leaves its first, lowest, highest
// and last point, in the order they came; a point equal to the one before it is left out.
class ColumnReducer {
public:
  explicit ColumnReducer(LineRuns& out) noexcept : out_(out) {}

  void Add(Point p) {
    if (open_ && p.x == first_.x) {
      if (p.y < lowest_.y) {
        lowest_ = p;
        lowestAt_ = seen_;
      }
      if (p.y > highest_.y) {
        highest_ = p;
        highestAt_ = seen_;
      }
      last_ = p;
      ++seen_;
      return;
    }
    FlushStretch();
    open_ = true;
    first_ = lowest_ = highest_ = last_ = p;
    lowestAt_ = highestAt_ = seen_++;
  }

  void EndRun() {
    FlushStretch();
    const std::size_t kept = out_.points.size() - runStart_;
    if (kept > 1)
      out_.counts.push_back(static_cast<std::uint32_t>(kept));
    else
      out_.points.resize(runStart_);
    runStart_ = out_.points.size();
  }

private:
  void Keep(Point p) {
    if (out_.points.size() == runStart_ || out_.points.back() != p)
      out_.points.push_back(p);
  }
  void FlushStretch() {
    if (!open_)
      return;
    open_ = false;
    Keep(first_);
    Keep(lowestAt_ < highestAt_ ? lowest_ : highest_);
    Keep(lowestAt_ < highestAt_ ? highest_ : lowest_);
    Keep(last_);
  }

  LineRuns& out_;
  std::size_t runStart_ = 0;
  bool open_ = false;
  Point first_, lowest_, highest_, last_;
  std::size_t lowestAt_ = 0, highestAt_ = 0, seen_ = 0;
};

} // namespace

LineRuns ReduceToColumns(const LineRuns& runs) {
  LineRuns reduced;
  ColumnReducer reducer(reduced);
  std::size_t at = 0;
  for (const std::uint32_t runLength : runs.counts) {
    for (const std::size_t end = at + runLength; at < end; ++at)
      reducer.Add(runs.points[at]);
    reducer.EndRun();
  }
  return reduced;
}

LineRuns BuildReducedLineRuns(std::span<const float> x, std::span<const float> y, AxisTransform h,
                              AxisTransform v, Point origin) {
  LineRuns reduced;
  ColumnReducer reducer(reduced);
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
      reducer.EndRun();
      continue;
    }
    reducer.Add({ValueToPixel(x[i], h, origin.x), ValueToPixel(y[i], v, origin.y)});
  }
  reducer.EndRun();
  return reduced;
}

namespace {

template <class Better>
std::optional<float> NanAwareBest(std::span<const float> values, Better better) noexcept {
  std::optional<float> best;
  for (float value : values) {
    if (std::isnan(value))
      continue;
    if (!best || better(value, *best))
      best = value;
  }
  return best;
}

} // namespace

std::optional<float> NanAwareMax(std::span<const float> values) noexcept {
  return NanAwareBest(values, [](float a, float b) { return a > b; });
}

std::optional<float> NanAwareMin(std::span<const float> values) noexcept {
  return NanAwareBest(values, [](float a, float b) { return a < b; });
}

PlotBounds ComputeBounds(std::span<const float> x, std::span<const float> y) noexcept {
  PlotBounds bounds;
  bounds.hasData = !x.empty() && x.size() == y.size();
  if (!bounds.hasData)
    return bounds;
  // A NaN in the first place would otherwise stay the bound, as every comparison with it fails.
  bounds.maxX = NanAwareMax(x).value_or(bounds.maxX);
  bounds.minX = NanAwareMin(x).value_or(bounds.minX);
  bounds.maxY = NanAwareMax(y).value_or(bounds.maxY);
  bounds.minY = NanAwareMin(y).value_or(bounds.minY);
  return bounds;
}

AxisRange ExpandStep(AxisRange range, double value) noexcept {
  const double span = (range.high - range.low) * 1.5;
  if (range.low > value)
    range.low = range.high - span;
  else if (range.high < value)
    range.high = range.low + span;
  return range;
}

AxisRange ExpandToInclude(AxisRange range, double minBound, double maxBound) noexcept {
  // Bounds still at their start values (no number seen) are reversed; they would otherwise
  // count as outside at both ends.
  if (minBound > maxBound)
    return range;
  const AxisRange given = range;
  for (double bound : {maxBound, minBound}) {
    if (bound > given.high || bound < given.low)
      range = ExpandStep(range, bound);
  }
  return range;
}

std::optional<NearestSample> FindNearest(std::span<const float> x, std::span<const float> y,
                                         AxisTransform h, AxisTransform v, Point origin,
                                         Point pointer) noexcept {
  std::optional<NearestSample> nearest;
  // Pixels stay within the clamp band, so squared distances fit a 64-bit integer exactly.
  std::int64_t best = 0;
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i]))
      continue;
    const Point p{ValueToPixel(x[i], h, origin.x), ValueToPixel(y[i], v, origin.y)};
    const std::int64_t dx = std::int64_t{p.x} - pointer.x;
    const std::int64_t dy = std::int64_t{p.y} - pointer.y;
    const std::int64_t distance = dx * dx + dy * dy;
    if (!nearest || distance < best) {
      nearest = NearestSample{i, p};
      best = distance;
    }
  }
  return nearest;
}

std::vector<int> GridPositions(double first, double spacing, double low, double high,
                               std::size_t maxCount) {
  std::vector<int> positions;
  if (!std::isfinite(first) || !std::isfinite(spacing) || !(spacing > 0.0) || !std::isfinite(low) ||
      !std::isfinite(high))
    return positions;
  // Start at the first line inside the extent; each position is computed from its index, so
  // a fractional spacing does not drift.
  double start = 0.0;
  if (first < low)
    start = std::ceil((low - first) / spacing);
  for (double i = start; positions.size() < maxCount; ++i) {
    const double position = first + i * spacing;
    if (!(position < high))
      break;
    if (position >= low)
      positions.push_back(static_cast<int>(std::floor(position)));
  }
  return positions;
}

ZoomRanges ZoomRectangleRanges(const AxisScale& h, const AxisScale& v, Point start, Point end) {
  const double x1 = h.PixelToValue(start.x);
  const double x2 = h.PixelToValue(end.x);
  const double y1 = v.PixelToValue(start.y);
  const double y2 = v.PixelToValue(end.y);
  return {{std::max(x1, x2), std::min(x1, x2)}, {std::max(y1, y2), std::min(y1, y2)}};
}

bool ZoomToRectangle(AxisScale& h, AxisScale& v, Point start, Point end) {
  const ZoomRanges zoom = ZoomRectangleRanges(h, v, start, end);
  const AxisRange oldH = h.GetRange();
  const AxisRange oldV = v.GetRange();
  if (h.SetRange(zoom.horizontal) < 0)
    return false;
  if (v.SetRange(zoom.vertical) < 0) {
    h.SetRange(oldH);
    v.SetRange(oldV);
    return false;
  }
  return true;
}

} // namespace GUILib

#include "multipointcalibration/PaneArithmetic.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace MPCalibration::Pane {

std::optional<int> PixelOf(double value, ValueMap map) noexcept {
  const double y = (value + map.offset) * map.factor;
  if (std::isnan(y))
    return std::nullopt;
  // Clamped in double: an infinite or huge row must not overflow the conversion.
  return static_cast<int>(std::clamp(y, double{-kPixelLimit}, double{kPixelLimit}));
}

int DataWidth(int clientWidth) noexcept {
  return std::max(0, clientWidth - kStripColumns);
}

double SamplesPerPixel(std::size_t count, int clientWidth) noexcept {
  const int width = DataWidth(clientWidth);
  return width > 0 ? static_cast<double>(count) / width : 0.0;
}

std::optional<SampleRange> MarkedSamples(std::size_t count, int clientWidth, int markStart,
                                         int markEnd) noexcept {
  const double perPixel = SamplesPerPixel(count, clientWidth);
  if (count == 0 || perPixel <= 0.0)
    return std::nullopt;
  const double last = static_cast<double>(count - 1);
  // Clamped at both ends: a mark may start left of the pane or reach past its last sample.
  const auto index = [&](int column) {
    return static_cast<std::size_t>(std::clamp(std::floor(column * perPixel), 0.0, last));
  };
  SampleRange range{index(markStart), index(markEnd)};
  if (range.first > range.last)
    std::swap(range.first, range.last);
  return range;
}

Statistics RangeStatistics(std::span<const float> samples, SampleRange range) noexcept {
  Statistics s;
  if (samples.empty() || range.first > range.last || range.first >= samples.size())
    return s;
  const std::size_t last = std::min(range.last, samples.size() - 1);
  float lo = std::numeric_limits<float>::max();
  float hi = std::numeric_limits<float>::lowest();
  double sum = 0.0;
  std::size_t finite = 0;
  for (std::size_t i = range.first; i <= last; ++i) {
    const float v = samples[i];
    if (!std::isfinite(v))
      continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    sum += v;
    ++finite;
  }
  if (finite == 0)
    return s;
  s.valid = true;
  s.mean = sum / static_cast<double>(finite);
  s.max = hi;
  s.min = lo;
  return s;
}

void ReduceColumns(std::span<const float> samples, int clientWidth, ValueMap map,
                   std::vector<ColumnLine>& out) {
  out.clear();
  const int width = DataWidth(clientWidth);
  const std::size_t n = samples.size();
  if (width == 0 || n == 0)
    return;
  constexpr int kEmptyTop = INT_MAX;
  constexpr int kEmptyBottom = INT_MIN;
  int column = 0;
  int top = kEmptyTop;
  int bottom = kEmptyBottom;
  const auto finish = [&] {
    if (top <= bottom && top != kEmptyTop) {
      out.push_back({column, top, bottom});
      // The next column starts from this one's extremes exchanged, so its line reaches back.
      const int previousTop = top;
      top = bottom + 1;
      bottom = previousTop;
    } else {
      top = kEmptyTop;
      bottom = kEmptyBottom;
    }
  };
  const auto w = static_cast<std::uint64_t>(width);
  for (std::size_t i = 0; i < n; ++i) {
    // Integer column arithmetic: no drift over a million samples.
    const int c = static_cast<int>(static_cast<std::uint64_t>(i) * w / n);
    if (c != column) {
      finish();
      column = c;
    }
    const std::optional<int> y = PixelOf(samples[i], map);
    if (!y)
      continue;
    top = std::min(top, *y);
    bottom = std::max(bottom, *y);
  }
  finish();
}

void SparsePolylines(std::span<const float> samples, int clientWidth, ValueMap map,
                     Polylines& out) {
  out.points.clear();
  out.runs.clear();
  const int width = DataWidth(clientWidth);
  const std::size_t n = samples.size();
  if (width == 0 || n == 0)
    return;
  std::uint32_t run = 0;
  const auto close = [&] {
    if (run >= 2)
      out.runs.push_back(run);
    else
      out.points.resize(out.points.size() - run);
    run = 0;
  };
  std::optional<int> previous = PixelOf(samples[0], map);
  if (previous) {
    out.points.push_back({0, *previous});
    run = 1;
  }
  const double columnsPerSample = static_cast<double>(width) / static_cast<double>(n);
  for (std::size_t i = 0; i < n; ++i) {
    const int x = static_cast<int>(static_cast<double>(i + 1) * columnsPerSample);
    const std::optional<int> y = PixelOf(samples[i], map);
    if (!y) {
      close();
    } else {
      if (run == 0) {
        // After a gap the line starts again where this sample's stretch begins.
        out.points.push_back({static_cast<int>(static_cast<double>(i) * columnsPerSample), *y});
        run = 1;
      }
      out.points.push_back({x, *y});
      ++run;
    }
    if (x > width)
      break;
  }
  close();
}

std::size_t AppendWithinCapacity(std::vector<float>& samples, std::span<const float> chunk,
                                 double scale) {
  const std::size_t room = samples.size() < kCapacity ? kCapacity - samples.size() : 0;
  const std::size_t take = std::min(room, chunk.size());
  for (std::size_t i = 0; i < take; ++i)
    samples.push_back(static_cast<float>(chunk[i] * scale));
  return take;
}

StripLayout MarkerStrip(int clientWidth, int clientHeight) noexcept {
  return {clientWidth - (kStripColumns - 1), kStripMargin, clientWidth, clientHeight - kStripMargin,
          clientWidth - kMarkerSize};
}

std::optional<int> MarkerTop(double value, ValueMap map) noexcept {
  const std::optional<int> y = PixelOf(value, map);
  if (!y)
    return std::nullopt;
  return *y - kMarkerSize / 2;
}

ScaleRange GuardScaleRange(double top, double bottom) noexcept {
  if (!std::isfinite(top) || !std::isfinite(bottom) || !std::isfinite(top - bottom))
    return {};
  if (top < bottom)
    std::swap(top, bottom);
  const double centre = bottom + (top - bottom) / 2.0;
  // A span below a millionth of the values' size cannot be told apart on screen: widen it.
  const double minimum = std::max(std::abs(centre) * 1e-6, 1e-12);
  if (top - bottom >= minimum)
    return {top, bottom};
  const double half = std::max(std::abs(centre) * 0.05, 0.5);
  return {centre + half, centre - half};
}

ScaleRange DataScaleRange(std::span<const float> samples) noexcept {
  float lo = std::numeric_limits<float>::max();
  float hi = std::numeric_limits<float>::lowest();
  bool any = false;
  for (const float v : samples) {
    if (!std::isfinite(v))
      continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    any = true;
  }
  if (!any)
    return {};
  return GuardScaleRange(hi, lo);
}

} // namespace MPCalibration::Pane

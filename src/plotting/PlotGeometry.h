#pragma once

#include "window/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace GUILib {

using Tarn::Window::Point;
using Tarn::Window::Rect;

// A scale's range: the high end is the top or the right of the axis.
struct AxisRange {
  double high = 1.0;
  double low = 0.0;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// A scale's transform: pixel = (value + offset) * factor, relative to the plot rectangle's left
// (horizontal) or top (vertical).
struct AxisTransform {
  double factor = 1.0;
  double offset = 0.0;
};

// Pixel coordinates never leave this band, so that extreme values cannot overflow the device.
inline constexpr int kPixelLimit = 16000;

// The transforms a linear scale of the given range has over an extent of pixels: the horizontal
// one puts the low end at 0 and the high end at the extent, the vertical one the high end at 0.
AxisTransform HorizontalTransform(AxisRange range, int extent) noexcept;
AxisTransform VerticalTransform(AxisRange range, int extent) noexcept;

// Clamped in double before the conversion, so values far outside the range (or a NaN, which
// goes to 0) never reach an undefined float-to-int conversion; then offset by the origin.
int ValueToPixel(double value, AxisTransform transform, int origin) noexcept;
// NaN for a transform with no extent.
double PixelToValue(int pixel, AxisTransform transform, int origin) noexcept;

// Every sample pair with a finite x and y as a pixel point; a non-finite x or y ends the current
// run. The counts sum to the number of points. Markers use every point; lines go through
// PolylineRuns, since a poly-polyline call refuses a run of one point.
struct LineRuns {
  std::vector<Point> points;
  std::vector<std::uint32_t> counts;
};
LineRuns BuildLineRuns(std::span<const float> x, std::span<const float> y, AxisTransform h,
                       AxisTransform v, Point origin);
// The same runs without those of a single point (the input is returned unchanged when there
// are none).
LineRuns PolylineRuns(LineRuns runs);
// The runs with the points a one-pixel line would draw over again left out: within a run, each
// stretch of consecutive points on one pixel column keeps its first, lowest, highest and last
// point, in the order they came, which covers the same pixels. A million samples across a few
// hundred columns so cost a few thousand points. Runs left with one point are dropped, as a
// poly-polyline call refuses them.
LineRuns ReduceToColumns(const LineRuns& runs);
// BuildLineRuns and ReduceToColumns in one pass, without the array of every point.
LineRuns BuildReducedLineRuns(std::span<const float> x, std::span<const float> y, AxisTransform h,
                              AxisTransform v, Point origin);

// The largest and smallest value, NaN ignored; nothing for an empty or an all-NaN sequence.
std::optional<float> NanAwareMax(std::span<const float> values) noexcept;
std::optional<float> NanAwareMin(std::span<const float> values) noexcept;

// A plot's data bounds; a plot has data only when its x and y samples are equally many and
// there are some. Bounds of a sequence with no number stay at the start values.
struct PlotBounds {
  bool hasData = false;
  float maxX = -3.4028235e38f;
  float maxY = -3.4028235e38f;
  float minX = 3.4028235e38f;
  float minY = 3.4028235e38f;
};
PlotBounds ComputeBounds(std::span<const float> x, std::span<const float> y) noexcept;

// One expansion step towards a value outside the range: the moved end is placed 1.5 spans
// beyond the other end.
AxisRange ExpandStep(AxisRange range, double value) noexcept;
// One step for each of the two bounds that lies outside the range as it was given; reversed
// bounds (a plot with no number) change nothing.
AxisRange ExpandToInclude(AxisRange range, double minBound, double maxBound) noexcept;

// The sample nearest to a pixel, by Euclidean distance in pixels, among the pairs with a finite x
// and y; the first of equal distances. Nothing when there is no such sample.
struct NearestSample {
  std::size_t index = 0;
  Point pixel;
};
std::optional<NearestSample> FindNearest(std::span<const float> x, std::span<const float> y,
                                         AxisTransform h, AxisTransform v, Point origin,
                                         Point pointer) noexcept;

// Grid line positions from the first one at the given spacing, floored to whole pixels, within
// [low, high). A spacing that is not a positive finite number gives no grid; at most maxCount.
std::vector<int> GridPositions(double first, double spacing, double low, double high,
                               std::size_t maxCount = 4096);

// A scale as the graph uses it.
class AxisScale {
public:
  virtual ~AxisScale() = default;
  virtual AxisRange GetRange() const = 0;
  // Negative on refusal.
  virtual int SetRange(AxisRange range) = 0;
  virtual double PixelToValue(int pixel) const = 0;
  // The extreme values the scale can show (high = upper limit); a scale without them cannot
  // have typed ranges checked.
  virtual std::optional<AxisRange> Limits() const { return std::nullopt; }
};

// The ranges a dragged rectangle gives, the same whichever corner the drag started from.
struct ZoomRanges {
  AxisRange horizontal;
  AxisRange vertical;
};
ZoomRanges ZoomRectangleRanges(const AxisScale& h, const AxisScale& v, Point start, Point end);
// Sets both ranges; when either scale refuses, both go back to the ranges they had and the
// result is false.
bool ZoomToRectangle(AxisScale& h, AxisScale& v, Point start, Point end);

} // namespace GUILib

#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The selection data pane's arithmetic, apart from its window: where a value is drawn, which
// samples a marked pixel range covers, their statistics, the reduction of a trace to what one
// repaint draws, the capacity rule, and a scale range that never degenerates.
namespace MPCalibration::Pane {

// The pane holds at most this many samples: one is appended while it holds at most 1,000,000.
inline constexpr std::size_t kCapacity = 1'000'001;
// The rightmost columns of the client area that hold the marker strip, not data.
inline constexpr int kStripColumns = 18;
inline constexpr int kPixelLimit = 16000;
inline constexpr int kMarkerSize = 16;
inline constexpr int kStripMargin = 5;

// Value to pixel: y = (v + offset) x factor, as the scale reports it.
struct ValueMap {
  double factor = 1.0;
  double offset = 0.0;
};

// The pixel row of `value`, clamped to -16000..16000 before it becomes an integer. A NaN value
// has no row.
std::optional<int> PixelOf(double value, ValueMap map) noexcept;

// Columns of the data area of a client area `clientWidth` wide (0 when it is 18 or narrower).
int DataWidth(int clientWidth) noexcept;
// Samples per pixel column; 0 when there are no columns.
double SamplesPerPixel(std::size_t count, int clientWidth) noexcept;

// The samples a marked pixel range covers, inclusive, in order.
struct SampleRange {
  std::size_t first = 0;
  std::size_t last = 0;
};
// The columns `markStart` and `markEnd` (either order) scaled by the samples per pixel and
// clamped into 0..count-1; none when there are no samples or no data columns.
std::optional<SampleRange> MarkedSamples(std::size_t count, int clientWidth, int markStart,
                                         int markEnd) noexcept;

// Mean, maximum and minimum over the finite samples of a range. Not valid when the range holds
// no finite sample; the values are then 0.
struct Statistics {
  bool valid = false;
  double mean = 0.0;
  double max = 0.0;
  double min = 0.0;
};
Statistics RangeStatistics(std::span<const float> samples, SampleRange range) noexcept;

// One column of a dense trace: a vertical line from `top` to `bottom`, both inclusive.
struct ColumnLine {
  int x = 0;
  int top = 0;
  int bottom = 0;
};
// The lines of a trace with more than one sample per column: each column spans its samples'
// rows and reaches back to its neighbour's, so that the trace stays connected. NaN samples are
// left out; a column with none leaves a gap. `out` is cleared first (it keeps its storage).
void ReduceColumns(std::span<const float> samples, int clientWidth, ValueMap map,
                   std::vector<ColumnLine>& out);

// A point of a sparse trace.
struct TracePoint {
  int x = 0;
  int y = 0;
};
// The polylines of a trace with at most one sample per column: from (0, row of the first
// sample), each sample i ends at ((i + 1) / samples-per-pixel, its row); the walk stops after the
// first point beyond the data area. A NaN sample breaks the line. `points` holds the polylines
// one after another, `runs` their lengths (each at least 2).
struct Polylines {
  std::vector<TracePoint> points;
  std::vector<std::uint32_t> runs;
};
void SparsePolylines(std::span<const float> samples, int clientWidth, ValueMap map, Polylines& out);

// Appends `scale` x each value of `chunk` while `samples` holds at most 1,000,000; answers how
// many were taken (the rest is dropped).
std::size_t AppendWithinCapacity(std::vector<float>& samples, std::span<const float> chunk,
                                 double scale);

// The marker strip and the markers of a client area.
struct StripLayout {
  int left = 0; // strip rectangle, white
  int top = 0;
  int right = 0;
  int bottom = 0;
  int markerX = 0; // left edge of the 16 x 16 markers
};
StripLayout MarkerStrip(int clientWidth, int clientHeight) noexcept;
// The top edge of a marker centred on the row of `value`; none for NaN.
std::optional<int> MarkerTop(double value, ValueMap map) noexcept;

// A scale range, top above bottom, both finite, with a span the scale accepts.
struct ScaleRange {
  double top = 1.0;
  double bottom = 0.0;
};
// Orders the ends and widens a span too small to map (a flat signal) around its centre; ends
// that are not finite give the range 0..1.
ScaleRange GuardScaleRange(double top, double bottom) noexcept;
// The range of the finite samples, guarded; 0..1 when there is none.
ScaleRange DataScaleRange(std::span<const float> samples) noexcept;

} // namespace MPCalibration::Pane

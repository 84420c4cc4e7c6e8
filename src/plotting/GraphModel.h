#pragma once

#include "plotting/PlotGeometry.h"
#include "plotting/TabulatedData.h"

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace GUILib {

// A plot is a pair of columns; plots are ordered by x column, then y column.
struct PlotKey {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend auto operator<=>(const PlotKey&, const PlotKey&) = default;
};

struct PlotSamples {
  std::wstring name;
  std::uint32_t colour = 255;
  // The plot has data: its x and y samples are equally many, and there are some.
  bool visible = false;
  std::vector<float> x;
  std::vector<float> y;
  PlotBounds bounds;
};

// One "Select Trace" entry: the plot's name, or (when it has none) its 1-based number to show
// after "Plot Number".
struct TraceEntry {
  PlotKey key;
  std::wstring name;
  std::size_t number = 0;
  std::uint32_t colour = 0;
  bool checked = false;
};

// The graph's plots and which one the cursor follows, apart from any window.
class GraphModel {
public:
  // Refused for a negative column or a key already plotted. The first plot added becomes the
  // one the cursor follows.
  bool AddPlot(PlotKey key, std::wstring name);
  PlotSamples* Find(PlotKey key);
  const std::map<PlotKey, PlotSamples>& Plots() const noexcept { return plots_; }

  std::optional<PlotKey> Selected() const noexcept { return selected_; }
  bool Select(PlotKey key);

  // Re-reads every plot's columns from the table (a missing column reads as empty) and, with
  // auto-expansion, widens the two ranges towards each plot's data by one step per bound.
  void Recompute(const TabulatedTable& table, AxisRange& horizontal, AxisRange& vertical);
  bool autoExpand = false;

  // The menu lists the plots only when there is more than one.
  bool HasTraceMenu() const noexcept { return plots_.size() > 1; }
  std::vector<TraceEntry> TraceMenu() const;

private:
  std::map<PlotKey, PlotSamples> plots_;
  std::optional<PlotKey> selected_;
};

// The zoom rectangle dragged with the left button, in client pixels.
class ZoomDrag {
public:
  void Begin(Point at) noexcept;
  void Move(Point at) noexcept;
  // The end point is kept inside the client; a selection exists when it differs from the start.
  void End(Point at, Rect client) noexcept;
  void Clear() noexcept;

  bool Dragging() const noexcept { return dragging_; }
  bool HasSelection() const noexcept { return hasSelection_; }
  // Drawn while dragging and while a selection exists.
  bool Shown() const noexcept { return dragging_ || hasSelection_; }
  Point Start() const noexcept { return start_; }
  Point Finish() const noexcept { return end_; }
  // The rectangle with its corners in order, whichever way it was dragged.
  Rect Rectangle() const noexcept;

private:
  Point start_;
  Point end_;
  bool dragging_ = false;
  bool hasSelection_ = false;
};

// Every value of a column, read through a cursor as the graph does.
std::vector<float> ReadColumn(const TabulatedTable& table, std::int64_t column);

} // namespace GUILib

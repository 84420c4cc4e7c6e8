#include "plotting/win/DataPlotXY.h"

#include "plotting/win/HostAxisScale.h"
#include "plotting/win/SavedDc.h"

#include <algorithm>

namespace GUILib {

void DataPlotXY::SetLayer(int layer, int type, int size, COLORREF colour, int penStyle) {
  auto object = MakeDrawObject(type);
  if (!object) {
    layers_.erase(layer);
    return;
  }
  layers_[layer] = {std::move(object), type, {colour, size, penStyle}};
}

LineRuns DataPlotXY::Runs(const PlotSamples& samples, Rect plot) const {
  if (!horizontal_ || !vertical_)
    return {};
  return BuildLineRuns(samples.x, samples.y, horizontal_->Transform(), vertical_->Transform(),
                       plot.TopLeft());
}

LineRuns DataPlotXY::ReducedRuns(const PlotSamples& samples, Rect plot) const {
  if (!horizontal_ || !vertical_)
    return {};
  return BuildReducedLineRuns(samples.x, samples.y, horizontal_->Transform(),
                              vertical_->Transform(), plot.TopLeft());
}

void DataPlotXY::Draw(HDC dc, const PlotSamples& samples, Rect plot) const {
  if (layers_.empty())
    return;
  // Lines alone need only the points a one-pixel line draws, which saves most of the work for
  // long time series; markers and numbers need every point.
  const bool linesOnly = std::all_of(layers_.begin(), layers_.end(),
                                     [](const auto& layer) { return layer.second.type == Lines; });
  const LineRuns runs = linesOnly ? ReducedRuns(samples, plot) : Runs(samples, plot);
  if (runs.points.empty())
    return;
  SavedDc saved(dc);
  if (clip)
    ::IntersectClipRect(dc, plot.left, plot.top, plot.right, plot.bottom);
  for (const auto& [number, layer] : layers_)
    layer.object->Draw(dc, runs, layer.style);
}

} // namespace GUILib

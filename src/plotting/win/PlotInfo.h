#pragma once
#include <windows.h>

#include "plotting/GraphModel.h"
#include "plotting/win/DataPlotXY.h"

#include <string>

namespace GUILib {

// One plot of the graph: how it is drawn, over the samples the graph's model keeps for it.
class PlotInfo {
public:
  explicit PlotInfo(PlotSamples& samples) noexcept : samples_(&samples) {}

  DataPlotXY& Plot() noexcept { return plot_; }
  const DataPlotXY& Plot() const noexcept { return plot_; }
  const PlotSamples& Samples() const noexcept { return *samples_; }

  const std::wstring& Name() const noexcept { return samples_->name; }
  void SetName(std::wstring name) { samples_->name = std::move(name); }
  COLORREF Colour() const noexcept { return samples_->colour; }
  // The colour the trace menu shows beside the plot's name.
  void SetColour(COLORREF colour) noexcept { samples_->colour = colour; }
  bool Visible() const noexcept { return samples_->visible; }

private:
  DataPlotXY plot_;
  PlotSamples* samples_;
};

} // namespace GUILib

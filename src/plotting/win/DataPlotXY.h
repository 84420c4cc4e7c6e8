#pragma once
#include <windows.h>

#include "plotting/GraphModel.h"
#include "plotting/win/DrawObject.h"

#include <map>
#include <memory>

namespace GUILib {

class HostAxisScale;

// Draws one plot's samples in layers (lines, markers, numbers), mapped through the two scales
// into the plot rectangle.
class DataPlotXY {
public:
  enum LayerType { None = 0, Lines = 1, Points = 2, Ordinal = 3 };

  void SetScales(const HostAxisScale* horizontal, const HostAxisScale* vertical) noexcept {
    horizontal_ = horizontal;
    vertical_ = vertical;
  }
  // Type None removes the layer.
  void SetLayer(int layer, int type, int size, COLORREF colour, int penStyle = PS_SOLID);
  bool HasLayer(int layer) const noexcept { return layers_.contains(layer); }
  bool clip = true;

  // The samples as pixel runs of `plot`, as the layers get them.
  LineRuns Runs(const PlotSamples& samples, Rect plot) const;
  // The same with the points a one-pixel line would draw over again left out.
  LineRuns ReducedRuns(const PlotSamples& samples, Rect plot) const;
  // Every layer in layer order, clipped to `plot` when the clip flag is set.
  void Draw(HDC dc, const PlotSamples& samples, Rect plot) const;

private:
  struct Layer {
    std::shared_ptr<const DrawObject> object;
    int type = None;
    LayerStyle style;
  };

  const HostAxisScale* horizontal_ = nullptr;
  const HostAxisScale* vertical_ = nullptr;
  std::map<int, Layer> layers_;
};

} // namespace GUILib

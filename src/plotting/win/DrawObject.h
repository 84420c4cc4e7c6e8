#pragma once
#include <windows.h>

#include "plotting/PlotGeometry.h"

#include <memory>

namespace GUILib {

// What a layer draws with: its colour, a size (pen width, marker radius or text offset, in
// pixels at 96 dpi) and a pen style.
struct LayerStyle {
  COLORREF colour = RGB(255, 0, 0);
  int size = 1;
  int penStyle = PS_SOLID;
};

// One way of drawing a plot's points, which come as runs broken where a sample is not a number.
class DrawObject {
public:
  virtual ~DrawObject() = default;
  virtual void Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const = 0;
};

// Lines through each run, all runs in one poly-polyline call.
class DrawLineSegments final : public DrawObject {
public:
  void Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const override;
};

// A filled circle of the layer's size as radius around each point.
class DrawPoints final : public DrawObject {
public:
  void Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const override;
};

// Each point's 1-based number beside it, above and to the right by the layer's size.
class DrawOrdinal final : public DrawObject {
public:
  void Draw(HDC dc, const LineRuns& runs, const LayerStyle& style) const override;
};

// The draw object of a layer type: 1 lines, 2 points, 3 ordinal numbers; null for anything else.
std::shared_ptr<const DrawObject> MakeDrawObject(int type);

// `size` pixels at 96 dpi on `dc`'s device.
int ScaleToDevice(HDC dc, int size) noexcept;

} // namespace GUILib

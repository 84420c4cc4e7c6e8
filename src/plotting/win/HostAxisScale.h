#pragma once
#include <windows.h>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "plotting/PlotGeometry.h"

#include <optional>

namespace GUILib {

// Where a scale puts its grid lines: pixels from the axis' start end.
struct GridSpacing {
  double first = 0.0;
  double spacing = 0.0;
};

// One of the host's axis scales as the graph's arithmetic takes it, with the optional faces
// (default range, grid, limits) asked for once.
class HostAxisScale final : public AxisScale {
public:
  HostAxisScale() = default;
  explicit HostAxisScale(Host::IAxisScale* scale);

  explicit operator bool() const noexcept { return static_cast<bool>(scale_); }
  Host::IAxisScale* get() const noexcept { return scale_.get(); }

  AxisRange GetRange() const override;
  int SetRange(AxisRange range) override;
  double PixelToValue(int pixel) const override;
  std::optional<AxisRange> Limits() const override;

  // A scale without a transform maps nothing (factor 0).
  AxisTransform Transform() const noexcept;
  std::optional<GridSpacing> Grid() const noexcept;

  bool HasDefaultRange() const noexcept;
  bool ResetToDefault() const noexcept;

private:
  Tarn::ComPtr<Host::IAxisScale> scale_;
  Tarn::ComPtr<Host::IAxisScaleDefault> default_;
  Tarn::ComPtr<Host::IAxisScaleGrid> grid_;
  Tarn::ComPtr<Host::IAxisScaleLimits> limits_;
};

} // namespace GUILib

#include "plotting/win/HostAxisScale.h"

#include <cmath>

namespace GUILib {

HostAxisScale::HostAxisScale(Host::IAxisScale* scale) : scale_(scale) {
  if (!scale_)
    return;
  (void)scale_.QueryTo(Host::IID_IAxisScaleDefault, default_);
  (void)scale_.QueryTo(Host::IID_IAxisScaleGrid, grid_);
  (void)scale_.QueryTo(Host::IID_IAxisScaleLimits, limits_);
}

AxisRange HostAxisScale::GetRange() const {
  AxisRange range{};
  if (!scale_ || FAILED(scale_->GetRange(&range.high, &range.low)))
    return {};
  return range;
}

int HostAxisScale::SetRange(AxisRange range) {
  if (!scale_)
    return -1;
  const HRESULT status = scale_->SetRange(range.high, range.low);
  return FAILED(status) ? -1 : 0;
}

double HostAxisScale::PixelToValue(int pixel) const {
  double value = std::nan("");
  if (!scale_ || FAILED(scale_->PixelToValue(pixel, &value)))
    return std::nan("");
  return value;
}

std::optional<AxisRange> HostAxisScale::Limits() const {
  AxisRange limits{};
  if (!limits_ || limits_->GetLimits(&limits.high, &limits.low) != S_OK)
    return std::nullopt;
  return limits;
}

AxisTransform HostAxisScale::Transform() const noexcept {
  AxisTransform transform{0.0, 0.0};
  if (!scale_ || FAILED(scale_->GetTransform(&transform.factor, &transform.offset)))
    return {0.0, 0.0};
  return transform;
}

std::optional<GridSpacing> HostAxisScale::Grid() const noexcept {
  GridSpacing grid;
  if (!grid_ || grid_->GetGrid(&grid.first, &grid.spacing) != S_OK)
    return std::nullopt;
  return grid;
}

bool HostAxisScale::HasDefaultRange() const noexcept {
  return default_ && default_->HasDefaultRange() == S_OK;
}

bool HostAxisScale::ResetToDefault() const noexcept {
  return default_ && SUCCEEDED(default_->ResetToDefault());
}

} // namespace GUILib

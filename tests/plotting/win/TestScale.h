#pragma once
#include <windows.h>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "plotting/PlotGeometry.h"

#include <cmath>

namespace GUILib::Testing {

// A linear axis scale over a fixed pixel extent, with a default range, a grid of its choice and
// limits; it refuses what the host's scales refuse, and everything while `refuse` is set.
class TestScale final : public Tarn::ComObject<TestScale, Host::IAxisScale, Host::IAxisScaleDefault,
                                               Host::IAxisScaleGrid, Host::IAxisScaleLimits> {
public:
  TestScale(bool vertical, int extent, AxisRange range)
      : vertical_(vertical), extent_(extent), range_(range), default_(range) {}
  static Tarn::ComPtr<TestScale> Make(bool vertical, int extent, AxisRange range) {
    return Tarn::ComPtr<TestScale>::Adopt(new TestScale(vertical, extent, range));
  }

  AxisRange range() const noexcept { return range_; }
  AxisTransform transform() const noexcept {
    return vertical_ ? VerticalTransform(range_, extent_) : HorizontalTransform(range_, extent_);
  }
  bool refuse = false;
  double gridFirst = 0.0;
  double gridSpacing = 0.0;
  int setRangeCalls = 0;

  HRESULT STDMETHODCALLTYPE GetRange(double* high, double* low) noexcept override {
    if (!high || !low)
      return E_INVALIDARG;
    *high = range_.high;
    *low = range_.low;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetRange(double high, double low) noexcept override {
    ++setRangeCalls;
    if (refuse || !std::isfinite(high) || !std::isfinite(low) || !(high > low))
      return E_INVALIDARG;
    range_ = {high, low};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTransform(double* factor, double* offset) noexcept override {
    if (!factor || !offset)
      return E_INVALIDARG;
    *factor = transform().factor;
    *offset = transform().offset;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PixelToValue(double pixel, double* value) noexcept override {
    if (!value)
      return E_INVALIDARG;
    *value = pixel / transform().factor - transform().offset;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE HasDefaultRange() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResetToDefault() noexcept override {
    range_ = default_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetGrid(double* first, double* spacing) noexcept override {
    if (!first || !spacing)
      return E_INVALIDARG;
    *first = gridFirst;
    *spacing = gridSpacing;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLimits(double* upper, double* lower) noexcept override {
    if (!upper || !lower)
      return E_INVALIDARG;
    *upper = 1e30;
    *lower = -1e30;
    return S_OK;
  }

private:
  friend class Tarn::ComObject<TestScale, Host::IAxisScale, Host::IAxisScaleDefault,
                               Host::IAxisScaleGrid, Host::IAxisScaleLimits>;
  ~TestScale() = default;

  bool vertical_;
  int extent_;
  AxisRange range_;
  AxisRange default_;
};

} // namespace GUILib::Testing

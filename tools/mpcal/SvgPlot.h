#pragma once
#include <string>

#include "fitting/FitRecord.h"

namespace MPCalTool {

// A self-contained SVG picture of a fit: the points and the fitted curve over the calibrated
// range and a little beyond it (the parts beyond the points shaded), and below it the residuals
// against the raw value, each panel with its axes, ticks and labels in the units. The plot
// areas carry their value ranges as data attributes, so that a reader can map numbers to
// positions without reverse-engineering the ticks.
class SvgPlot {
public:
  static constexpr double kWidth = 720;
  static constexpr double kHeight = 560;

  SvgPlot(const MPCalibration::FitRecord& record, std::string rawUnit, std::string unit);

  std::string Render() const;

private:
  const MPCalibration::FitRecord& record_;
  std::string rawUnit_;
  std::string unit_;
};

} // namespace MPCalTool

#pragma once
#include <ostream>
#include <string>

#include "JsonWriter.h"
#include "fitting/FitRecord.h"
#include "fitting/FitStatistics.h"

namespace MPCalTool {

// How good a finished fit is, point by point and as a whole, for people (a table and lines) and
// for programs (JSON members beside the fit's own).
class FitReport {
public:
  explicit FitReport(const MPCalibration::FitRecord& record, std::string unit = {});

  const MPCalibration::FitStatistics& Statistics() const noexcept { return statistics_; }

  // The points table, then the summary.
  void WriteText(std::ostream& out) const;
  // RMSE, largest residual, degrees of freedom and R², standard errors, condition, warnings.
  void WriteSummary(std::ostream& out) const;
  void WriteJson(JsonWriter& json) const;

private:
  const MPCalibration::FitRecord& record_;
  std::string unit_;
  MPCalibration::FitStatistics statistics_;
};

} // namespace MPCalTool

#include "FitReport.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "fitting/FitType.h"

namespace MPCalTool {
namespace {

std::string Number(double value, int precision = 6) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::setprecision(precision) << value;
  return text.str();
}

} // namespace

FitReport::FitReport(const MPCalibration::FitRecord& record, std::string unit)
    : record_(record), unit_(std::move(unit)),
      statistics_(MPCalibration::ComputeFitStatistics(record)) {}

void FitReport::WriteText(std::ostream& out) const {
  const MPCalibration::FitStatistics& s = statistics_;
  const std::string u = unit_.empty() ? std::string() : " (" + unit_ + ")";
  out << "Points:\n"
      << std::setw(14) << "raw" << std::setw(16) << "known" + u << std::setw(16) << "fitted" + u
      << std::setw(18) << "residual" + u << std::setw(12) << "% of FS" << '\n';
  for (std::size_t i = 0; i < s.fitted.size(); ++i)
    out << std::setw(14) << Number(record_.rawValues[i]) << std::setw(16)
        << Number(record_.calibratedValues[i]) << std::setw(16) << Number(s.fitted[i])
        << std::setw(18) << Number(s.residuals[i], 4) << std::setw(12)
        << Number(s.PercentOfFullScale(s.residuals[i]), 3) << '\n';
  WriteSummary(out);
}

void FitReport::WriteSummary(std::ostream& out) const {
  const MPCalibration::FitStatistics& s = statistics_;
  const std::string unitSuffix = unit_.empty() ? std::string() : " " + unit_;
  out << "RMSE = " << Number(s.rmse) << unitSuffix << "   largest residual "
      << Number(s.largestResidual) << unitSuffix << " at point " << s.largestResidualPoint + 1
      << " (" << Number(s.PercentOfFullScale(s.largestResidual), 3) << " % of full scale)\n";
  if (s.degreesOfFreedom > 0)
    out << "Degrees of freedom = " << s.degreesOfFreedom << "   R² = " << Number(s.rSquared, 9)
        << "   adjusted R² = " << Number(s.adjustedRSquared, 9) << '\n';
  else
    out << "Degrees of freedom = 0 (exact interpolation)\n";
  if (record_.fitType != MPCalibration::PointToPoint) {
    out << "Standard errors:";
    for (std::size_t k = 0; k < s.standardErrors.size(); ++k)
      out << (k ? ", " : " ") << "c" << k << " = " << Number(record_.coefficients[k]) << " ± "
          << Number(s.standardErrors[k], 3);
    out << "\nCondition number = " << Number(s.conditionNumber, 3) << '\n';
  }
  for (const std::string& warning : MPCalibration::FitWarnings(record_, s))
    out << "warning: " << warning << '\n';
}

void FitReport::WriteJson(JsonWriter& json) const {
  const MPCalibration::FitStatistics& s = statistics_;
  std::vector<double> percent;
  for (const double r : s.residuals)
    percent.push_back(s.PercentOfFullScale(r));
  json.Member("fitted", s.fitted);
  json.Member("residuals", s.residuals);
  json.Member("residualsPercentOfFullScale", percent);
  json.Member("fullScale", s.fullScale);
  json.Member("rmse", s.rmse);
  json.Member("largestResidual", s.largestResidual);
  json.Member("largestResidualIndex", static_cast<int>(s.largestResidualPoint));
  json.Member("degreesOfFreedom", static_cast<int>(s.degreesOfFreedom));
  json.Member("exactInterpolation", s.degreesOfFreedom <= 0);
  json.Member("rSquared", s.rSquared);
  json.Member("adjustedRSquared", s.adjustedRSquared);
  json.Member("standardErrors", s.standardErrors);
  json.Member("conditionNumber", s.conditionNumber);
  json.Member("illConditioned", s.illConditioned);
  json.Member("monotonic", !s.nonMonotonic);
  json.Member("warnings", MPCalibration::FitWarnings(record_, s));
}

} // namespace MPCalTool

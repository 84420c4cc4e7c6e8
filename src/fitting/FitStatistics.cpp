#include "fitting/FitStatistics.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "fitting/EvaluateFit.h"
#include "fitting/FitType.h"

namespace MPCalibration {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> Evaluate(const FitRecord& record, std::vector<double> x) {
  EvaluateFit(record.fitType, record.coefficients, x);
  return x;
}

// Which coefficients the fit chose; a polynomial forced through the origin keeps its constant 0.
std::vector<std::size_t> FreeCoefficients(const FitRecord& record) {
  std::vector<std::size_t> free;
  if (record.fitType == PointToPoint)
    return free;
  const bool origin = ForceOriginApplies(record.fitType, record.forceOrigin);
  for (std::size_t k = origin ? 1 : 0; k < record.coefficients.size(); ++k)
    free.push_back(k);
  return free;
}

// Derivatives of the curve at each raw point by each free coefficient: exact powers for a
// polynomial, central differences for the other functions.
Eigen::MatrixXd Jacobian(const FitRecord& record, const std::vector<std::size_t>& free) {
  const std::size_t n = record.PointCount();
  Eigen::MatrixXd j(n, free.size());
  for (std::size_t c = 0; c < free.size(); ++c) {
    const std::size_t k = free[c];
    if (IsPolynomialFitType(record.fitType)) {
      for (std::size_t i = 0; i < n; ++i)
        j(i, c) = std::pow(record.rawValues[i], static_cast<double>(k));
      continue;
    }
    const double h = 1e-6 * std::max(1.0, std::abs(record.coefficients[k]));
    FitRecord up = record, down = record;
    up.coefficients[k] += h;
    down.coefficients[k] -= h;
    const std::vector<double> x(record.rawValues.begin(), record.rawValues.begin() + n);
    const std::vector<double> yu = Evaluate(up, x), yd = Evaluate(down, x);
    for (std::size_t i = 0; i < n; ++i)
      j(i, c) = (yu[i] - yd[i]) / (2 * h);
  }
  return j;
}

void FindTurn(const FitRecord& record, FitStatistics& s) {
  const std::size_t n = record.PointCount();
  if (n < 2 || record.fitType == PointToPoint)
    return;
  const auto [lo, hi] = std::minmax_element(record.rawValues.begin(), record.rawValues.begin() + n);
  constexpr std::size_t kSteps = 4096;
  std::vector<double> x(kSteps + 1);
  for (std::size_t i = 0; i <= kSteps; ++i)
    x[i] = *lo + (*hi - *lo) * static_cast<double>(i) / kSteps;
  const std::vector<double> y = Evaluate(record, x);
  const double span = std::abs(y.back() - y.front());
  // Rounding wiggles on a flat stretch are not a turn.
  const double noise = 1e-12 * std::max(span, std::abs(y.front()) + std::abs(y.back()));
  int direction = 0;
  for (std::size_t i = 1; i <= kSteps; ++i) {
    const double d = y[i] - y[i - 1];
    if (std::abs(d) <= noise)
      continue;
    const int step = d > 0 ? 1 : -1;
    if (direction != 0 && step != direction) {
      s.nonMonotonic = true;
      s.turningRaw = x[i - 1];
      return;
    }
    direction = step;
  }
}

} // namespace

double FitStatistics::PercentOfFullScale(double value) const {
  return fullScale > 0 ? 100.0 * value / fullScale : kNaN;
}

FitStatistics ComputeFitStatistics(const FitRecord& record) {
  FitStatistics s;
  const std::size_t n = record.PointCount();
  const std::vector<double> x(record.rawValues.begin(), record.rawValues.begin() + n);
  s.fitted = Evaluate(record, x);
  s.residuals.resize(n);
  double mean = 0;
  for (std::size_t i = 0; i < n; ++i)
    mean += record.calibratedValues[i] / static_cast<double>(n);
  double total = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double r = s.fitted[i] - record.calibratedValues[i];
    s.residuals[i] = r;
    s.sumSquaredError += r * r;
    total += (record.calibratedValues[i] - mean) * (record.calibratedValues[i] - mean);
    if (!std::isfinite(s.fitted[i]))
      s.domainProblem = true;
    if (i == 0 || std::abs(r) > std::abs(s.largestResidual)) {
      s.largestResidual = r;
      s.largestResidualPoint = i;
    }
  }
  if (n > 0) {
    const auto [lo, hi] =
        std::minmax_element(record.calibratedValues.begin(), record.calibratedValues.begin() + n);
    s.fullScale = *hi - *lo;
    s.rmse = std::sqrt(s.sumSquaredError / static_cast<double>(n));
  }
  if (record.fitType == Logarithmic &&
      std::any_of(x.begin(), x.end(), [](double v) { return !(v > 0); }))
    s.domainProblem = true;

  const std::vector<std::size_t> free = FreeCoefficients(record);
  s.freeParameters = record.fitType == PointToPoint ? n : free.size();
  s.degreesOfFreedom =
      static_cast<std::ptrdiff_t>(n) - static_cast<std::ptrdiff_t>(s.freeParameters);
  s.rSquared = total > 0 ? 1.0 - s.sumSquaredError / total : kNaN;
  s.adjustedRSquared = s.degreesOfFreedom > 0 && total > 0
                           ? 1.0 - (s.sumSquaredError / static_cast<double>(s.degreesOfFreedom)) /
                                       (total / static_cast<double>(n - 1))
                           : kNaN;

  s.standardErrors.assign(record.coefficients.size(), record.fitType == PointToPoint ? kNaN : 0.0);
  if (!free.empty() && n >= free.size() && !s.domainProblem) {
    const Eigen::MatrixXd j = Jacobian(record, free);
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(j, Eigen::ComputeThinU | Eigen::ComputeThinV);
    const Eigen::VectorXd sv = svd.singularValues();
    s.conditionNumber =
        sv(sv.size() - 1) > 0 ? sv(0) / sv(sv.size() - 1) : std::numeric_limits<double>::infinity();
    s.illConditioned = !(s.conditionNumber <= kIllConditionedLimit);
    if (s.degreesOfFreedom > 0 && std::isfinite(s.conditionNumber)) {
      // cov = s² (JᵀJ)⁻¹, through the SVD so that a poor condition loses no more than it must.
      const double variance = s.sumSquaredError / static_cast<double>(s.degreesOfFreedom);
      const Eigen::MatrixXd v = svd.matrixV();
      for (std::size_t c = 0; c < free.size(); ++c) {
        double sum = 0;
        for (Eigen::Index m = 0; m < sv.size(); ++m)
          sum += (v(c, m) / sv(m)) * (v(c, m) / sv(m));
        s.standardErrors[free[c]] = std::sqrt(variance * sum);
      }
    } else {
      for (const std::size_t k : free)
        s.standardErrors[k] = kNaN;
    }
  } else {
    s.conditionNumber = kNaN;
    for (const std::size_t k : free)
      s.standardErrors[k] = kNaN;
  }
  FindTurn(record, s);
  return s;
}

std::vector<std::string> FitWarnings(const FitRecord& record, const FitStatistics& s) {
  std::vector<std::string> warnings;
  std::ostringstream text;
  text.imbue(std::locale::classic());
  if (s.degreesOfFreedom <= 0)
    warnings.push_back("exact interpolation: no degrees of freedom left, so R² and the "
                       "standard errors say nothing about the fit");
  if (s.illConditioned) {
    text << "ill-conditioned fit (condition number " << s.conditionNumber
         << "): the coefficients are poorly determined; use a lower order, or spread the points "
            "wider";
    warnings.push_back(text.str());
    text.str("");
  }
  if (s.nonMonotonic) {
    text << "the curve is not monotonic over the calibrated range (it turns near raw "
         << s.turningRaw << "): some calibrated values have two raw causes";
    warnings.push_back(text.str());
    text.str("");
  }
  if (s.domainProblem)
    warnings.push_back(record.fitType == Logarithmic
                           ? "logarithmic fit: raw values at or below 0 have no logarithm"
                           : "the function cannot take some raw points (the result is not a "
                             "finite number)");
  return warnings;
}

} // namespace MPCalibration

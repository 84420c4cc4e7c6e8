#pragma once
#include <cstddef>
#include <span>

namespace ExtLib {

// Fills the m residuals r[i] = y[i] - f(x[i]; p) for the n parameters p.
class LmResiduals {
public:
  virtual void Evaluate(std::span<const double> parameters, std::span<double> residuals) = 0;

protected:
  LmResiduals() = default;
  LmResiduals(const LmResiduals&) = default;
  LmResiduals& operator=(const LmResiduals&) = default;
  ~LmResiduals() = default;
};

// Why the minimiser stopped. The numbered outcomes are those of MINPACK's lmdif.
enum class LmStatus {
  FoundZero,           // sum of squares at or below DBL_MIN: an exact fit
  ReductionConverged,  // 1: relative reduction of the sum of squares within ftol
  ParametersConverged, // 2: relative change of the parameters within xtol
  BothConverged,       // 3: 1 and 2
  Orthogonal,          // 4: residuals orthogonal to the Jacobian columns (gradient within gtol)
  EvaluationLimit,     // 5: patience * (n + 1) evaluations spent
  FtolTooSmall,        // 6: no further reduction of the sum of squares possible
  XtolTooSmall,        // 7: no further improvement of the parameters possible
  GtolTooSmall,        // 8: residuals orthogonal to the Jacobian to machine precision
  ImproperInput,       // fewer residuals than parameters, no parameters, bad settings
  NotFinite,           // the residuals at the start, or a Jacobian, are not finite
};

constexpr bool IsSuccess(LmStatus s) noexcept {
  return s == LmStatus::FoundZero || s == LmStatus::ReductionConverged ||
         s == LmStatus::ParametersConverged || s == LmStatus::BothConverged ||
         s == LmStatus::Orthogonal;
}

// Levenberg-Marquardt least squares (MINPACK lmdif) with a forward-difference Jacobian, made to
// behave as the lmfit library does with these settings:
//   ftol 1e-8       relative error desired in the sum of squares
//   xtol 1e-8       relative error desired in the parameter vector
//   gtol 0          orthogonality desired between residuals and Jacobian columns
//   epsilon 1e-8    relative step of the difference Jacobian: with e = sqrt(max(epsilon,
//                   DBL_EPSILON)), parameter j moves by max(e^2, e |p_j|); the residuals at p are
//                   reused, so one Jacobian costs n evaluations
//   stepBound 100   initial step bound, as a factor of the scaled parameter norm
//   patience 100    at most patience * (n + 1) evaluations, counted as lmfit does: the first
//                   one, n per Jacobian, one per trial step; the limit is checked after a trial
//                   step
// The parameters are scaled automatically by the Jacobian column norms. A sum of squares at or
// below DBL_MIN ends the minimisation at once as a success. The step treats the Jacobian as
// rank-deficient only where a diagonal element of its pivoted QR factor R is exactly zero, as
// MINPACK does: ill-conditioned polynomial fits on raw ranges (0..1000, ADC counts) keep every
// parameter free.
class LevenbergMarquardt {
public:
  struct Settings {
    double ftol = 1e-8;
    double xtol = 1e-8;
    double gtol = 0.0;
    double epsilon = 1e-8;
    double stepBound = 100.0;
    int patience = 100;
  };

  LevenbergMarquardt() = default;
  explicit LevenbergMarquardt(const Settings& settings) : settings_(settings) {}

  // Minimises the sum of the m squared residuals over `parameters`, which hold the start on entry
  // and the final parameters afterwards, whatever the outcome. Throws std::bad_alloc only.
  LmStatus Run(std::size_t residualCount, std::span<double> parameters, LmResiduals& residuals);

  // Residual evaluations of the last Run.
  long Evaluations() const noexcept { return evaluations_; }
  // Euclidean norm of the residuals at the final parameters of the last Run.
  double ResidualNorm() const noexcept { return residualNorm_; }

private:
  Settings settings_;
  long evaluations_ = 0;
  double residualNorm_ = 0.0;
};

} // namespace ExtLib

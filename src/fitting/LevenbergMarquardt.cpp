#include "fitting/LevenbergMarquardt.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include <unsupported/Eigen/NonLinearOptimization>

namespace ExtLib {
namespace {

using Eigen::Index;
using Eigen::MatrixXd;
using Eigen::VectorXd;

// Adapts the residual callback to Eigen's functor protocol and supplies lmfit's difference
// Jacobian, which reaches a parameter whose solution is 0 far more closely than Eigen's own.
class JacobianFunctor {
public:
  JacobianFunctor(LmResiduals& residuals, Index m, Index n, double epsilon)
      : residuals_(residuals), m_(m), step_(std::sqrt(std::max(epsilon, DBL_EPSILON))), shifted_(n),
        work_(m) {}

  Index values() const { return m_; }

  int operator()(const VectorXd& p, VectorXd& r) {
    residuals_.Evaluate({p.data(), static_cast<std::size_t>(p.size())},
                        {r.data(), static_cast<std::size_t>(r.size())});
    return 0;
  }

  // Eigen calls this with p the current point, whose residuals it holds in `current`.
  int df(const VectorXd& p, MatrixXd& jacobian) {
    const Index n = p.size();
    shifted_ = p;
    for (Index j = 0; j < n; ++j) {
      const double h = std::max(step_ * step_, step_ * std::fabs(p[j]));
      shifted_[j] = p[j] + h;
      residuals_.Evaluate({shifted_.data(), static_cast<std::size_t>(n)},
                          {work_.data(), static_cast<std::size_t>(m_)});
      jacobian.col(j) = (work_ - *current) / h;
      shifted_[j] = p[j];
    }
    // The QR factorisation of a non-finite Jacobian yields nothing meaningful.
    if (!jacobian.allFinite())
      return -1;
    return static_cast<int>(n); // evaluations spent, added to Eigen's count
  }

  const VectorXd* current = nullptr;

private:
  LmResiduals& residuals_;
  Index m_;
  double step_;
  VectorXd shifted_;
  VectorXd work_;
};

LmStatus FromEigen(Eigen::LevenbergMarquardtSpace::Status s) {
  namespace S = Eigen::LevenbergMarquardtSpace;
  switch (s) {
  case S::RelativeReductionTooSmall:
    return LmStatus::ReductionConverged;
  case S::RelativeErrorTooSmall:
    return LmStatus::ParametersConverged;
  case S::RelativeErrorAndReductionTooSmall:
    return LmStatus::BothConverged;
  case S::CosinusTooSmall:
    return LmStatus::Orthogonal;
  case S::TooManyFunctionEvaluation:
    return LmStatus::EvaluationLimit;
  case S::FtolTooSmall:
    return LmStatus::FtolTooSmall;
  case S::XtolTooSmall:
    return LmStatus::XtolTooSmall;
  case S::GtolTooSmall:
    return LmStatus::GtolTooSmall;
  case S::UserAsked:
    return LmStatus::NotFinite; // the only reason the functor stops the minimiser
  default:
    return LmStatus::ImproperInput;
  }
}

} // namespace

LmStatus LevenbergMarquardt::Run(std::size_t residualCount, std::span<double> parameters,
                                 LmResiduals& residuals) {
  evaluations_ = 0;
  residualNorm_ = 0.0;
  const Index n = static_cast<Index>(parameters.size());
  const Index m = static_cast<Index>(residualCount);
  if (n <= 0 || m < n || settings_.patience <= 0)
    return LmStatus::ImproperInput;

  JacobianFunctor functor(residuals, m, n, settings_.epsilon);
  Eigen::LevenbergMarquardt<JacobianFunctor> lm(functor);
  lm.parameters.ftol = settings_.ftol;
  lm.parameters.xtol = settings_.xtol;
  lm.parameters.gtol = settings_.gtol;
  lm.parameters.factor = settings_.stepBound;
  lm.parameters.maxfev = static_cast<Index>(settings_.patience) * (n + 1);
  functor.current = &lm.fvec;

  VectorXd p = Eigen::Map<const VectorXd>(parameters.data(), n);
  auto finish = [&](LmStatus status) {
    std::copy(p.data(), p.data() + n, parameters.begin());
    evaluations_ = static_cast<long>(lm.nfev);
    residualNorm_ = lm.fnorm;
    return status;
  };
  const auto isZero = [&] { return lm.fnorm * lm.fnorm <= DBL_MIN; };

  auto status = lm.minimizeInit(p);
  if (status != Eigen::LevenbergMarquardtSpace::NotStarted)
    return finish(FromEigen(status));
  if (!lm.fvec.allFinite())
    return finish(LmStatus::NotFinite);
  // Checked before every step as lmfit does, so an exact fit stops without spending a Jacobian.
  while (!isZero()) {
    status = lm.minimizeOneStep(p);
    if (status != Eigen::LevenbergMarquardtSpace::Running)
      return finish(isZero() ? LmStatus::FoundZero : FromEigen(status));
  }
  return finish(LmStatus::FoundZero);
}

} // namespace ExtLib

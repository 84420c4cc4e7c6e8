#include "fitting/LevenbergMarquardt.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

#include <unsupported/Eigen/NonLinearOptimization>

namespace ExtLib {
namespace {

using Eigen::Index;
using Eigen::MatrixXd;
using Eigen::VectorXd;
using QrFactors = Eigen::ColPivHouseholderQR<MatrixXd>;

// The residual callback with lmfit's difference Jacobian, which reaches a parameter whose
// solution is 0 far more closely than a purely relative step.
class Problem {
public:
  Problem(LmResiduals& residuals, Index m, Index n, double epsilon)
      : residuals_(residuals), m_(m), step_(std::sqrt(std::max(epsilon, DBL_EPSILON))), shifted_(n),
        work_(m) {}

  void Evaluate(const VectorXd& p, VectorXd& r) {
    residuals_.Evaluate({p.data(), static_cast<std::size_t>(p.size())},
                        {r.data(), static_cast<std::size_t>(r.size())});
  }

  // `current` holds the residuals at p, so the Jacobian costs n evaluations. False when it is not
  // finite: its QR factorisation would mean nothing.
  bool Jacobian(const VectorXd& p, const VectorXd& current, MatrixXd& jacobian) {
    const Index n = p.size();
    shifted_ = p;
    for (Index j = 0; j < n; ++j) {
      const double h = std::max(step_ * step_, step_ * std::fabs(p[j]));
      shifted_[j] = p[j] + h;
      residuals_.Evaluate({shifted_.data(), static_cast<std::size_t>(n)},
                          {work_.data(), static_cast<std::size_t>(m_)});
      jacobian.col(j) = (work_ - current) / h;
      shifted_[j] = p[j];
    }
    return jacobian.allFinite();
  }

private:
  LmResiduals& residuals_;
  Index m_;
  double step_;
  VectorXd shifted_;
  VectorXd work_;
};

// MINPACK's rank of R: the columns before the first diagonal element that is exactly zero.
// ColPivHouseholderQR::rank() judges against a relative threshold and, even with the threshold
// set to zero, counts no further than nonzeroPivots(), itself a relative test (a cubic on raw ADC
// counts has pivots 1e-20 of the largest). Either drops the small but meaningful columns of an
// ill-conditioned polynomial fit and freezes their parameters.
Index LeadingNonzeroPivots(const QrFactors& qr) {
  const auto& r = qr.matrixQR();
  const Index n = r.cols();
  Index rank = 0;
  while (rank < n && r(rank, rank) != 0.0)
    ++rank;
  return rank;
}

// MINPACK lmpar: the Levenberg-Marquardt parameter `par` for which the scaled step x stays within
// delta. The arithmetic follows Eigen's lmpar2 step for step, so a full-rank problem takes the
// same path; only the rank differs.
void LmParameter(const QrFactors& qr, const VectorXd& diag, const VectorXd& qtb, double delta,
                 double& par, VectorXd& x) {
  const double dwarf = DBL_MIN;
  const Index n = qr.matrixQR().cols();
  const auto& r = qr.matrixQR();
  const auto& permutation = qr.colsPermutation();

  // The Gauss-Newton direction, a least-squares solution when the Jacobian is rank-deficient.
  const Index rank = LeadingNonzeroPivots(qr);
  VectorXd wa1 = qtb;
  wa1.tail(n - rank).setZero();
  r.topLeftCorner(rank, rank).triangularView<Eigen::Upper>().solveInPlace(wa1.head(rank));
  x = permutation * wa1;

  // Accept the Gauss-Newton direction when it lies within the bound.
  int iter = 0;
  VectorXd wa2 = diag.cwiseProduct(x);
  double dxnorm = wa2.blueNorm();
  double fp = dxnorm - delta;
  if (fp <= 0.1 * delta) {
    par = 0;
    return;
  }

  // At full rank the Newton step gives a lower bound for the zero of the function.
  double parl = 0.0;
  if (rank == n) {
    wa1 = permutation.inverse() * diag.cwiseProduct(wa2) / dxnorm;
    r.topLeftCorner(n, n).transpose().triangularView<Eigen::Lower>().solveInPlace(wa1);
    const double temp = wa1.blueNorm();
    parl = fp / delta / temp / temp;
  }

  // An upper bound.
  for (Index j = 0; j < n; ++j)
    wa1[j] = r.col(j).head(j + 1).dot(qtb.head(j + 1)) / diag[permutation.indices()(j)];
  const double gnorm = wa1.stableNorm();
  double paru = gnorm / delta;
  if (paru == 0.0)
    paru = dwarf / std::min(delta, 0.1);

  par = std::max(par, parl);
  par = std::min(par, paru);
  if (par == 0.0)
    par = gnorm / dxnorm;

  MatrixXd s = r;
  VectorXd sdiag(n);
  while (true) {
    ++iter;
    if (par == 0.0)
      par = std::max(dwarf, 0.001 * paru);
    wa1 = std::sqrt(par) * diag;
    Eigen::internal::qrsolv<double>(s, permutation.indices(), wa1, qtb, x, sdiag);

    wa2 = diag.cwiseProduct(x);
    dxnorm = wa2.blueNorm();
    const double previous = fp;
    fp = dxnorm - delta;
    if (std::fabs(fp) <= 0.1 * delta || (parl == 0.0 && fp <= previous && previous < 0.0) ||
        iter == 10)
      break;

    // Newton correction.
    wa1 = permutation.inverse() * diag.cwiseProduct(wa2 / dxnorm);
    for (Index j = 0; j < n; ++j) {
      wa1[j] /= sdiag[j];
      const double temp = wa1[j];
      for (Index i = j + 1; i < n; ++i)
        wa1[i] -= s(i, j) * temp;
    }
    const double temp = wa1.blueNorm();
    const double parc = fp / delta / temp / temp;
    if (fp > 0.0)
      parl = std::max(parl, par);
    if (fp < 0.0)
      paru = std::min(paru, par);
    par = std::max(parl, par + parc);
  }
  if (iter == 0)
    par = 0.0;
}

// MINPACK lmdif's outer iteration: one Jacobian, then trial steps until one reduces the sum of
// squares or a test ends the minimisation. The arithmetic is Eigen's minimizeOneStep with the
// parameter step above.
class Lmdif {
public:
  Lmdif(Problem& problem, const LevenbergMarquardt::Settings& settings, Index m, Index n)
      : problem_(problem), settings_(settings), maxEvaluations_(settings.patience * (n + 1)),
        fvec_(m), fjac_(m, n), diag_(n), wa4_(m) {}

  // Evaluates the start; false when its residuals are not finite.
  bool Start(const VectorXd& x) {
    evaluations_ = 1;
    problem_.Evaluate(x, fvec_);
    fnorm_ = fvec_.stableNorm();
    par_ = 0.0;
    iter_ = 1;
    return fvec_.allFinite();
  }

  // One Jacobian and its trial steps; no value while the minimisation goes on.
  std::optional<LmStatus> Step(VectorXd& x);

  long Evaluations() const { return static_cast<long>(evaluations_); }
  double ResidualNorm() const { return fnorm_; }

private:
  Problem& problem_;
  const LevenbergMarquardt::Settings& settings_;
  Index maxEvaluations_;
  Index evaluations_ = 0;
  Index iter_ = 0;
  VectorXd fvec_;
  MatrixXd fjac_;
  VectorXd diag_;
  VectorXd wa4_;
  double fnorm_ = 0.0;
  double par_ = 0.0;
  double delta_ = 0.0;
  double xnorm_ = 0.0;
};

std::optional<LmStatus> Lmdif::Step(VectorXd& x) {
  const Index n = x.size();
  const double epsilon = DBL_EPSILON;
  if (!problem_.Jacobian(x, fvec_, fjac_))
    return LmStatus::NotFinite;
  evaluations_ += n;

  VectorXd wa2 = fjac_.colwise().blueNorm().transpose();
  const QrFactors qr(fjac_);
  const MatrixXd& r = qr.matrixQR();
  const auto& permutation = qr.colsPermutation();

  // Scale by the column norms of the first Jacobian; the step bound starts at stepBound times the
  // scaled parameter norm.
  if (iter_ == 1) {
    for (Index j = 0; j < n; ++j)
      diag_[j] = wa2[j] == 0.0 ? 1.0 : wa2[j];
    xnorm_ = diag_.cwiseProduct(x).stableNorm();
    delta_ = settings_.stepBound * xnorm_;
    if (delta_ == 0.0)
      delta_ = settings_.stepBound;
  }

  wa4_ = fvec_;
  wa4_.applyOnTheLeft(qr.householderQ().adjoint());
  const VectorXd qtf = wa4_.head(n);

  // The scaled gradient's norm: the cosine between the residuals and the Jacobian's columns.
  double gnorm = 0.0;
  if (fnorm_ != 0.0) {
    for (Index j = 0; j < n; ++j) {
      const double norm = wa2[permutation.indices()[j]];
      if (norm != 0.0)
        gnorm =
            std::max(gnorm, std::fabs(r.col(j).head(j + 1).dot(qtf.head(j + 1) / fnorm_) / norm));
    }
  }
  if (gnorm <= settings_.gtol)
    return LmStatus::Orthogonal;

  diag_ = diag_.cwiseMax(wa2);

  VectorXd wa1(n);
  double ratio = 0.0;
  do {
    LmParameter(qr, diag_, qtf, delta_, par_, wa1);

    wa1 = -wa1;
    wa2 = x + wa1;
    const double pnorm = diag_.cwiseProduct(wa1).stableNorm();
    if (iter_ == 1)
      delta_ = std::min(delta_, pnorm);

    problem_.Evaluate(wa2, wa4_);
    ++evaluations_;
    const double fnorm1 = wa4_.stableNorm();

    // Actual and predicted reduction, scaled, and the directional derivative.
    double actred = -1.0;
    if (0.1 * fnorm1 < fnorm_)
      actred = 1.0 - Eigen::numext::abs2(fnorm1 / fnorm_);
    const VectorXd wa3 = r.triangularView<Eigen::Upper>() * (permutation.inverse() * wa1);
    const double temp1 = Eigen::numext::abs2(wa3.stableNorm() / fnorm_);
    const double temp2 = Eigen::numext::abs2(std::sqrt(par_) * pnorm / fnorm_);
    const double prered = temp1 + temp2 / 0.5;
    const double dirder = -(temp1 + temp2);
    ratio = prered != 0.0 ? actred / prered : 0.0;

    // Update the step bound.
    if (ratio <= 0.25) {
      double temp = actred >= 0.0 ? 0.5 : 0.5 * dirder / (dirder + 0.5 * actred);
      if (0.1 * fnorm1 >= fnorm_ || temp < 0.1)
        temp = 0.1;
      delta_ = temp * std::min(delta_, pnorm / 0.1);
      par_ /= temp;
    } else if (!(par_ != 0.0 && ratio < 0.75)) {
      delta_ = pnorm / 0.5;
      par_ = 0.5 * par_;
    }

    if (ratio >= 1e-4) {
      x = wa2;
      wa2 = diag_.cwiseProduct(x);
      fvec_ = wa4_;
      xnorm_ = wa2.stableNorm();
      fnorm_ = fnorm1;
      ++iter_;
    }

    const bool reductionConverged =
        std::fabs(actred) <= settings_.ftol && prered <= settings_.ftol && 0.5 * ratio <= 1.0;
    const bool parametersConverged = delta_ <= settings_.xtol * xnorm_;
    if (reductionConverged && parametersConverged)
      return LmStatus::BothConverged;
    if (reductionConverged)
      return LmStatus::ReductionConverged;
    if (parametersConverged)
      return LmStatus::ParametersConverged;

    if (evaluations_ >= maxEvaluations_)
      return LmStatus::EvaluationLimit;
    if (std::fabs(actred) <= epsilon && prered <= epsilon && 0.5 * ratio <= 1.0)
      return LmStatus::FtolTooSmall;
    if (delta_ <= epsilon * xnorm_)
      return LmStatus::XtolTooSmall;
    if (gnorm <= epsilon)
      return LmStatus::GtolTooSmall;
  } while (ratio < 1e-4);
  return std::nullopt;
}

} // namespace

LmStatus LevenbergMarquardt::Run(std::size_t residualCount, std::span<double> parameters,
                                 LmResiduals& residuals) {
  evaluations_ = 0;
  residualNorm_ = 0.0;
  const Index n = static_cast<Index>(parameters.size());
  const Index m = static_cast<Index>(residualCount);
  if (n <= 0 || m < n || settings_.patience <= 0 || settings_.ftol < 0.0 || settings_.xtol < 0.0 ||
      settings_.gtol < 0.0 || settings_.stepBound <= 0.0)
    return LmStatus::ImproperInput;

  Problem problem(residuals, m, n, settings_.epsilon);
  Lmdif lmdif(problem, settings_, m, n);
  VectorXd p = Eigen::Map<const VectorXd>(parameters.data(), n);
  auto finish = [&](LmStatus status) {
    std::copy(p.data(), p.data() + n, parameters.begin());
    evaluations_ = lmdif.Evaluations();
    residualNorm_ = lmdif.ResidualNorm();
    return status;
  };
  // Checked before every step as lmfit does, so an exact fit stops without spending a Jacobian.
  const auto isZero = [&] { return lmdif.ResidualNorm() * lmdif.ResidualNorm() <= DBL_MIN; };

  if (!lmdif.Start(p))
    return finish(LmStatus::NotFinite);
  while (!isZero()) {
    if (const std::optional<LmStatus> status = lmdif.Step(p))
      return finish(isZero() ? LmStatus::FoundZero : *status);
  }
  return finish(LmStatus::FoundZero);
}

} // namespace ExtLib

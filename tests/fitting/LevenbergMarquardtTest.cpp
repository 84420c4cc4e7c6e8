#include "fitting/LevenbergMarquardt.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace ExtLib {
namespace {

// Residuals y - f(x; p) of a lambda model over fixed points, counting the calls.
class LambdaResiduals final : public LmResiduals {
public:
  using Model = std::function<double(double, std::span<const double>)>;
  LambdaResiduals(std::vector<double> x, std::vector<double> y, Model model)
      : x_(std::move(x)), y_(std::move(y)), model_(std::move(model)) {}

  void Evaluate(std::span<const double> p, std::span<double> r) override {
    ++calls;
    for (std::size_t i = 0; i < r.size(); ++i)
      r[i] = y_[i] - model_(x_[i], p);
  }

  std::size_t size() const { return x_.size(); }
  int calls = 0;

private:
  std::vector<double> x_, y_;
  Model model_;
};

double Quadratic(double x, std::span<const double> p) {
  return p[0] + p[1] * x + p[2] * x * x;
}

TEST(LevenbergMarquardt, ParabolaFromTheDownwardGuessIsExactToMachinePrecision) {
  LambdaResiduals residuals({0, 1, 2, 3}, {1, 2, 5, 10}, Quadratic);
  std::vector<double> p{0.0, 0.0, -1.0};
  LevenbergMarquardt lm;
  const LmStatus status = lm.Run(residuals.size(), p, residuals);
  EXPECT_TRUE(IsSuccess(status)) << static_cast<int>(status);
  EXPECT_NEAR(p[0], 1.0, 1e-12);
  EXPECT_NEAR(p[1], 0.0, 1e-12);
  EXPECT_NEAR(p[2], 1.0, 1e-12);
  EXPECT_EQ(lm.Evaluations(), residuals.calls);
}

TEST(LevenbergMarquardt, ExactStartEndsAtOnceWithOneEvaluation) {
  LambdaResiduals residuals({0, 1, 2}, {1, 2, 5}, Quadratic);
  std::vector<double> p{1.0, 0.0, 1.0};
  LevenbergMarquardt lm;
  EXPECT_EQ(lm.Run(residuals.size(), p, residuals), LmStatus::FoundZero);
  EXPECT_EQ(residuals.calls, 1);
  EXPECT_EQ(p, (std::vector<double>{1.0, 0.0, 1.0}));
}

TEST(LevenbergMarquardt, EvaluationsFollowTheBudgetAndCountingRule) {
  // No parameter reaches this model: every Jacobian column is zero, so the gradient test stops it
  // after the first evaluation and one Jacobian (n evaluations).
  LambdaResiduals residuals({0, 1, 2}, {1, 1, 1},
                            [](double, std::span<const double>) { return 0.0; });
  std::vector<double> p{0.5, 0.5};
  LevenbergMarquardt lm;
  EXPECT_EQ(lm.Run(residuals.size(), p, residuals), LmStatus::Orthogonal);
  EXPECT_EQ(lm.Evaluations(), 1 + 2);
  EXPECT_EQ(residuals.calls, 3);
}

TEST(LevenbergMarquardt, ExhaustedBudgetFails) {
  LevenbergMarquardt::Settings settings;
  settings.patience = 1; // 1 * (n + 1) = 3 evaluations: the first, one Jacobian, no room left
  LambdaResiduals residuals({0, 1, 2, 3}, {1, 3, 2, 5}, [](double x, std::span<const double> p) {
    return p[1] * std::exp(p[0] * x);
  });
  std::vector<double> p{1.0, 1.0};
  LevenbergMarquardt lm(settings);
  EXPECT_EQ(lm.Run(residuals.size(), p, residuals), LmStatus::EvaluationLimit);
  EXPECT_EQ(lm.Evaluations(), 4); // checked only after the trial step
}

TEST(LevenbergMarquardt, ImproperAndNonFiniteInputFail) {
  const auto line = [](double x, std::span<const double> p) { return p[0] + p[1] * x; };
  struct Case {
    const char* name;
    std::vector<double> x, y, p;
    LmStatus expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"fewer points than parameters", {1}, {1}, {0, 0}, LmStatus::ImproperInput},
      {"no parameters", {1, 2}, {1, 2}, {}, LmStatus::ImproperInput},
      {"NaN point", {1, 2, 3}, {1, nan, 3}, {0, 0}, LmStatus::NotFinite},
      {"infinite start", {1, 2, 3}, {1, 2, 3}, {INFINITY, 0}, LmStatus::NotFinite},
  };
  for (const Case& c : cases) {
    LambdaResiduals residuals(c.x, c.y, line);
    std::vector<double> p = c.p;
    LevenbergMarquardt lm;
    const LmStatus status = lm.Run(residuals.size(), p, residuals);
    EXPECT_EQ(status, c.expected) << c.name;
    EXPECT_FALSE(IsSuccess(status)) << c.name;
  }
}

TEST(LevenbergMarquardt, ParameterWhoseSolutionIsZeroLandsOnZero) {
  // y = x^2 + 1: the linear coefficient's solution is 0. The difference Jacobian's absolute floor
  // (eps^2) lets it get far closer than a purely relative step would.
  LambdaResiduals residuals({0, 1, 2, 3, 4}, {1, 2, 5, 10, 17}, Quadratic);
  std::vector<double> p{0.0, 0.0, -1.0};
  LevenbergMarquardt lm;
  EXPECT_TRUE(IsSuccess(lm.Run(residuals.size(), p, residuals)));
  EXPECT_LT(std::fabs(p[1]), 1e-12);
  EXPECT_LE(lm.Evaluations(), 100 * 4);
}

TEST(LevenbergMarquardt, ExactlySingularColumnKeepsItsParameterAndSolvesTheRest) {
  // p[2] does not enter the model: its Jacobian column and R's last pivot are exactly zero, the
  // only case in which the step treats the Jacobian as rank-deficient.
  LambdaResiduals residuals({0, 1, 2, 3}, {1, 3, 5, 7},
                            [](double x, std::span<const double> p) { return p[0] + p[1] * x; });
  std::vector<double> p{0.0, 0.0, 0.25};
  LevenbergMarquardt lm;
  EXPECT_TRUE(IsSuccess(lm.Run(residuals.size(), p, residuals)));
  EXPECT_NEAR(p[0], 1.0, 1e-12);
  EXPECT_NEAR(p[1], 2.0, 1e-12);
  EXPECT_EQ(p[2], 0.25);
}

} // namespace
} // namespace ExtLib

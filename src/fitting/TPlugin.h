#pragma once
#include <algorithm>
#include <vector>

#include "fitting/FunctionBase.h"
#include "fitting/LevenbergMarquardt.h"

namespace ExtLib {

// The residuals the minimiser reduces: r[i] = y[i] - f(x[i]; p). Refers to the points and the
// function, owning none of them; lives for one minimisation.
class TPlugin final : public LmResiduals {
public:
  TPlugin(const FunctionBase& function, const std::vector<double>& x, const std::vector<double>& y)
      : function_(function), x_(x), y_(y),
        parameters_(static_cast<std::size_t>(function.ParameterCount())) {}

  void Evaluate(std::span<const double> p, std::span<double> r) override {
    // The function reads a vector of exactly ParameterCount elements.
    std::copy_n(p.begin(), std::min(p.size(), parameters_.size()), parameters_.begin());
    for (std::size_t i = 0; i < r.size(); ++i)
      r[i] = y_[i] - function_.Evaluate(x_[i], parameters_);
  }

private:
  const FunctionBase& function_;
  const std::vector<double>& x_;
  const std::vector<double>& y_;
  std::vector<double> parameters_;
};

} // namespace ExtLib

#pragma once
#include <vector>

#include "fitting/FunctionBase.h"

namespace ExtLib {

// p0 + p1 ln(x); 0 for x below 1e-9, where the logarithm is not usable.
class LogFunc final : public FunctionBase {
public:
  int ParameterCount() const override { return 2; }
  void InitialGuess(const std::vector<double>& x, const std::vector<double>& y,
                    std::vector<double>& parameters) const override;
  double Evaluate(double x, const std::vector<double>& p) const override;
  void Gradient(double x, const std::vector<double>& p, std::vector<double>& g) const override;
};

} // namespace ExtLib

#pragma once
#include <vector>

namespace ExtLib {

// A model that the iterative fitter adjusts: y = f(x; p). The parameter vector has the layout of
// the coefficient vector of the fit type it serves, so the fitter stores the final parameters as
// the coefficients unchanged.
class FunctionBase {
public:
  FunctionBase() = default;
  FunctionBase(const FunctionBase&) = default;
  FunctionBase& operator=(const FunctionBase&) = default;

  virtual int ParameterCount() const = 0;
  // `parameters` is already sized to ParameterCount(); every element is written.
  virtual void InitialGuess(const std::vector<double>& x, const std::vector<double>& y,
                            std::vector<double>& parameters) const = 0;
  virtual double Evaluate(double x, const std::vector<double>& parameters) const = 0;
  // `gradient` is already sized to ParameterCount(); element k is the derivative by p[k].
  virtual void Gradient(double x, const std::vector<double>& parameters,
                        std::vector<double>& gradient) const = 0;
  virtual ~FunctionBase() = default;
};

} // namespace ExtLib

#pragma once
#include <cstddef>
#include <vector>

#include "fitting/FunctionBase.h"

namespace ExtLib {

// p0 + p1 x + ... + pN x^N for the polynomial fits of order 2 to 5. With forceOrigin the constant
// term is left out of the model; the parameter stays in the vector (and keeps its start value 0)
// so the vector is still the coefficient layout.
template <int N> class PolynomialFunc final : public FunctionBase {
  static_assert(N >= 2 && N <= 5, "polynomial fits are of order 2 to 5");

public:
  explicit PolynomialFunc(bool forceOrigin = false) : forceOrigin(forceOrigin) {}

  int ParameterCount() const override { return N + 1; }

  void InitialGuess(const std::vector<double>&, const std::vector<double>&,
                    std::vector<double>& parameters) const override {
    for (int k = 0; k < N; ++k)
      parameters[k] = 0.0;
    parameters[N] = -1.0;
  }

  double Evaluate(double x, const std::vector<double>& p) const override {
    double y = forceOrigin ? 0.0 : p[0];
    double power = 1.0;
    for (int k = 1; k <= N; ++k) {
      power *= x;
      y += p[k] * power;
    }
    return y;
  }

  // The constant's derivative is 1 even with forceOrigin: the statistics see the same normal
  // matrix either way.
  void Gradient(double x, const std::vector<double>&, std::vector<double>& g) const override {
    double power = 1.0;
    g[0] = 1.0;
    for (int k = 1; k <= N; ++k) {
      power *= x;
      g[k] = power;
    }
  }

  bool forceOrigin;
};

} // namespace ExtLib

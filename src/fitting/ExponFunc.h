#pragma once
#include <vector>

#include "fitting/FunctionBase.h"

namespace ExtLib {

// A exp(p0 x) with A = p1, or A = `amplitude` held fixed. Parameters: rate first, amplitude
// second.
class ExponFunc final : public FunctionBase {
public:
  ExponFunc() = default;
  ExponFunc(bool fixAmplitude, double amplitude)
      : fixAmplitude(fixAmplitude), amplitude(amplitude) {}

  int ParameterCount() const override { return 2; }
  // The rate through the non-negative points of smallest and largest x; (1, 1) when there is no
  // such pair.
  void InitialGuess(const std::vector<double>& x, const std::vector<double>& y,
                    std::vector<double>& parameters) const override;
  double Evaluate(double x, const std::vector<double>& p) const override;
  // Uses p1 even when the amplitude is fixed.
  void Gradient(double x, const std::vector<double>& p, std::vector<double>& g) const override;

  bool fixAmplitude = false;
  double amplitude = 0.0;
};

} // namespace ExtLib

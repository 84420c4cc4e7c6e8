#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace MPCalibration {

// Turns blocks of raw samples into calibrated samples, in place, for the channel enumerator.
// Every sample is widened to double, evaluated in double precision and narrowed back, with the
// operations and their order of the fit evaluation, so the results are those of EvaluateFit on
// the widened block, bit for bit. The enumerator's own rules differ from EvaluateFit in one
// place: a fit type outside 0..7 is evaluated as the polynomial over all coefficients.
//
// Everything that depends only on the fit (the kind of evaluation, the point-to-point segment
// lines and search keys) is prepared once by the constructor; Apply keeps no state, so one
// calibrator may serve any number of blocks and be copied freely.
class BlockCalibrator {
public:
  // The identity line y = x (a linear fit with coefficients {0, 1}).
  BlockCalibrator();
  BlockCalibrator(std::int32_t fitType, std::vector<double> coefficients);

  void Apply(float* values, std::size_t count) const noexcept;

  std::int32_t FitType() const noexcept { return fitType_; }
  const std::vector<double>& Coefficients() const noexcept { return coefficients_; }

private:
  enum class Kernel : std::uint8_t {
    PassThrough,
    Polynomial,
    Logarithm,
    Exponential,
    PointToPoint
  };

  void PreparePointToPoint();
  void ApplyPolynomial(float* values, std::size_t count) const noexcept;
  void ApplyPointToPoint(float* values, std::size_t count) const noexcept;

  std::int32_t fitType_ = 0;
  std::vector<double> coefficients_;
  Kernel kernel_ = Kernel::PassThrough;

  // Point to point: the line of segment i is x * factors_[i] + offsets_[i]. A value belongs to
  // the segment numbered by how many inner break points (x1 .. x(m-2)) lie at or below it.
  std::vector<double> factors_;
  std::vector<double> offsets_;
  std::vector<double> breakPoints_;
  // For ascending break points: the same count by a branch-free binary search over
  // searchKeys_, the break points padded with NaN (never at or below anything) to 2^searchSteps_
  // - 1.
  bool ascending_ = true;
  std::vector<double> searchKeys_;
  int searchSteps_ = 0;
};

} // namespace MPCalibration

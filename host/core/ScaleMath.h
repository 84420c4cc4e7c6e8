#pragma once
#include <string>
#include <vector>

namespace Vela {

// The arithmetic of one scale axis: a range of values laid along `length` pixels, mapped by
// pixel = (value + offset) * factor relative to the axis' start end (the top of a vertical axis,
// where the high value lies; the left of a horizontal one, where the low value lies). Every
// change is checked first and refused as a whole, so the factor is always finite and non-zero.
class ScaleMath {
public:
  enum class Orientation { Vertical, Horizontal };

  struct Transform {
    double factor;
    double offset;
  };

  ScaleMath(Orientation orientation, int length) noexcept;

  // Whether (high, low) may be a range: both finite, high above low, a finite span that is not
  // lost in the ends' own precision.
  static bool IsValidRange(double high, double low) noexcept;
  // The spacing of ticks for `span` over `length` pixels: the smallest 1, 2 or 5 times a power
  // of ten that keeps neighbouring ticks at least `minSpacing` pixels apart; 0 when none fits.
  static double TickStep(double span, int length, int minSpacing) noexcept;
  // The shortest text that tells a tick at `value` from its neighbours `step` away, with
  // `decimalPoint` between the whole and fractional digits.
  static std::wstring LabelText(double value, double step, double largestMagnitude,
                                wchar_t decimalPoint);

  Orientation orientation() const noexcept { return orientation_; }
  double high() const noexcept { return high_; }
  double low() const noexcept { return low_; }
  int length() const noexcept { return length_; }

  // Refused (false, nothing changed) when the range is not valid or would give no usable map.
  bool SetRange(double high, double low) noexcept;
  // Lengths are taken between one pixel and kMaximumLength.
  void SetLength(int length) noexcept;
  static constexpr int kMaximumLength = 1 << 20;

  Transform GetTransform() const noexcept;
  double ValueToPixel(double value) const noexcept;
  double PixelToValue(double pixel) const noexcept;

  // Moves the values by `delta` pixels along the axis (positive: down or right), so that the
  // value under a dragged point follows it.
  bool Pan(int delta) noexcept;
  // Drags the end at the axis' start (`atStart`, top or left) or the other one from pixel `from`
  // to pixel `to`, the opposite end fixed: the value grabbed at `from` lies at `to` afterwards.
  // A drag that reaches the fixed end stops `kMinimumStretch` pixels before it.
  bool Stretch(bool atStart, int from, int to) noexcept;
  static constexpr int kMinimumStretch = 4;

  // Tick values from the low end to the high end at `step` (at most kMaximumTicks).
  std::vector<double> Ticks(double step) const;
  static constexpr int kMaximumTicks = 1000;

private:
  // The map's position measured from the low end (0) to the high end (length).
  double FromLow(double pixel) const noexcept;

  Orientation orientation_;
  int length_;
  double high_ = 1.0;
  double low_ = 0.0;
};

} // namespace Vela

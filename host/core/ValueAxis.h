#pragma once

namespace Vela {

// The vertical mapping of one channel band: the values `bottom` to `top` onto the pixel rows
// `yBottom` to `yTop` (screen rows grow downwards, so yTop < yBottom). A range that is empty or
// not finite is widened to a usable one, so that no trace divides by zero.
class ValueAxis {
public:
  ValueAxis(double bottom, double top, int yBottom, int yTop);

  // A display range around the values from `minimum` to `maximum`, with a margin above and below;
  // a flat signal gets a span around its value, NaN limits the range -1 to 1.
  static ValueAxis Around(double minimum, double maximum, int yBottom, int yTop);

  double Bottom() const noexcept { return bottom_; }
  double Top() const noexcept { return top_; }
  // The pixel row of `value`, not clamped (drawing clips).
  double Y(double value) const noexcept;

private:
  double bottom_;
  double top_;
  int yBottom_;
  int yTop_;
};

} // namespace Vela

#pragma once

namespace GUILib {

// A two-point linear map: the from-range [fromLow, fromHigh] onto the to-range [toLow, toHigh],
// value -> value * Factor() + Offset(). Both are recomputed whenever a range is set. Starts as
// the identity (0..1 onto 0..1).
class Graticule {
public:
  // Refused (false, nothing changes) unless low < high: an empty or reversed range has no map.
  bool SetFromRange(double low, double high) noexcept;
  void SetToRange(double low, double high) noexcept;

  double Map(double value) const noexcept { return value * factor_ + offset_; }
  double Factor() const noexcept { return factor_; }
  double Offset() const noexcept { return offset_; }

  double FromLow() const noexcept { return fromLow_; }
  double FromHigh() const noexcept { return fromHigh_; }
  double ToLow() const noexcept { return toLow_; }
  double ToHigh() const noexcept { return toHigh_; }

private:
  void Recompute() noexcept;

  double fromLow_ = 0.0;
  double fromHigh_ = 1.0;
  double toLow_ = 0.0;
  double toHigh_ = 1.0;
  double factor_ = 1.0;
  double offset_ = 0.0;
};

} // namespace GUILib

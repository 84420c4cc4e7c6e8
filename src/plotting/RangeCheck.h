#pragma once

#include "plotting/PlotGeometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace GUILib {

// The host's string resources for a range the scale cannot show.
inline constexpr std::uint32_t kRangeOutsideLimitsMessage = 22000; // upper, then lower limit
inline constexpr std::uint32_t kRangeTooNarrowMessage = 22001;     // the smallest width

enum class RangeStatus { Valid = 0, OutsideLimits = 1, TooNarrow = 2 };

struct RangeCheckResult {
  RangeStatus status = RangeStatus::Valid;
  // 0 when valid; else the host string to show with values inserted at its placeholders.
  std::uint32_t messageId = 0;
  std::array<double, 2> values{};
  std::size_t valueCount = 0;
  bool Valid() const noexcept { return status == RangeStatus::Valid; }
};

// Checks a range (high end, low end) against a scale's limits and repairs both ends in place:
// non-finite ends are replaced by the limits, the ends are clamped into them, and ends too close
// together (for their size, or for a float) are spread about their midpoint.
RangeCheckResult CheckRange(double& high, double& low, double lowerLimit,
                            double upperLimit) noexcept;

enum class ScaleAxis { Horizontal, Vertical };

struct RangeProblem {
  ScaleAxis axis;
  RangeCheckResult check;
};

// The Set Scales dialog's OK: both typed ranges are checked (horizontal first), each problem is
// reported, and only when both are valid are the ranges set, horizontal then vertical. The
// dialog may close only when both scales accepted; the repaired values are not set.
struct TypedRangesOutcome {
  std::vector<RangeProblem> problems;
  bool accepted = false;
};
TypedRangesOutcome ApplyTypedRanges(AxisScale& horizontal, AxisScale& vertical,
                                    AxisRange typedHorizontal, AxisRange typedVertical);

} // namespace GUILib

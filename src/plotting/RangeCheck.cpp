#include "plotting/RangeCheck.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace GUILib {

namespace {

constexpr double kSmallestMagnitude = 1e-35;
// 10^5 times the double epsilon: the narrowest width relative to the ends' size.
constexpr double kRelativeWidth = 2.220446049250313e-11;
// The smallest normal float.
constexpr double kSmallestWidth = 1.1754943508222875e-38;

void SpreadAboutMidpoint(double& high, double& low, double width) noexcept {
  const double middle = high / 2 + low / 2;
  if (high >= low) {
    high = middle + width / 2;
    low = middle - width / 2;
  } else {
    high = middle - width / 2;
    low = middle + width / 2;
  }
}

} // namespace

RangeCheckResult CheckRange(double& high, double& low, double lowerLimit,
                            double upperLimit) noexcept {
  const double givenHigh = high;
  const double givenLow = low;
  int status = 0;
  bool replaced = false;

  if (!std::isfinite(high)) {
    high = high < low ? lowerLimit : upperLimit;
    replaced = true;
  }
  if (!std::isfinite(low)) {
    low = low > high ? upperLimit : lowerLimit;
    replaced = true;
  }
  if (replaced && high == low) {
    high = upperLimit;
    low = lowerLimit;
  }

  high = std::clamp(high, lowerLimit, upperLimit);
  low = std::clamp(low, lowerLimit, upperLimit);
  // A replaced non-finite end never equals what was given (NaN equals nothing).
  if (replaced || high != givenHigh || low != givenLow)
    status = 1;

  double magnitude = std::max(std::fabs(high), std::fabs(low));
  if (magnitude < kSmallestMagnitude) {
    high = high >= 0 ? kSmallestMagnitude : -kSmallestMagnitude;
    low = -high;
    magnitude = kSmallestMagnitude;
    status = status == 1 ? 1 : 2;
  }

  const double width = magnitude * kRelativeWidth;
  if (std::fabs(high - low) / magnitude < kRelativeWidth) {
    SpreadAboutMidpoint(high, low, width);
    if (status != 1)
      status = 2;
  }

  if (std::fabs(high - low) <= kSmallestWidth) {
    SpreadAboutMidpoint(high, low, kSmallestWidth);
    if (status == 0)
      status = 2;
  }

  RangeCheckResult result;
  result.status = static_cast<RangeStatus>(status);
  if (status == 1) {
    result.messageId = kRangeOutsideLimitsMessage;
    result.values = {upperLimit, lowerLimit};
    result.valueCount = 2;
  } else if (status == 2) {
    result.messageId = kRangeTooNarrowMessage;
    result.values = {width, 0.0};
    result.valueCount = 1;
  }
  return result;
}

TypedRangesOutcome ApplyTypedRanges(AxisScale& horizontal, AxisScale& vertical,
                                    AxisRange typedHorizontal, AxisRange typedVertical) {
  TypedRangesOutcome outcome;
  const std::optional<AxisRange> hLimits = horizontal.Limits();
  const std::optional<AxisRange> vLimits = vertical.Limits();
  if (!hLimits || !vLimits)
    return outcome;
  bool valid = true;
  const std::pair<ScaleAxis, std::pair<AxisRange, AxisRange>> checks[] = {
      {ScaleAxis::Horizontal, {typedHorizontal, *hLimits}},
      {ScaleAxis::Vertical, {typedVertical, *vLimits}}};
  for (const auto& [axis, rangeAndLimits] : checks) {
    AxisRange repaired = rangeAndLimits.first;
    const RangeCheckResult check = CheckRange(
        repaired.high, repaired.low, rangeAndLimits.second.low, rangeAndLimits.second.high);
    if (!check.Valid()) {
      outcome.problems.push_back({axis, check});
      valid = false;
    }
  }
  if (!valid)
    return outcome;
  if (horizontal.SetRange(typedHorizontal) < 0 || vertical.SetRange(typedVertical) < 0)
    return outcome;
  outcome.accepted = true;
  return outcome;
}

} // namespace GUILib

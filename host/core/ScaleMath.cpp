#include "ScaleMath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace Vela {
namespace {

// Below this share of the ends' magnitude the span has too few significant digits for labels.
constexpr double kRelativeSpanLimit = 1e-12;

// The power of ten of a 1-2-5 step.
int StepExponent(double step) noexcept {
  return static_cast<int>(std::floor(std::log10(step) + 1e-9));
}

std::string Printed(const char* format, int decimals, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, decimals, value);
  return text;
}

// Checked at the longest axis, so that no later length makes the factor overflow.
bool IsUsableMap(double span) noexcept {
  const double factor = ScaleMath::kMaximumLength / span;
  return std::isfinite(factor) && factor != 0.0 && std::isfinite(1.0 / factor);
}

} // namespace

ScaleMath::ScaleMath(Orientation orientation, int length) noexcept
    : orientation_(orientation), length_(std::clamp(length, 1, kMaximumLength)) {}

bool ScaleMath::IsValidRange(double high, double low) noexcept {
  if (!std::isfinite(high) || !std::isfinite(low) || !(high > low))
    return false;
  const double span = high - low;
  if (!std::isfinite(span))
    return false;
  const double magnitude = std::max(std::fabs(high), std::fabs(low));
  return span > magnitude * kRelativeSpanLimit && span >= std::numeric_limits<double>::min();
}

double ScaleMath::TickStep(double span, int length, int minSpacing) noexcept {
  if (!(span > 0.0) || !std::isfinite(span) || length <= 0)
    return 0.0;
  const double least = span * std::max(minSpacing, 1) / length;
  if (!std::isfinite(least) || least <= 0.0)
    return 0.0;
  const double power = std::pow(10.0, std::floor(std::log10(least)));
  for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
    const double step = multiple * power;
    // The tolerance keeps a span that divides exactly (10 over 10 ticks) on its own step.
    if (step >= least * (1.0 - 1e-9))
      return std::isfinite(step) ? step : 0.0;
  }
  return 0.0;
}

std::wstring ScaleMath::LabelText(double value, double step, double largestMagnitude,
                                  wchar_t decimalPoint) {
  if (!(step > 0.0) || !std::isfinite(value))
    return {};
  const int stepExponent = StepExponent(step);
  // A tick within a thousandth of a step of zero is zero (its sum only missed it by rounding).
  if (std::fabs(value) < step * 1e-3)
    return L"0";
  // One notation for the whole axis: the shorter for its largest value, fixed on a tie.
  const auto fixed = [&](double v) { return Printed("%.*f", std::max(0, -stepExponent), v); };
  const auto scientific = [&](double v) {
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    return Printed("%.*e", std::clamp(exponent - stepExponent, 0, 16), v);
  };
  const bool fixedFits = largestMagnitude < 1e15 && stepExponent >= -15;
  const double reference = std::max(largestMagnitude, std::fabs(value));
  const bool useFixed = fixedFits && fixed(reference).size() <= scientific(reference).size();
  std::string digits = useFixed ? fixed(value) : scientific(value);
  // Trailing zeros of the fraction tell nothing ("2.50" reads "2.5", "2.0e12" reads "2e12").
  const auto exponentAt = std::min(digits.find('e'), digits.size());
  std::string mantissa = digits.substr(0, exponentAt);
  if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.')
      mantissa.pop_back();
  }
  digits = mantissa + digits.substr(exponentAt);
  std::wstring result;
  for (const char* c = digits.c_str(); *c; ++c) {
    if (*c == '.') {
      result += decimalPoint;
    } else if (*c == 'e') {
      // "1.5e-09" reads "1.5e-9", "2e+12" reads "2e12".
      result += L'e';
      const char* power = c + 1;
      if (*power == '-')
        result += L'-';
      if (*power == '-' || *power == '+')
        ++power;
      while (*power == '0' && power[1])
        ++power;
      for (; *power; ++power)
        result += static_cast<wchar_t>(*power);
      break;
    } else {
      result += static_cast<wchar_t>(*c);
    }
  }
  return result;
}

bool ScaleMath::SetRange(double high, double low) noexcept {
  if (!IsValidRange(high, low) || !IsUsableMap(high - low))
    return false;
  high_ = high;
  low_ = low;
  return true;
}

void ScaleMath::SetLength(int length) noexcept {
  length_ = std::clamp(length, 1, kMaximumLength);
}

ScaleMath::Transform ScaleMath::GetTransform() const noexcept {
  const double span = high_ - low_;
  if (orientation_ == Orientation::Vertical)
    return {-length_ / span, -high_};
  return {length_ / span, -low_};
}

double ScaleMath::ValueToPixel(double value) const noexcept {
  const Transform t = GetTransform();
  return (value + t.offset) * t.factor;
}

double ScaleMath::PixelToValue(double pixel) const noexcept {
  const Transform t = GetTransform();
  return pixel / t.factor - t.offset;
}

double ScaleMath::FromLow(double pixel) const noexcept {
  return orientation_ == Orientation::Vertical ? length_ - pixel : pixel;
}

bool ScaleMath::Pan(int delta) noexcept {
  const double shift = delta / GetTransform().factor;
  return SetRange(high_ - shift, low_ - shift);
}

bool ScaleMath::Stretch(bool atStart, int from, int to) noexcept {
  const double span = high_ - low_;
  // Distances from the fixed end, in pixels, before and after the drag.
  const bool movesHigh = atStart == (orientation_ == Orientation::Vertical);
  const auto fromFixed = [&](int pixel) {
    return movesHigh ? FromLow(pixel) : length_ - FromLow(pixel);
  };
  const double before = fromFixed(from);
  const double after = std::max(fromFixed(to), double{kMinimumStretch});
  if (before < kMinimumStretch)
    return false;
  const double stretched = span * before / after;
  return movesHigh ? SetRange(low_ + stretched, low_) : SetRange(high_, high_ - stretched);
}

std::vector<double> ScaleMath::Ticks(double step) const {
  std::vector<double> ticks;
  if (!(step > 0.0) || !std::isfinite(step))
    return ticks;
  const double first = std::ceil(low_ / step - 1e-9);
  const double last = std::floor(high_ / step + 1e-9);
  if (!(last - first < kMaximumTicks))
    return ticks;
  for (double k = first; k <= last; ++k)
    ticks.push_back(k * step);
  return ticks;
}

} // namespace Vela

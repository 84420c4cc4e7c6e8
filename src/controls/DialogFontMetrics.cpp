#include "controls/DialogFontMetrics.h"

#include <cstdint>
#include <cstdlib>

namespace TarnControls {
namespace {

constexpr unsigned kLangChinese = 4;
constexpr unsigned kLangJapanese = 17;

// a x b / c rounded half away from zero; -1 for a zero divisor, as MulDiv answers.
int MulDivRounded(int a, int b, int c) noexcept {
  if (c == 0)
    return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace

int DialogFontBasePoints(unsigned languageId) noexcept {
  const unsigned primary = languageId & 0x3FF;
  return primary == kLangChinese || primary == kLangJapanese ? 12 : 10;
}

int DialogFontSmallPoints(int basePoints) noexcept {
  return static_cast<int>(basePoints * 0.85);
}

int DialogFontHeight(int points, const FontDevice& device) noexcept {
  const int pixels = MulDivRounded(points, device.logPixelsY, 72);
  if (device.viewportExtX == 0)
    return pixels;
  return MulDivRounded(pixels, device.windowExtX, device.viewportExtX);
}

std::array<DialogFontRequest, 4> DialogFontRequests(unsigned languageId,
                                                    const FontDevice& device) noexcept {
  const int base = DialogFontBasePoints(languageId);
  auto make = [&](int points, int angle) {
    DialogFontRequest r;
    r.height = DialogFontHeight(points, device);
    r.escapement = angle;
    r.orientation = angle;
    r.outPrecision = (angle != 0 || !device.rasterDisplay) ? 7 : 0;
    return r;
  };
  return {make(DialogFontSmallPoints(base), 0), make(base, 0), make(base, 900), make(base, -900)};
}

} // namespace TarnControls

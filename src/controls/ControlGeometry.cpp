#include "controls/ControlGeometry.h"

#include <cstdint>

namespace TarnControls {

int ScaleForDpi(int value, int dpi) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = product >= 0 ? 48 : -48;
  return static_cast<int>((product + half) / 96);
}

} // namespace TarnControls

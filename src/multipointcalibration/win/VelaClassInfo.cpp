#include "multipointcalibration/win/VelaClassInfo.h"

#include "foundation/win/HostServices.h"

namespace MPCalibration {

std::int32_t VelaClassInfo::ClassCode() const {
  std::int64_t code = code_.load(std::memory_order_acquire);
  if (code < 0) {
    // Two threads may both look the code up; the registry gives both the same answer.
    const auto high = static_cast<std::uint32_t>(HostServices::RegistryCode(clsid_)) << 16;
    code = static_cast<std::int64_t>(high | lowWord_);
    code_.store(code, std::memory_order_release);
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(code));
}

} // namespace MPCalibration

#include "multipointcalibration/win/LiveObjectCounter.h"

#include <atomic>

namespace MPCalibration {
namespace {

// Constant-initialised, so objects made during static initialisation are counted too.
constinit std::atomic<std::int32_t> g_live{0};

} // namespace

std::int32_t LiveObjectCounter::Count() noexcept {
  return g_live.load(std::memory_order_acquire);
}

void LiveObjectCounter::Adjust(std::int32_t delta) noexcept {
  g_live.fetch_add(delta, std::memory_order_acq_rel);
}

} // namespace MPCalibration

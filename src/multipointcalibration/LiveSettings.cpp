#include "multipointcalibration/LiveSettings.h"

#include "foundation/NoDestroy.h"

namespace MPCalibration {

Tarn::LiveObjectSet& LiveSettings() noexcept {
  static Tarn::NoDestroy<Tarn::LiveObjectSet> set;
  return set.get();
}

} // namespace MPCalibration

#pragma once
#include "foundation/LiveObjectSet.h"

namespace MPCalibration {

// The module's live settings objects. Built on first use and kept for the life of the process:
// a host may release settings objects after the module's static destructors have run.
Tarn::LiveObjectSet& LiveSettings() noexcept;

} // namespace MPCalibration

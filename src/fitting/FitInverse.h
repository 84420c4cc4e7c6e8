#pragma once
#include <vector>

#include "fitting/FitRecord.h"

namespace MPCalibration {

// The raw values between the smallest and the largest raw point of `record` that its curve
// turns into `calibrated`, in ascending order: none when the value lies outside what the curve
// gives over that range, several where the curve turns. Each is found to the last few bits.
std::vector<double> RawValuesFor(const FitRecord& record, double calibrated);

} // namespace MPCalibration

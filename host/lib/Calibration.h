#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "MemoryObjectStream.h"

namespace Vela {

// A channel calibration as the host describes it to the module: the settings record's
// persisted items (version 2) built from these values, so that the settings class loads them.
struct Calibration {
  std::int32_t fitType = 0;
  bool forceOrigin = false;
  std::vector<double> coefficients;
  std::vector<double> rawValues;
  std::vector<double> calibratedValues;
  std::wstring unitName;
  std::int32_t prefixIndex = 1;
  std::int32_t unitKind = 0;
  std::int32_t sourceChannel = 0;
  std::int32_t decimalPlaces = 2;
  double rangeTop = 10.0;
  double rangeBottom = -10.0;
  bool showCalculated = false;

  // The tab-separated parameter text (classic locale, six significant digits).
  std::wstring ParameterText() const;
  // The persisted items: version 2, the record's fields, the parameter text, the unit.
  std::vector<StreamItem> PersistedItems() const;
};

} // namespace Vela

#include "Calibration.h"

#include <algorithm>
#include <cstdio>

namespace Vela {
namespace {

// printf's %g is not affected by the user's locale in the C runtime's default "C" locale, which
// the host never changes.
std::wstring Number(double value) {
  wchar_t buffer[40];
  std::swprintf(buffer, std::size(buffer), L"%g", value);
  return buffer;
}

} // namespace

std::wstring Calibration::ParameterText() const {
  std::wstring text;
  const auto item = [&text](const std::wstring& s) {
    text += s;
    text += L'\t';
  };
  item(std::to_wstring(fitType));
  item(forceOrigin ? L"1" : L"0");
  item(unitName.empty() ? L"INVALID_UNIT" : unitName);
  item(L"0");
  item(L"0");
  item(std::to_wstring(coefficients.size()));
  for (double c : coefficients)
    item(Number(c));
  const std::size_t n = std::min(rawValues.size(), calibratedValues.size());
  item(std::to_wstring(n));
  for (std::size_t i = 0; i < n; ++i)
    item(Number(rawValues[i]));
  for (std::size_t i = 0; i < n; ++i)
    item(Number(calibratedValues[i]));
  return text;
}

std::vector<StreamItem> Calibration::PersistedItems() const {
  return {std::int32_t{2}, std::int32_t{showCalculated ? 1 : 0},
          sourceChannel,   decimalPlaces,
          rangeTop,        rangeBottom,
          std::int32_t{0}, ParameterText(),
          prefixIndex,     unitName,
          unitKind};
}

} // namespace Vela

#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "units/UnitInfo.h"

namespace Tarn {

// The host's list of units as the units control and the unit dialogs use it. A host may answer a
// missing unit either with "not found" or with a failure; implementations report both as nullopt.
class UnitCollection {
public:
  virtual ~UnitCollection() = default;
  // Every unit, in list order.
  virtual std::vector<UnitInfo> Units() = 0;
  // The position of the unit equal to `unit`.
  virtual std::optional<int> Find(const UnitInfo& unit) = 0;
  // The position the unit now has; nullopt when the list refuses it.
  virtual std::optional<int> Add(const UnitInfo& unit) = 0;
  // Removes the unit equal to `unit`; false when it was not removed.
  virtual bool Remove(const UnitInfo& unit) = 0;
};

// The unit names a quantity field reads back whole: the names of the listed units and the
// field's own unit. A user's "psi" is then not pico-"si"; "mV" still splits, since the list
// holds that unit as the name "V" with the prefix m.
std::set<std::wstring> WholeUnitNames(const std::vector<UnitInfo>& units,
                                      const std::wstring& ownUnit = {});

} // namespace Tarn

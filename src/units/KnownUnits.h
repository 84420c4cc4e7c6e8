#pragma once
#include <set>
#include <string>

namespace Tarn {

// The unit names that the quantity parser takes as whole names even when their first letter is
// also a prefix letter ("m", "mmHg"), and that the quantity writer gives a prefix letter.
// Built once per process on first use; never changes.
const std::set<std::wstring>& KnownUnits();

bool IsKnownUnit(const std::wstring& name);

} // namespace Tarn

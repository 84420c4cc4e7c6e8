#pragma once

namespace ExtLib {

// The module's relative-equality test: equal, or both below 1e-32 in magnitude, or differing by
// less than 1e-13 relative to the smaller magnitude.
bool RelativelyEqual(double a, double b) noexcept;

} // namespace ExtLib

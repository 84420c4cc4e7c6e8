#pragma once
#include <cstdint>
#include <string>

namespace Tarn {

// The prefix table of unit values: index 0 is "?" (prefix chosen from the value), 1 and 8 carry
// no prefix, 2..7 are a f p n µ m and 9..14 are k M G T P E.
inline constexpr std::int32_t prefixIndexCount = 15;

// The prefix text of a prefix index: "?" for 0, empty for 1, 8 and any index outside 0..14.
std::wstring PrefixCharacter(std::int32_t prefixIndex);

// The power of ten of a prefix index: 0 for 0, 1, 8 and any index outside 0..14.
std::int32_t PrefixPower(std::int32_t prefixIndex) noexcept;

// The factor the module's output scaling divides by: 10^-power (index 2 -> 1e18 ... 7 -> 1e3,
// 9 -> 1e-3 ... 14 -> 1e-18), 1 for 0, 1, 8 and any index outside 0..14.
double PrefixScaleFactor(std::int32_t prefixIndex) noexcept;

// The power of a prefix letter (y z a f p n µ m k M G T P E Z Y, "u" standing in for µ);
// 0 when the character is not a prefix letter.
std::int32_t PrefixLetterPower(wchar_t letter) noexcept;

// The letter of a power of ten (µ for -6); 0 for power 0 or a power without a letter.
wchar_t PrefixLetterForPower(std::int32_t power) noexcept;

// x x 10^power, rounded once where the power of ten is exact (|power| <= 22), so that 10^2 is
// exactly 100 and 0.0042 x 10^3 is 4.2. Never overflows in an intermediate step for results that
// are finite.
double ScaleByPowerOfTen(double x, std::int32_t power) noexcept;

} // namespace Tarn

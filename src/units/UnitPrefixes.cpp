#include "units/UnitPrefixes.h"

#include <array>
#include <cmath>

namespace Tarn {
namespace {

struct PrefixEntry {
  const wchar_t* text;
  std::int32_t power;
  double scaleFactor;
};

constexpr std::array<PrefixEntry, prefixIndexCount> prefixTable{{
    {L"?", 0, 1.0},
    {L"", 0, 1.0},
    {L"a", -18, 1e18},
    {L"f", -15, 1e15},
    {L"p", -12, 1e12},
    {L"n", -9, 1e9},
    {L"\u00B5", -6, 1e6},
    {L"m", -3, 1e3},
    {L"", 0, 1.0},
    {L"k", 3, 1e-3},
    {L"M", 6, 1e-6},
    {L"G", 9, 1e-9},
    {L"T", 12, 1e-12},
    {L"P", 15, 1e-15},
    {L"E", 18, 1e-18},
}};

struct PrefixLetter {
  wchar_t letter;
  std::int32_t power;
};

constexpr std::array<PrefixLetter, 16> prefixLetters{{
    {L'y', -24},
    {L'z', -21},
    {L'a', -18},
    {L'f', -15},
    {L'p', -12},
    {L'n', -9},
    {L'\u00B5', -6},
    {L'm', -3},
    {L'k', 3},
    {L'M', 6},
    {L'G', 9},
    {L'T', 12},
    {L'P', 15},
    {L'E', 18},
    {L'Z', 21},
    {L'Y', 24},
}};

constexpr bool IsTableIndex(std::int32_t index) noexcept {
  return index >= 0 && index < prefixIndexCount;
}

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> exactPowers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

std::wstring PrefixCharacter(std::int32_t prefixIndex) {
  return IsTableIndex(prefixIndex) ? std::wstring(prefixTable[prefixIndex].text) : std::wstring();
}

std::int32_t PrefixPower(std::int32_t prefixIndex) noexcept {
  return IsTableIndex(prefixIndex) ? prefixTable[prefixIndex].power : 0;
}

double PrefixScaleFactor(std::int32_t prefixIndex) noexcept {
  return IsTableIndex(prefixIndex) ? prefixTable[prefixIndex].scaleFactor : 1.0;
}

std::int32_t PrefixLetterPower(wchar_t letter) noexcept {
  if (letter == L'u')
    return -6;
  for (const PrefixLetter& p : prefixLetters) {
    if (p.letter == letter)
      return p.power;
  }
  return 0;
}

wchar_t PrefixLetterForPower(std::int32_t power) noexcept {
  for (const PrefixLetter& p : prefixLetters) {
    if (p.power == power)
      return p.letter;
  }
  return 0;
}

double ScaleByPowerOfTen(double x, std::int32_t power) noexcept {
  // Walk in exact steps; the steps only matter for powers beyond 1e22, where one rounding more
  // is harmless but an intermediate overflow or underflow of 10^power would not be.
  constexpr std::int32_t maxExact = static_cast<std::int32_t>(exactPowers.size()) - 1;
  while (power > maxExact && std::isfinite(x) && x != 0.0) {
    x *= exactPowers[maxExact];
    power -= maxExact;
  }
  while (power < -maxExact && std::isfinite(x) && x != 0.0) {
    x /= exactPowers[maxExact];
    power += maxExact;
  }
  if (power > maxExact || power < -maxExact)
    return x;
  return power >= 0 ? x * exactPowers[power] : x / exactPowers[-power];
}

} // namespace Tarn

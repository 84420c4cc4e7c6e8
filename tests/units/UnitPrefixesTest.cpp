#include "units/UnitPrefixes.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace Tarn {
namespace {

TEST(UnitPrefixes, IndexTable) {
  struct Row {
    std::int32_t index;
    const wchar_t* text;
    std::int32_t power;
    double scaleFactor;
  };
  const Row rows[] = {
      {-1, L"", 0, 1.0},    {0, L"?", 0, 1.0},     {1, L"", 0, 1.0},      {2, L"a", -18, 1e18},
      {3, L"f", -15, 1e15}, {4, L"p", -12, 1e12},  {5, L"n", -9, 1e9},    {6, L"\u00B5", -6, 1e6},
      {7, L"m", -3, 1e3},   {8, L"", 0, 1.0},      {9, L"k", 3, 1e-3},    {10, L"M", 6, 1e-6},
      {11, L"G", 9, 1e-9},  {12, L"T", 12, 1e-12}, {13, L"P", 15, 1e-15}, {14, L"E", 18, 1e-18},
      {15, L"", 0, 1.0},    {1000, L"", 0, 1.0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(PrefixCharacter(r.index), r.text);
    EXPECT_EQ(PrefixPower(r.index), r.power);
    EXPECT_EQ(PrefixScaleFactor(r.index), r.scaleFactor);
  }
}

TEST(UnitPrefixes, LettersAndPowers) {
  const std::pair<wchar_t, std::int32_t> letters[] = {
      {L'y', -24}, {L'z', -21}, {L'a', -18}, {L'f', -15},    {L'p', -12}, {L'n', -9},
      {L'm', -3},  {L'k', 3},   {L'M', 6},   {L'G', 9},      {L'T', 12},  {L'P', 15},
      {L'E', 18},  {L'Z', 21},  {L'Y', 24},  {L'\u00B5', -6}};
  for (const auto& [letter, power] : letters) {
    SCOPED_TRACE(static_cast<int>(letter));
    EXPECT_EQ(PrefixLetterPower(letter), power);
    EXPECT_EQ(PrefixLetterForPower(power), letter);
  }
  // "u" is accepted for micro on input only.
  EXPECT_EQ(PrefixLetterPower(L'u'), -6);
  for (wchar_t notPrefix : {L'x', L'K', L'V', L' ', L'\0', L'h', L'd', L'c'})
    EXPECT_EQ(PrefixLetterPower(notPrefix), 0) << static_cast<int>(notPrefix);
  for (std::int32_t power : {0, 1, 2, -1, 27, -27, 100})
    EXPECT_EQ(PrefixLetterForPower(power), 0) << power;
}

TEST(UnitPrefixes, ScaleByPowerOfTenRoundsOnce) {
  EXPECT_EQ(ScaleByPowerOfTen(0.0042, 3), 4.2);
  EXPECT_EQ(ScaleByPowerOfTen(42.0, -4), 0.0042);
  EXPECT_EQ(ScaleByPowerOfTen(5.0, -3), 0.005);
  EXPECT_EQ(ScaleByPowerOfTen(3.0, 2), 300.0);
  EXPECT_EQ(ScaleByPowerOfTen(-7.5, 0), -7.5);
}

TEST(UnitPrefixes, ScaleByPowerOfTenAvoidsIntermediateOverflow) {
  EXPECT_DOUBLE_EQ(ScaleByPowerOfTen(1e-300, 600), 1e300);
  EXPECT_DOUBLE_EQ(ScaleByPowerOfTen(1e300, -600), 1e-300);
  EXPECT_NEAR(ScaleByPowerOfTen(std::numeric_limits<double>::denorm_min(), 324), 4.94065645841247,
              1e-12);
  EXPECT_EQ(ScaleByPowerOfTen(1e300, 100), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ScaleByPowerOfTen(1e-300, -100), 0.0);
  EXPECT_EQ(ScaleByPowerOfTen(0.0, 1000000), 0.0);
  EXPECT_TRUE(std::isnan(ScaleByPowerOfTen(std::nan(""), -1000000)));
}

} // namespace
} // namespace Tarn

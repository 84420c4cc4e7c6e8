#include "units/UnitInfo.h"

#include <gtest/gtest.h>

#include "NumberLocales.h"

namespace Tarn {
namespace {

UnitInfo Unit(std::int32_t prefixIndex, const wchar_t* name, std::int32_t unitKind = 0) {
  UnitInfo unit;
  unit.unitKind = unitKind;
  unit.prefixIndex = prefixIndex;
  unit.name = name;
  return unit;
}

TEST(UnitInfo, FreshAndReset) {
  const UnitInfo fresh;
  EXPECT_EQ(fresh.unitKind, 0);
  EXPECT_EQ(fresh.prefixIndex, 1);
  EXPECT_TRUE(fresh.name.empty());

  UnitInfo used = Unit(9, L"Pa", 1);
  ResetUnit(used);
  EXPECT_EQ(used, fresh);
}

TEST(UnitInfo, DisplayName) {
  const std::pair<UnitInfo, const wchar_t*> rows[] = {
      {Unit(7, L"V"), L"mV"}, {Unit(1, L"V"), L"V"},       {Unit(8, L"V"), L"V"},
      {Unit(0, L"V"), L"?V"}, {Unit(6, L"A"), L"\u00B5A"}, {Unit(14, L"Pa"), L"EPa"},
      {Unit(15, L"V"), L"V"}, {Unit(-3, L"V"), L"V"},      {Unit(9, L""), L"k"},
  };
  for (const auto& [unit, expected] : rows)
    EXPECT_EQ(UnitDisplayName(unit), expected) << unit.prefixIndex;
}

TEST(UnitInfo, NoUnitText) {
  EXPECT_EQ(NoUnitText(), L"[No unit]");
}

TEST(FormatValue, Flags) {
  struct Row {
    UnitInfo unit;
    std::int32_t flags;
    double value;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {Unit(1, L"V"), 0x303, 2.5, L"2.5 V"},
      {Unit(1, L"V"), 0x100, 3.14159265358979, L"3.141593"},
      {Unit(1, L"V"), 0x103, 3.14159265358979, L"3.14"},
      {Unit(1, L"V"), 0x200, 3.0, L"V"},
      {Unit(1, L"V"), 0x000, 3.0, L""},
      {Unit(7, L"V"), 0x700, 0.0025, L"2.5 mV"},
      {Unit(7, L"V"), 0x300, 0.0025, L"0.0025 V"},
      {Unit(7, L"V"), 0x600, 0.0025, L"mV"},
      {Unit(9, L"Pa"), 0x500, 1500.0, L"1.5"},
      {Unit(8, L"V"), 0x700, 2.0, L"2 V"},
      // Index 0: the prefix follows the value only when asked to.
      {Unit(0, L"V"), 0xF00, 0.0025, L"2.5 mV"},
      {Unit(0, L"V"), 0xF00, 5000.0, L"5 kV"},
      {Unit(0, L"V"), 0xF00, 5.0, L"5 V"},
      {Unit(0, L"V"), 0xF00, 0.0, L"0 V"},
      {Unit(0, L"V"), 0xF00, 1e30, L"1e+30 V"},
      {Unit(0, L"V"), 0xF00, 1e-20, L"1e-20 V"},
      {Unit(0, L"V"), 0xF00, 2e-18, L"2 aV"},
      {Unit(0, L"V"), 0xF00, -3e18, L"-3 EV"},
      {Unit(0, L"V"), 0x700, 0.0025, L"0.0025 V"},
      {Unit(0, L"V"), 0xB00, 0.0025, L"0.0025 V"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expected);
    EXPECT_EQ(FormatValue(r.unit, r.flags, r.value), r.expected);
  }
}

TEST(FormatValue, NumberIsInTheClassicLocale) {
  testing::GlobalLocaleGuard global(testing::CommaDecimalLocale());
  EXPECT_EQ(FormatValue(Unit(1, L"V"), 0x303, 2.5), L"2.5 V");
  EXPECT_EQ(FormatValue(Unit(1, L"V"), 0x300, 1234567.0), L"1234567 V");
}

} // namespace
} // namespace Tarn

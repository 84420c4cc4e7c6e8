#include "multipointcalibration/CalibrationSettings.h"

#include <gtest/gtest.h>

#include <functional>

namespace MPCalibration {
namespace {

CalibrationSettings Sample() {
  CalibrationSettings s;
  s.showCalculated = true;
  s.sourceChannel = 2;
  s.decimalPlaces = 4;
  s.fitType = 1;
  s.rawValues = {0, 1, 2};
  s.calibratedValues = {0, 10, 40};
  s.coefficients = {0, 5, 5};
  s.unit.name = L"mmHg";
  s.unit.prefixIndex = 8;
  s.unit.unitKind = 3;
  s.stringSet = {L"a", L"b"};
  return s;
}

TEST(CalibrationSettings, FreshValues) {
  const CalibrationSettings s;
  EXPECT_FALSE(s.showCalculated);
  EXPECT_EQ(s.sourceChannel, -1);
  EXPECT_EQ(s.decimalPlaces, 3);
  EXPECT_EQ(s.fitType, 0);
  EXPECT_EQ(s.rangeTop, 0.0);
  EXPECT_EQ(s.rangeBottom, 0.0);
  EXPECT_EQ(s.unit.prefixIndex, 1);
  EXPECT_TRUE(s.unit.name.empty());
}

TEST(CalibrationSettings, CopiesAreDeep) {
  CalibrationSettings original = Sample();
  CalibrationSettings copy = original;
  copy.rawValues[0] = 99;
  copy.stringSet.insert(L"c");
  copy.unit.name = L"V";
  EXPECT_EQ(original.rawValues[0], 0);
  EXPECT_EQ(original.stringSet.size(), 2u);
  EXPECT_EQ(original.unit.name, L"mmHg");
  auto& self = original;
  original = self;
  EXPECT_TRUE(original.EqualsForApply(Sample()));
  EXPECT_EQ(original.coefficients, Sample().coefficients);
}

struct ApplyCase {
  const char* what;
  std::function<void(CalibrationSettings& incoming, CalibrationSettings& current)> change;
  bool equal;
};

TEST(CalibrationSettings, EqualsForApply) {
  using S = CalibrationSettings;
  const ApplyCase cases[] = {
      {"identical", [](S&, S&) {}, true},
      {"rangeTop", [](S& n, S&) { n.rangeTop = 5; }, true},
      {"rangeBottom", [](S& n, S&) { n.rangeBottom = -5; }, true},
      {"coefficients", [](S& n, S&) { n.coefficients = {1}; }, true},
      {"sumSquaredError", [](S& n, S&) { n.sumSquaredError = 2; }, true},
      {"fitError", [](S& n, S&) { n.fitError = 2; }, true},
      {"showCalculated", [](S& n, S&) { n.showCalculated = false; }, false},
      {"sourceChannel", [](S& n, S&) { n.sourceChannel = 0; }, false},
      {"decimalPlaces", [](S& n, S&) { n.decimalPlaces = 0; }, false},
      {"forceOrigin", [](S& n, S&) { n.forceOrigin = true; }, false},
      {"fitType", [](S& n, S&) { n.fitType = 2; }, false},
      {"raw value", [](S& n, S&) { n.rawValues[2] = 2.5; }, false},
      {"calibrated value", [](S& n, S&) { n.calibratedValues[1] = 11; }, false},
      {"point added", [](S& n, S&) { n.rawValues.push_back(3); }, false},
      {"prefix 1 vs 8", [](S& n, S&) { n.unit.prefixIndex = 1; }, true},
      {"prefix 8 vs 1", [](S&, S& c) { c.unit.prefixIndex = 1; }, true},
      {"prefix 9", [](S& n, S&) { n.unit.prefixIndex = 9; }, false},
      {"unit kind", [](S& n, S&) { n.unit.unitKind = 0; }, false},
      {"unit name", [](S& n, S&) { n.unit.name = L"mmhg"; }, false},
      {"new name empty, current not", [](S& n, S&) { n.unit.name.clear(); }, false},
      {"both names empty, kinds differ",
       [](S& n, S& c) {
         n.unit.name.clear();
         c.unit.name.clear();
         c.unit.unitKind = 9;
         c.unit.prefixIndex = 4;
       },
       true},
      {"current name empty, new not", [](S&, S& c) { c.unit.name.clear(); }, false},
      {"set element",
       [](S& n, S&) {
         n.stringSet = {L"a", L"c"};
       },
       false},
      {"set size", [](S& n, S&) { n.stringSet.insert(L"c"); }, false},
  };
  for (const auto& c : cases) {
    S incoming = Sample(), current = Sample();
    c.change(incoming, current);
    EXPECT_EQ(incoming.EqualsForApply(current), c.equal) << c.what;
  }
}

} // namespace
} // namespace MPCalibration

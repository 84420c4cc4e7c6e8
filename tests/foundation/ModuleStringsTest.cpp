#include "foundation/ModuleStrings.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleStringsTest, SubstitutesProductWords) {
  struct Case {
    std::wstring in, out;
  } cases[] = {
      {L"in the KYMO Window.", L"in the Kymo Window."},
      {L"DUZURERIDEZEZE", L"Kymo"},
      {L"DUZURERIDEZEZEKYMO", L"KymoKymo"},
      {L"KYMOKYMO kymo Kymo", L"KymoKymo kymo Kymo"},
      {L"ACQBOX and OEM", L"Acqbox and Tarn Instruments"},
      {L"PHOEMIX", L"PHTarn InstrumentsIX"}, // inside a longer word too
      {L"OEMOEM", L"Tarn InstrumentsTarn Instruments"},
      {L"", L""},
      {L"no product words", L"no product words"},
  };
  for (Case& c : cases) {
    std::wstring text = c.in;
    Tarn::SubstituteProductNames(text);
    EXPECT_EQ(text, c.out) << "input: " << testing::PrintToString(c.in);
  }
}

TEST(ModuleStringsTest, BuiltInTableAndSubstitution) {
  EXPECT_EQ(Tarn::ModuleString(250), L"Multipoint Calibration");
  EXPECT_EQ(Tarn::ModuleString(253).find(L"KYMO"), std::wstring::npos);
  EXPECT_NE(Tarn::ModuleString(253).find(L"the Kymo Window"), std::wstring::npos);
  EXPECT_NE(Tarn::BuiltInModuleString(253).find(L"KYMO"), std::wstring::npos);
  EXPECT_EQ(Tarn::ModuleString(253).find(L'\n'), 28u); // "\n" escapes are line breaks
  EXPECT_TRUE(Tarn::ModuleString(0).empty());
  EXPECT_TRUE(Tarn::ModuleString(99999).empty());
}

TEST(ModuleStringsTest, ProviderReplacesAndRestoresTheTable) {
  Tarn::SetModuleStringProvider(
      [](std::uint32_t id) { return L"from provider " + std::to_wstring(id); });
  EXPECT_EQ(Tarn::ModuleString(250), L"from provider 250");
  Tarn::SetModuleStringProvider(nullptr);
  EXPECT_EQ(Tarn::ModuleString(250), L"Multipoint Calibration");
}

} // namespace

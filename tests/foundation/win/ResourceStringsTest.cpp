#include "foundation/win/ResourceStrings.h"
#include "foundation/ModuleStrings.h"
#include "foundation/XHResult.h"
#include "foundation/XTarn.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/StatusMessages.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

using Tarn::LoadResourceString;

namespace {

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

TEST(ResourceStringsTest, LanguageChoiceAndFallback) {
  struct Case {
    UINT id;
    LANGID language;
    const wchar_t* expected;
  } cases[] = {
      {250, kGerman, L"Mehrpunktkalibrierung"},
      {250, kFrench, L"Multipoint Calibration"}, // no French block: the neutral one
      {250, 0, L"Multipoint Calibration"},
      {251, kGerman,
       L"Fits a function to a set of known points using a linear least-squares "
       L"approximation."},       // the German block lacks the entry
      {257, kGerman, L"Linear"}, // no German block at all
      {0, kGerman, L""},
      {999, kGerman, L""},
      {252, 0, L""}, // inside an existing block, no text
  };
  for (const Case& c : cases)
    EXPECT_EQ(LoadResourceString(nullptr, c.id, true, c.language), c.expected) << c.id;
}

TEST(ResourceStringsTest, SubstitutionOnlyWhenAsked) {
  const Tarn::TarnString german = LoadResourceString(nullptr, 253, true, kGerman);
  EXPECT_EQ(german, L"Keine Daten im Kymo Fenster.\nBitte ausw\u00e4hlen.");
  EXPECT_EQ(LoadResourceString(nullptr, 253, false, kGerman),
            L"Keine Daten im KYMO Fenster.\nBitte ausw\u00e4hlen.");
  const Tarn::TarnString neutral = LoadResourceString(nullptr, 253, true, 0);
  EXPECT_EQ(neutral.str().find(L"KYMO"), std::wstring::npos);
  EXPECT_NE(neutral.str().find(L"the Kymo Window"), std::wstring::npos);
}

TEST(ResourceStringsTest, ThreadLanguageIsTheApplicationLanguage) {
  const LANGID before = GetThreadUILanguage();
  if (SetThreadUILanguage(kGerman) != kGerman || GetThreadUILanguage() != kGerman) {
    SetThreadUILanguage(before);
    GTEST_SKIP() << "the thread's UI language cannot be set here";
  }
  EXPECT_EQ(LoadResourceString(nullptr, 250), L"Mehrpunktkalibrierung");
  SetThreadUILanguage(before);
}

TEST(ResourceStringsTest, ProviderServesTheModuleTexts) {
  Tarn::SetResourceModule(GetModuleHandleW(nullptr));
  EXPECT_EQ(Tarn::ModuleString(281), L"[No unit]");
  EXPECT_TRUE(Tarn::ModuleString(0).empty());
  Tarn::SetModuleStringProvider(nullptr);
  Tarn::SetStatusMessageLookup(nullptr);
}

TEST(StatusMessagesTest, ModuleSystemAndReplacedCodes) {
  std::wostringstream log;
  std::wstreambuf* old = std::wcerr.rdbuf(log.rdbuf());
  Tarn::InstallStatusMessages();

  Tarn::XTarn module(static_cast<Tarn::HResult>(0xA0048205u));
  EXPECT_EQ(module.message(), L"This document was saved by a newer version of Kymo.");
  Tarn::XTarn oldDll(STG_E_OLDDLL);
  EXPECT_EQ(static_cast<HRESULT>(oldDll.status()), static_cast<HRESULT>(0xA0048205u));
  EXPECT_EQ(oldDll.message(), module.message());
  Tarn::XTarn missing(static_cast<Tarn::HResult>(0xA0048201u)); // no text in the host table
  EXPECT_EQ(missing.message(), L"Error 0xA0048201.");

  Tarn::XTarn system(E_INVALIDARG);
  const std::wstring text = system.message();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), L'.');
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
  wchar_t raw[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(E_INVALIDARG), 0, raw, 512, nullptr);
  EXPECT_EQ(text.substr(0, text.size() - 1), std::wstring(raw).substr(0, text.size() - 1));

  EXPECT_NE(log.str().find(L"TARNBOOTLOG: XTARN: This document was saved by a newer version of "
                           L"Kymo.\n"),
            std::wstring::npos);
  std::wcerr.rdbuf(old);
  Tarn::SetStatusMessageLookup(nullptr);
}

TEST(HostBoundaryTest, GuardTurnsExceptionsIntoStatusCodes) {
  std::wostringstream log;
  std::wstreambuf* old = std::wcerr.rdbuf(log.rdbuf());
  EXPECT_EQ(Tarn::Guard([] { return S_FALSE; }), S_FALSE);
  EXPECT_EQ(Tarn::Guard([] {}), S_OK);
  EXPECT_EQ(Tarn::Guard([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(Tarn::Guard([] { throw Tarn::XTarn(E_NOTIMPL, L"n"); }), E_NOTIMPL);
  EXPECT_EQ(Tarn::Guard([] { throw Tarn::XHResult(E_NOINTERFACE); }), E_NOINTERFACE);
  EXPECT_EQ(Tarn::Guard([] { throw 1; }), E_FAIL);
  std::wcerr.rdbuf(old);
}

} // namespace

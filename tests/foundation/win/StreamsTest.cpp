#include "foundation/win/LocaleInfo.h"
#include "foundation/win/OFormatStringStream.h"
#include "foundation/win/OStringStream.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

using Tarn::TarnString;

namespace {

TEST(StringStreamBufTest, GrowsByDoublingAndKeepsTheText) {
  Tarn::OStringStream s;
  std::wstring expected;
  for (int i = 0; i < 200; ++i) {
    s << i << L',';
    expected += std::to_wstring(i) + L',';
  }
  const TarnString text = s.str();
  EXPECT_EQ(text, expected);
  EXPECT_GE(text.capacity() - text.size(), 8u);
  // Capacities go 8, 16, 32, ... usable characters: always a power of two from 8 on.
  const std::size_t cap = text.capacity();
  EXPECT_EQ(cap & (cap - 1), 0u) << cap;
}

TEST(StringStreamBufTest, TakenTextIsNotChangedByLaterWrites) {
  Tarn::OStringStream s;
  s << L"abc";
  const TarnString first = s.str();
  s << L"def";
  EXPECT_EQ(first, L"abc");
  EXPECT_EQ(s.str(), L"abcdef");
}

TEST(StringStreamBufTest, ContinuesAnExistingStringWithoutChangingIt) {
  const TarnString initial(L"x=");
  Tarn::OStringStream s(initial);
  s << 5;
  EXPECT_EQ(s.str(), L"x=5");
  EXPECT_EQ(initial, L"x=");
}

TEST(OFormatStringStreamTest, CollectsTheMessageInATarnString) {
  Tarn::OFormatStringStream s(L"Enter a number between %1 and %2.");
  s << 1 << 5;
  EXPECT_TRUE(s.complete());
  EXPECT_EQ(s.str(), L"Enter a number between 1 and 5.");

  Tarn::StringStreamBuf buffer;
  Tarn::OFormatStream f(L"%2%%, %1", buffer);
  f << L"A" << L"B";
  EXPECT_EQ(buffer.str(), L"B%, A");
}

TEST(LocaleInfoTest, StreamLocaleHasNoGroupSeparator) {
  // The user's separators as a German user has them.
  const std::locale loc = Tarn::LocaleInfo::MakeStreamLocale(L',', L'.');
  std::wostringstream s;
  s.imbue(loc);
  s << std::fixed << std::setprecision(2) << 1234567.25 << L' ' << 7654321;
  EXPECT_EQ(s.str(), L"1234567,25 7654321");

  std::wistringstream in(L"2,5");
  in.imbue(loc);
  double v = 0;
  in >> v;
  EXPECT_EQ(v, 2.5);
}

TEST(LocaleInfoTest, SeparatorWarnings) {
  using W = Tarn::LocaleInfo;
  EXPECT_TRUE(W::SeparatorWarnings(L".", L"/", L",").empty());
  EXPECT_TRUE(W::SeparatorWarnings(L",", L".", L";").empty());
  EXPECT_EQ(W::SeparatorWarnings(L".", L".", L",").size(), 1u);
  EXPECT_EQ(W::SeparatorWarnings(L",", L"/", L",").size(), 1u);
  const auto odd = W::SeparatorWarnings(L"\u066b", L"/", L";");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_NE(odd[0].find(L"1643"), std::wstring::npos);
}

TEST(LocaleInfoTest, ReadsTheUserLocaleOnceAndInstallsTheStreamLocale) {
  Tarn::LocaleInfo::SetMessageBoxEnabled(false);
  const Tarn::LocaleInfo& info = Tarn::LocaleInfo::Get();
  EXPECT_EQ(&info, &Tarn::LocaleInfo::Get());
  wchar_t decimal[8] = {}, thousands[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
  EXPECT_STREQ(info.decimalSeparator, decimal);
  EXPECT_STREQ(info.thousandsSeparator, thousands);
  EXPECT_FALSE(info.shortDateFormat.empty());
  ASSERT_TRUE(info.initialised);

  // A stream made now uses the global locale: the user's point, no group separator.
  Tarn::OStringStream s;
  s << std::fixed << std::setprecision(1) << 1234567.5;
  EXPECT_EQ(s.str(), std::wstring(L"1234567") + decimal[0] + L"5");
  EXPECT_NE(thousands[0], L'\0') << "the user locale should have a group separator";

  // Persisted numbers use the classic locale.
  std::wostringstream persisted;
  persisted.imbue(std::locale::classic());
  persisted << 1234567.5;
  EXPECT_EQ(persisted.str(), L"1.23457e+06");
}

} // namespace

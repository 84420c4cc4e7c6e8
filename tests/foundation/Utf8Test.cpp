#include <string>

#include <gtest/gtest.h>

#include "foundation/Utf8.h"

namespace Tarn {
namespace {

TEST(Utf8, RoundTripsAndReplacesInvalidSequences) {
  const std::wstring text = L"R\u00B2 = 1, \u00B0C, \u20AC, \U0001F600";
  EXPECT_EQ(ToUtf8(text), "R\xC2\xB2 = 1, \xC2\xB0"
                          "C, \xE2\x82\xAC, \xF0\x9F\x98\x80");
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b\xC3"),
            L"a\uFFFDb\uFFFD");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD"); // an overlong '/'
}

} // namespace
} // namespace Tarn

#include "foundation/XTarn.h"
#include "foundation/XHResult.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <stdexcept>

namespace hr = Tarn::hr;

namespace {

// Captures what XTarn writes to std::wcerr.
class WcerrCapture {
public:
  WcerrCapture() : old_(std::wcerr.rdbuf(buffer_.rdbuf())) {}
  ~WcerrCapture() { std::wcerr.rdbuf(old_); }
  std::wstring text() const { return buffer_.str(); }

private:
  std::wostringstream buffer_;
  std::wstreambuf* old_;
};

TEST(XTarnTest, LogsOneLineAndKeepsStatusAndMessage) {
  WcerrCapture capture;
  Tarn::XTarn e(hr::fail, L"Something failed.");
  EXPECT_EQ(e.status(), hr::fail);
  EXPECT_EQ(e.message(), L"Something failed.");
  EXPECT_STREQ(e.what(), "Something failed.");
  EXPECT_EQ(capture.text(), L"TARNBOOTLOG: XTARN: Something failed.\n");
}

TEST(XTarnTest, MessageFromTheInstalledLookup) {
  WcerrCapture capture;
  {
    Tarn::XTarn e(hr::invalidArg);
    EXPECT_FALSE(e.message().empty());
  }
  Tarn::SetStatusMessageLookup([](Tarn::HResult s) {
    return s == hr::newerFormat ? std::wstring(L"Newer format.") : std::wstring();
  });
  Tarn::XTarn old(hr::oldDll);
  EXPECT_EQ(old.status(), hr::newerFormat);
  EXPECT_EQ(old.message(), L"Newer format.");
  Tarn::XTarn other(hr::unexpected); // the lookup knows nothing: the code is named
  EXPECT_EQ(other.message(), L"Error 0x8000FFFF.");
  Tarn::SetStatusMessageLookup(nullptr);
}

TEST(XTarnTest, StatusFromCaught) {
  WcerrCapture capture;
  auto statusOf = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      return Tarn::StatusFromCaught();
    }
    return hr::ok;
  };
  EXPECT_EQ(statusOf([] { throw Tarn::XTarn(hr::invalidArg, L"x"); }), hr::invalidArg);
  EXPECT_EQ(statusOf([] { throw Tarn::XHResult(hr::noInterface); }), hr::noInterface);
  EXPECT_EQ(statusOf([] { throw std::bad_alloc(); }), hr::outOfMemory);
  EXPECT_EQ(statusOf([] { throw std::runtime_error("x"); }), hr::fail);
  EXPECT_EQ(statusOf([] { throw 3; }), hr::fail);
  EXPECT_THROW(Tarn::ThrowIfFailed(hr::fail), Tarn::XHResult);
  EXPECT_EQ(Tarn::ThrowIfFailed(hr::falseResult), hr::falseResult);
}

} // namespace

// The reference host's own objects: the file object stream and the source enumerator.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ChannelEnum.h"
#include "FileObjectStream.h"
#include "HostApplication.h"
#include "foundation/win/TarnString.h"

namespace {

using Tarn::ComPtr;
using Vela::FileObjectStream;

std::wstring TempFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"velahost-" + std::to_wstring(GetCurrentProcessId()) + name;
}

ComPtr<FileObjectStream> Open(const std::wstring& path, FileObjectStream::Mode mode) {
  return ComPtr<FileObjectStream>::Adopt(FileObjectStream::Open(path, mode));
}

void WriteSample(Host::IObjectStream& s) {
  s.WriteInt(-7);
  s.WriteDouble(0.1);
  s.WriteString(Tarn::TarnString(L"caf\u00E9 \U0001F600").get());
  s.WriteString(nullptr);
}

TEST(FileObjectStreamTest, ItemsReadBackInOrderAndTheEndIsKnown) {
  const auto path = TempFile(L"items");
  auto out = Open(path, FileObjectStream::Mode::Write);
  ASSERT_TRUE(out);
  WriteSample(*out);
  ASSERT_EQ(out->Commit(), S_OK);

  auto in = Open(path, FileObjectStream::Mode::Read);
  ASSERT_TRUE(in);
  std::int32_t i = 0;
  double d = 0;
  ComPtr<ITarnString> a, b;
  EXPECT_EQ(in->ReadLong(&i), S_OK);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(in->ReadDouble(&d), S_OK);
  EXPECT_EQ(d, 0.1);
  EXPECT_FALSE(in->AtEnd());
  EXPECT_EQ(in->ReadString(a.put()), S_OK);
  EXPECT_EQ(Tarn::TarnString::FromHost(a.get()), L"caf\u00E9 \U0001F600");
  EXPECT_EQ(in->ReadString(b.put()), S_OK);
  EXPECT_TRUE(Tarn::TarnString::FromHost(b.get()).empty());
  EXPECT_TRUE(in->AtEnd());
  EXPECT_EQ(in->GetStatus(), S_OK);
  // Past the end: a failure, and the status stays negative.
  EXPECT_TRUE(FAILED(in->ReadInt(&i)));
  EXPECT_LT(in->GetStatus(), 0);
  DeleteFileW(path.c_str());
}

TEST(FileObjectStreamTest, FailuresTurnTheStatusNegativeForGood) {
  const auto path = TempFile(L"faults");
  {
    auto out = Open(path, FileObjectStream::Mode::Write);
    WriteSample(*out);
    ASSERT_EQ(out->Commit(), S_OK);
  }
  struct Case {
    const char* name;
    long failAt;          // injected fault, or -1
    bool readDoubleFirst; // a read of the wrong type
    bool writeToReader;
  };
  for (const Case& c :
       {Case{"fault at first", 0, false, false}, Case{"fault at second", 1, false, false},
        Case{"wrong type", -1, true, false}, Case{"write to reader", -1, false, true}}) {
    SCOPED_TRACE(c.name);
    auto in = Open(path, FileObjectStream::Mode::Read);
    in->FailAtItem(c.failAt);
    std::int32_t i = 0;
    double d = 0;
    if (c.readDoubleFirst) {
      EXPECT_TRUE(FAILED(in->ReadDouble(&d)));
    }
    if (c.writeToReader) {
      EXPECT_TRUE(FAILED(in->WriteInt(1)));
    }
    const HRESULT first = in->ReadInt(&i);
    const HRESULT second = in->ReadDouble(&d);
    EXPECT_TRUE(FAILED(first) || FAILED(second));
    EXPECT_LT(in->GetStatus(), 0);
    // Later reads fail even when the item would fit.
    ComPtr<ITarnString> s;
    EXPECT_TRUE(FAILED(in->ReadString(s.put())));
    EXPECT_FALSE(s);
  }
  // A writer with a fault writes nothing at commit.
  const auto other = TempFile(L"nothing");
  auto out = Open(other, FileObjectStream::Mode::Write);
  out->FailAtItem(1);
  WriteSample(*out);
  EXPECT_LT(out->Commit(), 0);
  EXPECT_EQ(GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(path.c_str());
}

TEST(FileObjectStreamTest, MissingFileIsNotOpened) {
  HRESULT hr = S_OK;
  const auto stream = ComPtr<FileObjectStream>::Adopt(
      FileObjectStream::Open(TempFile(L"missing"), FileObjectStream::Mode::Read, &hr));
  EXPECT_FALSE(stream);
  EXPECT_TRUE(FAILED(hr));
}

TEST(ChannelEnumTest, NextSkipAndCloneMoveThroughTheBlock) {
  auto samples = std::make_shared<const std::vector<float>>(std::vector<float>{0, 1, 2, 3, 4, 5});
  auto e = ComPtr<Host::IEnumFloatEx>::Adopt(Vela::ChannelEnum::Create(samples));
  float v[4] = {};
  std::uint32_t fetched = 0;
  EXPECT_EQ(e->Next(4, v, &fetched), S_OK);
  EXPECT_EQ(fetched, 4u);
  EXPECT_EQ(v[3], 3.0f);

  struct Step {
    std::int32_t count;
    HRESULT status;
    std::int32_t skipped, position;
  };
  for (const Step& s : {Step{-3, S_OK, -3, 1}, Step{-5, S_FALSE, -1, 0}, Step{4, S_OK, 4, 4},
                        Step{9, S_FALSE, 2, 6}, Step{0, S_OK, 0, 6}}) {
    std::int32_t skipped = 99, position = -1;
    EXPECT_EQ(e->SkipEx(s.count, &skipped), s.status) << s.count;
    EXPECT_EQ(skipped, s.skipped);
    EXPECT_EQ(e->GetPosition(&position), S_OK);
    EXPECT_EQ(position, s.position);
  }
  std::int32_t skipped = 0;
  ASSERT_EQ(e->SkipEx(-2, &skipped), S_OK);
  ComPtr<Host::IEnumFloatEx> copy;
  ASSERT_EQ(e->Clone(copy.put()), S_OK);
  EXPECT_EQ(copy->Next(4, v, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(v[0], 4.0f);
  // The original kept its own position.
  std::int32_t position = 0;
  EXPECT_EQ(e->GetPosition(&position), S_OK);
  EXPECT_EQ(position, 4);
  ComPtr<IUnknown> base;
  EXPECT_EQ(e.QueryTo(Host::IID_IEnumExBase, base), S_OK);
  Host::RateInfo rate{};
  EXPECT_EQ(e->GetRate(&rate), S_OK);
  EXPECT_EQ(rate.numerator, 1);
}

TEST(ClassCodeRegistryTest, CodesAreStableSixteenBitValuesPerIdentifier) {
  auto& host = Vela::HostApplication::Instance();
  const GUID a = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
  const GUID b = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 9}};
  std::int32_t first = 0, second = 0, again = 0;
  ASSERT_EQ(host.GetClassCode(a, &first), S_OK);
  ASSERT_EQ(host.GetClassCode(b, &second), S_OK);
  ASSERT_EQ(host.GetClassCode(a, &again), S_OK);
  EXPECT_EQ(first, again);
  EXPECT_NE(first, second);
  for (std::int32_t code : {first, second}) {
    EXPECT_GT(code, 0);
    EXPECT_LT(code, 0x8000);
  }
}

} // namespace

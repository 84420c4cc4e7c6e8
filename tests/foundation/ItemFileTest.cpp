#include "foundation/ItemFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace Tarn {
namespace {

std::vector<std::uint8_t> SampleFile() {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  EXPECT_EQ(writer.WriteInt(-5), hr::ok);
  EXPECT_EQ(writer.WriteDouble(0.1), hr::ok);
  EXPECT_EQ(writer.WriteString(L"degrees C"), hr::ok);
  EXPECT_EQ(writer.WriteString(L""), hr::ok);
  EXPECT_EQ(writer.WriteInt(7), hr::ok);
  EXPECT_EQ(writer.Status(), hr::ok);
  return bytes;
}

TEST(ItemFile, ByteLayoutIsLittleEndianAndTagged) {
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  (void)writer.WriteInt(0x01020304);
  (void)writer.WriteDouble(1.0);
  (void)writer.WriteString(L"A\u00E9");
  const std::vector<std::uint8_t> expected = {
      'M', 'P', 'I', 'F', 1, 0,   0, 0,          // header
      1,   4,   3,   2,   1,                     // int
      2,   0,   0,   0,   0, 0,   0, 0xF0, 0x3F, // double 1.0
      3,   2,   0,   0,   0, 'A', 0, 0xE9, 0,    // string, 2 units
  };
  EXPECT_EQ(bytes, expected);
}

TEST(ItemFile, RoundTripThroughVectorAndStream) {
  const std::vector<std::uint8_t> bytes = SampleFile();
  std::ostringstream stream(std::ios::binary);
  {
    ItemFileWriter writer(stream);
    (void)writer.WriteInt(-5);
    (void)writer.WriteDouble(0.1);
    (void)writer.WriteString(L"degrees C");
    (void)writer.WriteString(L"");
    (void)writer.WriteInt(7);
    EXPECT_EQ(writer.Status(), hr::ok);
  }
  const std::string streamed = stream.str();
  EXPECT_EQ(std::vector<std::uint8_t>(streamed.begin(), streamed.end()), bytes);

  ItemFileReader reader(bytes);
  std::int32_t i = 0, l = 0;
  double d = 0;
  std::wstring s1, s2 = L"x";
  EXPECT_EQ(reader.ReadInt(i), hr::ok);
  EXPECT_EQ(reader.ReadDouble(d), hr::ok);
  EXPECT_EQ(reader.ReadString(s1), hr::ok);
  EXPECT_EQ(reader.ReadString(s2), hr::ok);
  EXPECT_EQ(reader.ReadLong(l), hr::ok);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(i, -5);
  EXPECT_EQ(d, 0.1);
  EXPECT_EQ(s1, L"degrees C");
  EXPECT_EQ(s2, L"");
  EXPECT_EQ(l, 7);
}

TEST(ItemFile, DoublesKeepEveryBit) {
  const double values[] = {0.0,
                           -0.0,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  for (const double v : values) {
    (void)writer.WriteDouble(v);
  }
  ItemFileReader reader(bytes);
  for (const double v : values) {
    double back = 1;
    ASSERT_EQ(reader.ReadDouble(back), hr::ok);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v));
  }
}

TEST(ItemFile, SupplementaryCharactersAreSurrogatePairsInTheFile) {
  std::wstring text = L"x";
  if constexpr (sizeof(wchar_t) == 2) {
    text += L"\xD83D\xDE00";
  } else {
    text += static_cast<wchar_t>(0x1F600);
  }
  std::vector<std::uint8_t> bytes;
  ItemFileWriter writer(bytes);
  (void)writer.WriteString(text);
  ASSERT_EQ(bytes.size(), 8u + 5u + 6u);
  EXPECT_EQ(bytes[9], 3); // three code units
  EXPECT_EQ(bytes[15] | bytes[16] << 8, 0xD83D);
  ItemFileReader reader(bytes);
  std::wstring back;
  ASSERT_EQ(reader.ReadString(back), hr::ok);
  EXPECT_EQ(back, text);
}

// Every truncation of a valid file reads the complete items before the cut and then fails,
// with nothing read past the end (ASan) and the failure sticky.
TEST(ItemFile, TruncatedFilesFailCleanly) {
  const std::vector<std::uint8_t> bytes = SampleFile();
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + size);
    ItemFileReader reader(cut);
    std::int32_t i = 0;
    double d = 0;
    std::wstring s;
    int read = 0;
    read += hr::Succeeded(reader.ReadInt(i));
    read += hr::Succeeded(reader.ReadDouble(d));
    read += hr::Succeeded(reader.ReadString(s));
    read += hr::Succeeded(reader.ReadString(s));
    read += hr::Succeeded(reader.ReadInt(i));
    EXPECT_LT(read, 5) << size;
    EXPECT_TRUE(hr::Failed(reader.Status())) << size;
    EXPECT_FALSE(reader.AtEnd());
  }
}

struct CorruptCase {
  const char* what;
  std::size_t offset;
  std::uint8_t value;
};

TEST(ItemFile, CorruptedFilesFailWithoutLargeAllocations) {
  const std::vector<std::uint8_t> bytes = SampleFile();
  // Offsets: header 0..7, int 8..12, double 13..21, string 22.. (length at 23..26).
  const CorruptCase cases[] = {
      {"magic", 0, 'X'},
      {"format version", 4, 2},
      {"int tag", 8, 2},
      {"double tag", 13, 1},
      {"string tag", 22, 1},
      {"unknown tag", 22, 9},
      {"string length huge", 26, 0xFF},
      {"string length past end", 23, 0x40},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[c.offset] = c.value;
    ItemFileReader reader(damaged);
    std::int32_t i = 0;
    double d = 0;
    std::wstring s = L"untouched";
    (void)reader.ReadInt(i);
    (void)reader.ReadDouble(d);
    EXPECT_TRUE(hr::Failed(reader.ReadString(s))) << c.what;
    EXPECT_EQ(s, L"untouched") << c.what;
    EXPECT_TRUE(hr::Failed(reader.Status())) << c.what;
    EXPECT_TRUE(hr::Failed(reader.ReadInt(i))) << c.what;
  }
}

TEST(ItemFile, RemainingItemsBound) {
  const std::vector<std::uint8_t> bytes = SampleFile();
  ItemFileReader reader(bytes);
  EXPECT_EQ(reader.RemainingItemsBound(), (bytes.size() - 8) / 5);
  std::int32_t i;
  (void)reader.ReadInt(i);
  EXPECT_EQ(reader.RemainingItemsBound(), (bytes.size() - 13) / 5);
}

TEST(ItemFile, FailedStreamMakesWriterFail) {
  std::ostringstream stream;
  stream.setstate(std::ios::badbit);
  ItemFileWriter writer(stream);
  EXPECT_TRUE(hr::Failed(writer.Status()));
  EXPECT_TRUE(hr::Failed(writer.WriteInt(1)));
  EXPECT_TRUE(hr::Failed(writer.WriteString(L"x")));
}

} // namespace
} // namespace Tarn

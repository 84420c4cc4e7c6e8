#include "PngWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const char* text) {
  return {text, text + std::strlen(text)};
}

std::uint32_t Big32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TEST(PngWriterTest, ChecksumsOfKnownTexts) {
  EXPECT_EQ(PngWriter::Crc32(Bytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(PngWriter::Crc32(Bytes("")), 0u);
  EXPECT_EQ(PngWriter::Crc32(Bytes("IEND")), 0xAE426082u);
  EXPECT_EQ(PngWriter::Adler32(Bytes("Wikipedia")), 0x11E60398u);
  EXPECT_EQ(PngWriter::Adler32(Bytes("")), 1u);
}

// Walks the chunks of an encoded picture, checks each CRC, and unpacks the stored deflate
// blocks back into the filtered rows.
TEST(PngWriterTest, EncodesRowsInStoredBlocks) {
  for (int width : {1, 3, 200}) {
    const int height = 120; // 200 x 120 needs two stored blocks
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
      rgb[i] = static_cast<std::uint8_t>(i * 7);
    const auto png = PngWriter::Encode(width, height, rgb);
    ASSERT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    std::vector<std::string> types;
    std::vector<std::uint8_t> zlib;
    std::size_t at = 8;
    while (at < png.size()) {
      const std::uint32_t length = Big32(png, at);
      const std::string type(png.begin() + at + 4, png.begin() + at + 8);
      types.push_back(type);
      EXPECT_EQ(PngWriter::Crc32({png.data() + at + 4, length + 4}), Big32(png, at + 8 + length))
          << type;
      if (type == "IHDR") {
        EXPECT_EQ(Big32(png, at + 8), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Big32(png, at + 12), static_cast<std::uint32_t>(height));
        EXPECT_EQ(png[at + 16], 8);
        EXPECT_EQ(png[at + 17], 2);
      }
      if (type == "IDAT")
        zlib.insert(zlib.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
      at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    ASSERT_GE(zlib.size(), 2u + 5u + 4u);
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0); // valid zlib header check bits
    std::vector<std::uint8_t> raw;
    std::size_t z = 2;
    bool last = false;
    while (!last) {
      last = zlib[z] & 1;
      const unsigned n = zlib[z + 1] | (zlib[z + 2] << 8);
      const unsigned complement = zlib[z + 3] | (zlib[z + 4] << 8);
      EXPECT_EQ(n ^ 0xFFFFu, complement);
      raw.insert(raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + n);
      z += 5 + n;
    }
    EXPECT_EQ(z + 4, zlib.size());
    const std::uint32_t adler = Big32(zlib, z);
    EXPECT_EQ(adler, PngWriter::Adler32(raw));

    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    ASSERT_EQ(raw.size(), (stride + 1) * height);
    for (int y = 0; y < height; ++y) {
      EXPECT_EQ(raw[y * (stride + 1)], 0);
      EXPECT_EQ(std::memcmp(&raw[y * (stride + 1) + 1], &rgb[y * stride], stride), 0);
    }
  }
}

TEST(PngWriterTest, RefusesPixelsOfTheWrongSize) {
  const std::vector<std::uint8_t> rgb(11);
  EXPECT_THROW(PngWriter::Encode(2, 2, rgb), std::invalid_argument);
  EXPECT_THROW(PngWriter::Encode(0, 0, {}), std::invalid_argument);
}

} // namespace

#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A PNG encoder small enough to read: 8-bit RGB, no filtering, stored (uncompressed) deflate
// blocks. Pictures of dialogs are a few hundred kilobytes this way, which is fine for tests.
namespace PngWriter {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// `rgb` holds height rows of width pixels, 3 bytes each, top row first.
std::vector<std::uint8_t> Encode(int width, int height, std::span<const std::uint8_t> rgb);

} // namespace PngWriter

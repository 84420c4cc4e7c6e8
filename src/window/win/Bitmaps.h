#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace Tarn::Window {

// The header of a 32-bit top-down DIB of `size`, its pixels 0x00RRGGBB.
BITMAPINFO TopDownBitmapInfo(SIZE size) noexcept;

// The pixels of `bitmap` (of `size`) as 0x00RRGGBB, top row first; empty when they cannot be read.
std::vector<std::uint32_t> ReadBitmapPixels(HBITMAP bitmap, SIZE size);

} // namespace Tarn::Window

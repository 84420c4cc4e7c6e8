#include "window/win/Bitmaps.h"

#include "foundation/win/UniqueHandle.h"

namespace Tarn::Window {

BITMAPINFO TopDownBitmapInfo(SIZE size) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::vector<std::uint32_t> ReadBitmapPixels(HBITMAP bitmap, SIZE size) {
  BITMAPINFO info = TopDownBitmapInfo(size);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.cx) * size.cy);
  const auto dc = unique_window_dc::Get(nullptr);
  if (!dc ||
      ::GetDIBits(dc.get(), bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) != size.cy)
    return {};
  for (auto& p : pixels)
    p &= 0x00FFFFFF;
  return pixels;
}

} // namespace Tarn::Window

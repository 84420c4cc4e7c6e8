#include "controls/win/ButtonBitmaps.h"

#include "controls/ButtonModel.h"
#include "window/win/Bitmaps.h"
#include "window/win/GdiPlus.h"
#include "window/win/Module.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace TarnControls {
namespace {

constexpr std::uint32_t kKeyColour = 0x00C0C0C0; // light grey, as 0x00RRGGBB

std::uint8_t ToByte(double v) noexcept {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

bool DrawWithGdiPlus(HDC dc, const std::vector<std::uint32_t>& pixels, SIZE size, POINT at) {
  namespace Gp = Tarn::Window::GdiPlus;
  const Gp::Api& api = Gp::Functions();
  if (!api)
    return false;
  // 32-bit ARGB with the light grey transparent, so only the matrix is left to GDI+.
  std::vector<std::uint32_t> argb(pixels.size());
  std::transform(pixels.begin(), pixels.end(), argb.begin(),
                 [](std::uint32_t p) { return p == kKeyColour ? 0u : (p | 0xFF000000u); });
  Gp::unique_bitmap image;
  if (api.CreateBitmapFromScan0(size.cx, size.cy, size.cx * 4, Gp::kPixelFormat32bppARGB,
                                reinterpret_cast<BYTE*>(argb.data()), image.put()) != Gp::Ok)
    return false;
  Gp::unique_image_attributes attributes;
  if (api.CreateImageAttributes(attributes.put()) != Gp::Ok)
    return false;
  Gp::ColorMatrix matrix{};
  const ColourMatrix grey = GreyToneMatrix();
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      matrix.m[i][j] = grey[i][j];
  if (api.SetImageAttributesColorMatrix(attributes.get(), 0, TRUE, &matrix, nullptr, 0) != Gp::Ok)
    return false;
  Gp::unique_graphics graphics;
  if (api.CreateFromHDC(dc, graphics.put()) != Gp::Ok)
    return false;
  return api.DrawImageRectRectI(graphics.get(), reinterpret_cast<Gp::GpImage*>(image.get()), at.x,
                                at.y, size.cx, size.cy, 0, 0, size.cx, size.cy, Gp::kUnitPixel,
                                attributes.get(), nullptr, nullptr) == Gp::Ok;
}

bool DrawWithGdi(HDC dc, const std::vector<std::uint32_t>& pixels, SIZE size, POINT at) {
  // The glyph is put together with what is already drawn where it goes, so its transparent
  // pixels show the face beneath, as GDI+ would show it.
  const BITMAPINFO info = Tarn::Window::TopDownBitmapInfo(size);
  void* bits = nullptr;
  Tarn::unique_hbitmap canvas(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  Tarn::unique_hdc memory(::CreateCompatibleDC(dc));
  if (!canvas || !memory || !bits)
    return false;
  Tarn::unique_select_object selected(memory.get(), canvas.get());
  if (!::BitBlt(memory.get(), 0, 0, size.cx, size.cy, dc, at.x, at.y, SRCCOPY))
    return false;
  ::GdiFlush();
  auto* out = static_cast<std::uint32_t*>(bits);
  const ColourMatrix m = GreyToneMatrix();
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t p = pixels[i];
    if (p == kKeyColour)
      continue;
    const double rgb[3] = {((p >> 16) & 0xFF) / 255.0, ((p >> 8) & 0xFF) / 255.0,
                           (p & 0xFF) / 255.0};
    std::uint32_t grey = 0;
    for (int j = 0; j < 3; ++j) {
      double v = m[4][j];
      for (int k = 0; k < 3; ++k)
        v += rgb[k] * m[k][j];
      grey = (grey << 8) | ToByte(v);
    }
    out[i] = grey;
  }
  return ::BitBlt(dc, at.x, at.y, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY) != FALSE;
}

} // namespace

Tarn::unique_hbitmap LoadButtonBitmap(int id, int dpi, bool mapFaceColours) noexcept {
  const HINSTANCE module = Tarn::Window::ModuleInstance();
  const UINT flags = mapFaceColours ? LR_LOADMAP3DCOLORS : 0;
  const auto load = [&](int which) {
    return static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(which), IMAGE_BITMAP, 0, 0, flags));
  };
  HBITMAP bitmap = load(BitmapIdForDpi(id, dpi));
  if (!bitmap)
    bitmap = load(id);
  return Tarn::unique_hbitmap(bitmap);
}

SIZE BitmapSize(HBITMAP bitmap) noexcept {
  BITMAP description{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof description, &description))
    return {0, 0};
  return {description.bmWidth, description.bmHeight};
}

bool CopyBitmap(HDC dc, HBITMAP bitmap, POINT at, std::optional<COLORREF> transparent) noexcept {
  const SIZE size = BitmapSize(bitmap);
  Tarn::unique_hdc memory(::CreateCompatibleDC(dc));
  if (!memory || size.cx == 0)
    return false;
  Tarn::unique_select_object selected(memory.get(), bitmap);
  if (transparent)
    return ::GdiTransparentBlt(dc, at.x, at.y, size.cx, size.cy, memory.get(), 0, 0, size.cx,
                               size.cy, *transparent) != FALSE;
  return ::BitBlt(dc, at.x, at.y, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY) != FALSE;
}

GreyToneRenderer DrawGreyToneGlyph(HDC dc, HBITMAP bitmap, POINT at, bool useGdiPlus) noexcept {
  try {
    const SIZE size = BitmapSize(bitmap);
    if (size.cx == 0)
      return GreyToneRenderer::None;
    const std::vector<std::uint32_t> pixels = Tarn::Window::ReadBitmapPixels(bitmap, size);
    if (pixels.empty())
      return GreyToneRenderer::None;
    if (useGdiPlus && DrawWithGdiPlus(dc, pixels, size, at))
      return GreyToneRenderer::GdiPlus;
    return DrawWithGdi(dc, pixels, size, at) ? GreyToneRenderer::Gdi : GreyToneRenderer::None;
  } catch (const std::bad_alloc&) {
    return GreyToneRenderer::None;
  }
}

} // namespace TarnControls

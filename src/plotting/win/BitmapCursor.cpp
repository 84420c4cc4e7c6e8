#include "plotting/win/BitmapCursor.h"

#include "window/win/Module.h"

namespace GUILib {

namespace {
constexpr COLORREF kTransparent = RGB(192, 192, 192);
}

CBitmapCursor::CBitmapCursor() noexcept
    : bitmap_(static_cast<HBITMAP>(::LoadImageW(Tarn::Window::ModuleInstance(),
                                                MAKEINTRESOURCEW(kResource), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION))) {}

Rect CBitmapCursor::Bounds(Point at, int dpi) noexcept {
  const int size = ::MulDiv(kSize, dpi, 96);
  const int hot = ::MulDiv(kHotSpot.x, dpi, 96);
  return {at.x - hot, at.y - hot, at.x - hot + size, at.y - hot + size};
}

void CBitmapCursor::Draw(HDC dc) const noexcept {
  if (!position_ || !bitmap_)
    return;
  Tarn::unique_hdc source(::CreateCompatibleDC(dc));
  Tarn::unique_select_object selected(source.get(), bitmap_.get());
  const Rect r = Bounds(*position_, ::GetDeviceCaps(dc, LOGPIXELSX));
  ::TransparentBlt(dc, r.left, r.top, r.Width(), r.Height(), source.get(), 0, 0, kSize, kSize,
                   kTransparent);
}

} // namespace GUILib

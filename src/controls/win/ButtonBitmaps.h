#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"

#include <optional>

namespace TarnControls {

// Bitmap `id` of the module in its drawing for `dpi`. With `mapFaceColours` the light greys of its
// colour table become the 3D colours (light grey the button face), as buttons show them.
Tarn::unique_hbitmap LoadButtonBitmap(int id, int dpi, bool mapFaceColours) noexcept;
SIZE BitmapSize(HBITMAP bitmap) noexcept;
// Copies the whole bitmap to `dc` with its top-left at `at`; pixels of colour `transparent` leave
// what is beneath (a themed face that is not the 3D face colour).
bool CopyBitmap(HDC dc, HBITMAP bitmap, POINT at,
                std::optional<COLORREF> transparent = std::nullopt) noexcept;

enum class GreyToneRenderer { None, GdiPlus, Gdi };

// Draws `bitmap` (loaded without face mapping) at `at` in the grey tones of GreyToneMatrix, its
// light grey (192, 192, 192) transparent. Through GDI+ when `useGdiPlus` (GDI+ must be started),
// else, or when GDI+ fails, with the same matrix applied here. Answers the renderer that drew it.
GreyToneRenderer DrawGreyToneGlyph(HDC dc, HBITMAP bitmap, POINT at, bool useGdiPlus) noexcept;

} // namespace TarnControls

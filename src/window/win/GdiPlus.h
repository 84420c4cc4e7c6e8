#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"

// The few flat GDI+ functions the controls use, looked up at run time in gdiplus.dll.
namespace Tarn::Window::GdiPlus {

using Status = int;
inline constexpr Status Ok = 0;
using ARGB = DWORD;
// PixelFormat32bppARGB and UnitPixel of the GDI+ headers.
inline constexpr INT kPixelFormat32bppARGB = 0x0026200A;
inline constexpr INT kUnitPixel = 2;

struct GpImage;
struct GpBitmap;
struct GpGraphics;
struct GpImageAttributes;
struct ColorMatrix {
  float m[5][5];
};
struct StartupInput {
  UINT32 version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

struct Api {
  Status(WINAPI* Startup)(ULONG_PTR* token, const StartupInput* input, void* output) = nullptr;
  void(WINAPI* Shutdown)(ULONG_PTR token) = nullptr;
  Status(WINAPI* CreateBitmapFromHBITMAP)(HBITMAP, HPALETTE, GpBitmap**) = nullptr;
  Status(WINAPI* CreateBitmapFromScan0)(INT width, INT height, INT stride, INT format, BYTE* scan0,
                                        GpBitmap**) = nullptr;
  Status(WINAPI* BitmapGetPixel)(GpBitmap*, INT x, INT y, ARGB*) = nullptr;
  Status(WINAPI* DisposeImage)(GpImage*) = nullptr;
  Status(WINAPI* CreateFromHDC)(HDC, GpGraphics**) = nullptr;
  Status(WINAPI* DeleteGraphics)(GpGraphics*) = nullptr;
  Status(WINAPI* CreateImageAttributes)(GpImageAttributes**) = nullptr;
  Status(WINAPI* DisposeImageAttributes)(GpImageAttributes*) = nullptr;
  // (attributes, adjust type 0 = default, enable, matrix, grey matrix, flags 0)
  Status(WINAPI* SetImageAttributesColorMatrix)(GpImageAttributes*, INT, BOOL, const ColorMatrix*,
                                                const ColorMatrix*, INT) = nullptr;
  // (attributes, adjust type, enable, lowest colour, highest colour)
  Status(WINAPI* SetImageAttributesColorKeys)(GpImageAttributes*, INT, BOOL, ARGB, ARGB) = nullptr;
  // (graphics, image, destination x, y, width, height, source x, y, width, height, unit,
  // attributes, abort callback, callback data)
  Status(WINAPI* DrawImageRectRectI)(GpGraphics*, GpImage*, INT, INT, INT, INT, INT, INT, INT, INT,
                                     INT, const GpImageAttributes*, void*, void*) = nullptr;

  explicit operator bool() const noexcept { return Startup != nullptr; }
};

// Loaded once per process; empty (every pointer null) when gdiplus.dll or a function is missing.
const Api& Functions() noexcept;

// GDI+ started for as long as the session lives; false when it is missing or fails to start.
class Session {
public:
  Session() noexcept;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();
  explicit operator bool() const noexcept { return started_; }

private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

namespace detail {
inline void DisposeImage(GpImage* image) noexcept {
  Functions().DisposeImage(image);
}
inline void DisposeBitmap(GpBitmap* bitmap) noexcept {
  Functions().DisposeImage(reinterpret_cast<GpImage*>(bitmap));
}
inline void DeleteGraphics(GpGraphics* graphics) noexcept {
  Functions().DeleteGraphics(graphics);
}
inline void DisposeAttributes(GpImageAttributes* attributes) noexcept {
  Functions().DisposeImageAttributes(attributes);
}
} // namespace detail

using unique_bitmap = unique_any<handle_traits<GpBitmap*, &detail::DisposeBitmap>>;
using unique_graphics = unique_any<handle_traits<GpGraphics*, &detail::DeleteGraphics>>;
using unique_image_attributes =
    unique_any<handle_traits<GpImageAttributes*, &detail::DisposeAttributes>>;

} // namespace Tarn::Window::GdiPlus

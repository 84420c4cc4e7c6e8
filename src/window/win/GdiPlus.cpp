#include "window/win/GdiPlus.h"

namespace Tarn::Window::GdiPlus {
namespace {

template <class F> bool Bind(HMODULE module, const char* name, F& function) noexcept {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  return function != nullptr;
}

Api Load() noexcept {
  Api api;
  HMODULE module = ::LoadLibraryExW(L"gdiplus.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module)
    return api;
  const bool complete =
      Bind(module, "GdiplusStartup", api.Startup) &&
      Bind(module, "GdiplusShutdown", api.Shutdown) &&
      Bind(module, "GdipCreateBitmapFromHBITMAP", api.CreateBitmapFromHBITMAP) &&
      Bind(module, "GdipCreateBitmapFromScan0", api.CreateBitmapFromScan0) &&
      Bind(module, "GdipBitmapGetPixel", api.BitmapGetPixel) &&
      Bind(module, "GdipDisposeImage", api.DisposeImage) &&
      Bind(module, "GdipCreateFromHDC", api.CreateFromHDC) &&
      Bind(module, "GdipDeleteGraphics", api.DeleteGraphics) &&
      Bind(module, "GdipCreateImageAttributes", api.CreateImageAttributes) &&
      Bind(module, "GdipDisposeImageAttributes", api.DisposeImageAttributes) &&
      Bind(module, "GdipSetImageAttributesColorMatrix", api.SetImageAttributesColorMatrix) &&
      Bind(module, "GdipSetImageAttributesColorKeys", api.SetImageAttributesColorKeys) &&
      Bind(module, "GdipDrawImageRectRectI", api.DrawImageRectRectI);
  return complete ? api : Api{};
}

} // namespace

const Api& Functions() noexcept {
  static const Api api = Load();
  return api;
}

Session::Session() noexcept {
  const Api& api = Functions();
  const StartupInput input;
  started_ = api && api.Startup(&token_, &input, nullptr) == Ok;
}

Session::~Session() {
  if (started_)
    Functions().Shutdown(token_);
}

} // namespace Tarn::Window::GdiPlus

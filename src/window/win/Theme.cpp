#include "window/win/Theme.h"

#include <utility>

namespace Tarn::Window {
namespace {

template <class F> void Bind(HMODULE module, const char* name, F& function) noexcept {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

UxThemeApi Load() noexcept {
  UxThemeApi api;
  HMODULE module = ::LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module)
    return api;
  Bind(module, "OpenThemeData", api.OpenThemeData);
  Bind(module, "CloseThemeData", api.CloseThemeData);
  Bind(module, "DrawThemeBackground", api.DrawThemeBackground);
  Bind(module, "DrawThemeText", api.DrawThemeText);
  Bind(module, "GetThemeTextExtent", api.GetThemeTextExtent);
  Bind(module, "GetThemePartSize", api.GetThemePartSize);
  Bind(module, "GetThemeBackgroundRegion", api.GetThemeBackgroundRegion);
  Bind(module, "IsThemeActive", api.IsThemeActive);
  const bool complete = api.OpenThemeData && api.CloseThemeData && api.DrawThemeBackground &&
                        api.DrawThemeText && api.GetThemeTextExtent && api.GetThemePartSize &&
                        api.GetThemeBackgroundRegion && api.IsThemeActive;
  return complete ? api : UxThemeApi{};
}

} // namespace

const UxThemeApi& UxTheme() noexcept {
  static const UxThemeApi api = Load();
  return api;
}

ThemeHandle ThemeHandle::Open(HWND hwnd, LPCWSTR classList) noexcept {
  ThemeHandle handle;
  const UxThemeApi& api = UxTheme();
  if (api && api.IsThemeActive())
    handle.theme_ = api.OpenThemeData(hwnd, classList);
  return handle;
}

ThemeHandle& ThemeHandle::operator=(ThemeHandle&& other) noexcept {
  if (this != &other) {
    reset();
    theme_ = std::exchange(other.theme_, nullptr);
  }
  return *this;
}

void ThemeHandle::reset() noexcept {
  if (const HTHEME theme = std::exchange(theme_, nullptr))
    UxTheme().CloseThemeData(theme);
}

} // namespace Tarn::Window

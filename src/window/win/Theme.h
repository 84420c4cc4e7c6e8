#pragma once
#include <windows.h>

#include <uxtheme.h>

namespace Tarn::Window {

// The visual-styles functions, looked up at run time in uxtheme.dll. Every pointer is null when
// the library or one of them is missing; callers then draw the classic look.
struct UxThemeApi {
  decltype(&::OpenThemeData) OpenThemeData = nullptr;
  decltype(&::CloseThemeData) CloseThemeData = nullptr;
  decltype(&::DrawThemeBackground) DrawThemeBackground = nullptr;
  decltype(&::DrawThemeText) DrawThemeText = nullptr;
  decltype(&::GetThemeTextExtent) GetThemeTextExtent = nullptr;
  decltype(&::GetThemePartSize) GetThemePartSize = nullptr;
  decltype(&::GetThemeBackgroundRegion) GetThemeBackgroundRegion = nullptr;
  decltype(&::IsThemeActive) IsThemeActive = nullptr;

  explicit operator bool() const noexcept { return OpenThemeData != nullptr; }
};

// Loaded once per process.
const UxThemeApi& UxTheme() noexcept;

// An open theme; closed when the holder dies. Empty when themes are off or missing.
class ThemeHandle {
public:
  ThemeHandle() noexcept = default;
  static ThemeHandle Open(HWND hwnd, LPCWSTR classList) noexcept;
  ThemeHandle(const ThemeHandle&) = delete;
  ThemeHandle& operator=(const ThemeHandle&) = delete;
  ThemeHandle(ThemeHandle&& other) noexcept : theme_(other.theme_) { other.theme_ = nullptr; }
  ThemeHandle& operator=(ThemeHandle&& other) noexcept;
  ~ThemeHandle() { reset(); }
  void reset() noexcept;
  HTHEME get() const noexcept { return theme_; }
  explicit operator bool() const noexcept { return theme_ != nullptr; }

private:
  HTHEME theme_ = nullptr;
};

} // namespace Tarn::Window

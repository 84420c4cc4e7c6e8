#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"
#include "window/win/BaseWindow.h"

#include <string>

namespace Tarn {

// The borderless hover text window: pale yellow, black text word-wrapped in a 300-pixel box,
// shown beside a point without taking the activation.
class Popup : public Window::BaseWindow<Popup> {
public:
  static constexpr const wchar_t* ClassName = L"TarnPopup";
  static constexpr COLORREF kBackground = RGB(255, 255, 225);

  // Shows `text` at screen point `at` (+2, +2), kept inside the work area; false on failure.
  bool Show(HWND owner, const std::wstring& text, POINT at);
  const std::wstring& Text() const noexcept { return text_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void Paint();
  HFONT Font();

  std::wstring text_;
  unique_hfont font_;
};

} // namespace Tarn

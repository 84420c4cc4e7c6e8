#pragma once
#include <windows.h>

#include "plotting/win/TextFormat.h"
#include "window/win/BaseWindow.h"

#include <string>

namespace GUILib {

// A child window showing one line of text (a cursor read-out beside an axis), anchored by its
// orientation and horizontal alignment and kept `inset` pixels (at 96 dpi) from its edges.
class CReadOut : public Tarn::Window::BaseWindow<CReadOut> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalReadOut";

  CReadOut();
  HWND Create(HWND parent, Rect rect, int id = 0) noexcept;

  void SetText(std::wstring text);
  const std::wstring& Text() const noexcept { return text_; }
  TextFormat& Format() noexcept { return format_; }
  void SetInset(int inset) noexcept { inset_ = inset; }

  // Fills `rect` with the background and draws the text into it.
  void Draw(HDC dc, Rect rect) const;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  std::wstring text_;
  TextFormat format_;
  int inset_ = 0;
};

} // namespace GUILib

#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"
#include "plotting/GraphLayout.h"

#include <string>

namespace GUILib {

// How a piece of text is drawn: its font (face, size in points, weight, orientation), colours,
// background mode and alignment.
class TextFormat {
public:
  std::wstring faceName = L"Tahoma";
  double points = 9.0;
  bool bold = false;
  ReadOutOrientation orientation = ReadOutOrientation::Normal;
  COLORREF textColour = RGB(0, 0, 0);
  COLORREF backColour = ::GetSysColor(COLOR_WINDOW);
  int backMode = TRANSPARENT;
  UINT alignment = TA_BOTTOM | TA_CENTER;

  // The font for `dc`: its height from the device's LOGPIXELSY, mapped to the dc's logical units,
  // so the same format gives the same size on a screen, a metafile and a printer page.
  Tarn::unique_hfont CreateFontFor(HDC dc) const noexcept;
  // Colours, background mode and alignment (the font is selected by the caller, who owns it).
  void ApplyTo(HDC dc) const noexcept;
};

// Escapement in tenths of a degree for an orientation.
int Escapement(ReadOutOrientation orientation) noexcept;

} // namespace GUILib

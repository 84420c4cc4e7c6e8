#include "plotting/win/TextFormat.h"

#include <cmath>

namespace GUILib {

int Escapement(ReadOutOrientation orientation) noexcept {
  switch (orientation) {
  case ReadOutOrientation::Up:
    return 900;
  case ReadOutOrientation::Down:
    return -900;
  case ReadOutOrientation::UpsideDown:
    return 1800;
  case ReadOutOrientation::Normal:
    break;
  }
  return 0;
}

Tarn::unique_hfont TextFormat::CreateFontFor(HDC dc) const noexcept {
  POINT height[2] = {
      {0, 0},
      {0, -static_cast<LONG>(std::lround(::GetDeviceCaps(dc, LOGPIXELSY) * points / 72.0))}};
  ::DPtoLP(dc, height, 2);
  LOGFONTW font{};
  font.lfHeight = -std::abs(height[1].y - height[0].y);
  font.lfEscapement = font.lfOrientation = Escapement(orientation);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  faceName.copy(font.lfFaceName, LF_FACESIZE - 1);
  return Tarn::unique_hfont(::CreateFontIndirectW(&font));
}

void TextFormat::ApplyTo(HDC dc) const noexcept {
  ::SetTextColor(dc, textColour);
  ::SetBkColor(dc, backColour);
  ::SetBkMode(dc, backMode);
  ::SetTextAlign(dc, alignment);
}

} // namespace GUILib

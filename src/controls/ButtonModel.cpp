#include "controls/ButtonModel.h"

#include <algorithm>
#include <cmath>

namespace TarnControls {

int SicnBitmapId(int base, unsigned options, const ButtonDrawState& state) noexcept {
  if (state.disabled && (options & kSicnShowDisabled))
    return base + 3;
  if (state.selected && (options & kSicnShowPressed))
    return base + 1;
  if (state.focused && (options & kSicnShowFocused))
    return base + 2;
  return base;
}

int SicnThemeState(unsigned options, const ButtonDrawState& state) noexcept {
  if (state.disabled && (options & kSicnShowDisabled))
    return 4;
  if (state.selected)
    return 3;
  if (state.hot)
    return 2;
  return 1;
}

int BitmapIdForDpi(int id, int dpi) noexcept {
  const bool hasLarge = (id >= kSicnBitmapBase && id <= kSicnBitmapBase + 3) || id == 354;
  return hasLarge && dpi >= 120 ? id + kLargeBitmapOffset : id;
}

std::wstring StripAmpersands(std::wstring_view caption) {
  std::wstring text;
  text.reserve(caption.size());
  for (wchar_t c : caption)
    if (c != L'&')
      text.push_back(c);
  return text;
}

int BmpTxtGlyphState(bool pressed, bool selected, bool disabled) noexcept {
  if (pressed && selected)
    return 1;
  return disabled ? 2 : 0;
}

ColourRole BmpTxtTextColour(bool disabled, bool ui3d) noexcept {
  if (!disabled)
    return ColourRole::ButtonText;
  return ui3d ? ColourRole::ButtonShadow : ColourRole::GrayText;
}

int BmpTxtTextWidth(const Rect& client, Size glyph, int dpi) noexcept {
  const int margin = Tarn::Window::Scale(kBmpTxtMargin, dpi);
  const int gap = glyph.cx > 0 ? Tarn::Window::Scale(kBmpTxtGap, dpi) : 0;
  return std::max(1, client.Width() - 2 * margin - glyph.cx - gap);
}

BmpTxtLayout LayOutBmpTxt(const Rect& client, Size glyph, Size text, bool pressed,
                          int dpi) noexcept {
  const int gap = glyph.cx > 0 && text.cx > 0 ? Tarn::Window::Scale(kBmpTxtGap, dpi) : 0;
  const int total = glyph.cx + gap + text.cx;
  const int left = client.left + (client.Width() - total) / 2;
  const int shift = pressed ? 1 : 0;
  auto centredAt = [&](int x, Size size) {
    const int top = client.top + (client.Height() - size.cy) / 2 + shift;
    return Rect{x + shift, top, x + shift + size.cx, top + size.cy};
  };
  return {centredAt(left, glyph), centredAt(left + glyph.cx + gap, text)};
}

std::array<double, 3> GreyToneWeights() noexcept {
  using M3 = std::array<std::array<double, 3>, 3>;
  const double cx = std::cos(kGreyToneRotationX), sx = std::sin(kGreyToneRotationX);
  const double cy = std::cos(kGreyToneRotationY), sy = std::sin(kGreyToneRotationY);
  // About red: g' = cx g - sx b, b' = sx g + cx b. About green: r'' = cy r - sy b', b'' = sy r + cy
  // b'.
  const M3 aboutRed{{{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}}};
  const M3 aboutGreen{{{cy, 0, -sy}, {0, 1, 0}, {sy, 0, cy}}};
  std::array<double, 3> blueRow{};
  for (int j = 0; j < 3; ++j)
    for (int k = 0; k < 3; ++k)
      blueRow[j] += aboutGreen[2][k] * aboutRed[k][j];
  return blueRow;
}

ColourMatrix GreyToneMatrix() noexcept {
  const auto weights = GreyToneWeights();
  ColourMatrix m{};
  double sum = 0;
  for (int i = 0; i < 3; ++i) {
    const double w = kGreyToneScale * weights[i];
    sum += w;
    for (int j = 0; j < 3; ++j)
      m[i][j] = static_cast<float>(w);
  }
  m[3][3] = 1.0f;
  for (int j = 0; j < 3; ++j)
    m[4][j] = static_cast<float>(1.0 - sum);
  m[4][4] = 1.0f;
  return m;
}

} // namespace TarnControls

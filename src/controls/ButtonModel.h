#pragma once
#include "controls/MenuComboModel.h"
#include "window/Geometry.h"

#include <array>
#include <string>
#include <string_view>

namespace TarnControls {

using Tarn::Window::Rect;
using Tarn::Window::Size;

// TSICNButton: the bitmap ids start at 324 (normal); +1 pressed, +2 focused, +3 disabled.
inline constexpr int kSicnBitmapBase = 324;

// Option flags of TSICNButton.
enum SicnOption : unsigned {
  kSicnShowPressed = 2,
  kSicnShowFocused = 4,
  kSicnShowDisabled = 8,
};

struct ButtonDrawState {
  bool disabled = false;
  bool selected = false; // pushed
  bool focused = false;
  bool hot = false; // the pointer is over it
};

// The bitmap to show: disabled with option 8 -> base + 3; else selected with option 2 -> base + 1;
// else focused with option 4 -> base + 2; else the base.
int SicnBitmapId(int base, unsigned options, const ButtonDrawState& state) noexcept;

// The themed push-button state: 4 disabled (only with option 8), 3 pressed, 2 hot, 1 normal.
int SicnThemeState(unsigned options, const ButtonDrawState& state) noexcept;

// The module's bitmaps that also come drawn for 144 dpi, under their id + 1000.
inline constexpr int kLargeBitmapOffset = 1000;
// The bitmap id to load for a window at `dpi`: the 144-dpi drawing from 120 dpi up (nearer 144
// than 96) when there is one, else the 96-dpi drawing.
int BitmapIdForDpi(int id, int dpi) noexcept;

// TBmpTxtButton.
std::wstring StripAmpersands(std::wstring_view caption);

// The glyph state: 1 pressed and selected, 2 disabled, else 0.
int BmpTxtGlyphState(bool pressed, bool selected, bool disabled) noexcept;

// The caption colour: disabled -> 3D shadow with 3D UI, grey text without; else button text.
ColourRole BmpTxtTextColour(bool disabled, bool ui3d) noexcept;

// Spacing at 96 dpi: around the contents and between glyph and text.
inline constexpr int kBmpTxtMargin = 4;
inline constexpr int kBmpTxtGap = 4;

// The width the caption is measured in (with word-break): what the client area leaves beside the
// glyph; at least 1.
int BmpTxtTextWidth(const Rect& client, Size glyph, int dpi) noexcept;

struct BmpTxtLayout {
  Rect glyph;
  Rect text;
  friend bool operator==(const BmpTxtLayout&, const BmpTxtLayout&) = default;
};
// The glyph left of the text, the pair centred in the client area and each centred vertically;
// a pressed button moves both by (1, 1). A zero glyph or text size leaves that part out.
BmpTxtLayout LayOutBmpTxt(const Rect& client, Size glyph, Size text, bool pressed,
                          int dpi) noexcept;

// A colour matrix in the row-vector convention of GDI+ (out = [r g b a 1] x M).
using ColourMatrix = std::array<std::array<float, 5>, 5>;

// The disabled glyph's grey tones. Rotating colour space about the red axis by pi/4 and then
// about the green axis by 0.6632251157578453 rad turns the grey axis (nearly) onto the blue one;
// the weights of that rotated blue component, scaled by 0.4, give the grey every channel takes.
// The translation keeps white white, so the glyph fades towards the button face.
ColourMatrix GreyToneMatrix() noexcept;
// The grey weights of red, green and blue before scaling.
std::array<double, 3> GreyToneWeights() noexcept;
inline constexpr double kGreyToneRotationX = 0.78539816339744830962;
inline constexpr double kGreyToneRotationY = 0.6632251157578453;
inline constexpr double kGreyToneScale = 0.4;

} // namespace TarnControls

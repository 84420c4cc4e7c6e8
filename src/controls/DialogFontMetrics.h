#pragma once
#include <array>
#include <string_view>

namespace TarnControls {

// The four shared dialog fonts, in this order.
enum class DialogFontKind { Small, Normal, RotatedUp, RotatedDown };

inline constexpr std::wstring_view kDialogFontFace = L"MS Shell Dlg 2";

// A font to create, in the fields of LOGFONT.
struct DialogFontRequest {
  int height = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 400;
  unsigned char charSet = 1;         // default character set
  unsigned char outPrecision = 0;    // 7 (TrueType only) when rotated or not on a raster display
  unsigned char clipPrecision = 0;   // default
  unsigned char quality = 0;         // default
  unsigned char pitchAndFamily = 34; // variable pitch, Swiss
  friend bool operator==(const DialogFontRequest&, const DialogFontRequest&) = default;
};

// The device the fonts are made for.
struct FontDevice {
  int logPixelsY = 96;
  // Horizontal window and viewport extents of the device context's mapping.
  int windowExtX = 1;
  int viewportExtX = 1;
  bool rasterDisplay = true;
};

// 12 points for Chinese (4) and Japanese (17) as the primary language (low 10 bits of the
// language id), else 10.
int DialogFontBasePoints(unsigned languageId) noexcept;
// The small font: int(base x 0.85) points.
int DialogFontSmallPoints(int basePoints) noexcept;
// points x LOGPIXELSY / 72, then x window extent / viewport extent, each step rounded as MulDiv.
int DialogFontHeight(int points, const FontDevice& device) noexcept;

std::array<DialogFontRequest, 4> DialogFontRequests(unsigned languageId,
                                                    const FontDevice& device) noexcept;

} // namespace TarnControls

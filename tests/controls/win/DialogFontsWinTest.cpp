#include "GuiDriver.h"
#include "controls/win/DialogFonts.h"

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

LOGFONTW Describe(HFONT font) {
  LOGFONTW description{};
  ::GetObjectW(font, sizeof description, &description);
  return description;
}

TEST(DialogFontsWin, FourFontsAndTheExtentOfZero) {
  DialogFonts& fonts = DialogFonts::Shared();
  ASSERT_TRUE(fonts.EnsureBuilt());
  const int dpi = GuiDriver::ExpectedDpi();
  const bool asian = DialogFontBasePoints(ApplicationLanguage()) == 12;
  const int base = asian ? 12 : 10;
  struct Row {
    DialogFontKind kind;
    int points;
    int angle;
    BYTE precision;
  };
  const Row rows[] = {{DialogFontKind::Small, asian ? 10 : 8, 0, 0},
                      {DialogFontKind::Normal, base, 0, 0},
                      {DialogFontKind::RotatedUp, base, 900, 7},
                      {DialogFontKind::RotatedDown, base, -900, 7}};
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.kind));
    ASSERT_NE(fonts.Font(r.kind), nullptr);
    const LOGFONTW f = Describe(fonts.Font(r.kind));
    EXPECT_EQ(f.lfHeight, (r.points * dpi + 36) / 72);
    EXPECT_EQ(f.lfEscapement, r.angle);
    EXPECT_EQ(f.lfOrientation, r.angle);
    EXPECT_EQ(f.lfWeight, 400);
    EXPECT_EQ(f.lfOutPrecision, r.precision);
    EXPECT_EQ(f.lfPitchAndFamily, 34);
    EXPECT_EQ(f.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(f.lfFaceName, L"MS Shell Dlg 2");
  }
  const SIZE extent = fonts.TextExtent();
  EXPECT_GT(extent.cx, 0);
  EXPECT_GT(extent.cy, dpi / 10);

  // Built again (here for a printer-like mapping of 2 logical units per pixel), the fonts are
  // replaced.
  const HFONT before = fonts.Font(DialogFontKind::Normal);
  Tarn::unique_hdc memory(::CreateCompatibleDC(nullptr));
  ::SetMapMode(memory.get(), MM_ANISOTROPIC);
  ::SetWindowExtEx(memory.get(), 2, 2, nullptr);
  ::SetViewportExtEx(memory.get(), 1, 1, nullptr);
  ASSERT_TRUE(fonts.Build(memory.get()));
  EXPECT_NE(fonts.Font(DialogFontKind::Normal), before);
  const int memoryDpi = ::GetDeviceCaps(memory.get(), LOGPIXELSY);
  EXPECT_EQ(Describe(fonts.Font(DialogFontKind::Normal)).lfHeight,
            2 * ((base * memoryDpi + 36) / 72));
  // "0" is measured on the screen, in the font made for the memory DC's mapping.
  EXPECT_GT(fonts.TextExtent().cy, extent.cy);
  const auto screen = Tarn::unique_window_dc::Get(nullptr);
  ASSERT_TRUE(fonts.Build(screen.get()));
  EXPECT_EQ(fonts.TextExtent().cy, extent.cy);
}

} // namespace
} // namespace TarnControls

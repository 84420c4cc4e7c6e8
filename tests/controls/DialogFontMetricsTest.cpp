#include "controls/DialogFontMetrics.h"

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(DialogFonts, BaseAndSmallSizes) {
  struct Row {
    unsigned language;
    int base, small;
  };
  const Row rows[] = {
      {0x0409, 10, 8},  // English (United States)
      {0x0407, 10, 8},  // German
      {0x0004, 12, 10}, // Chinese, neutral
      {0x0804, 12, 10}, // Chinese (PRC)
      {0x0404, 12, 10}, // Chinese (Taiwan)
      {0x0411, 12, 10}, // Japanese
      {0x0412, 10, 8},  // Korean
      {0x0414, 10, 8},  // Norwegian: its low bits 0x14 are not Chinese
      {0x0400, 10, 8},  // process default, primary 0
      {0xFC11, 12, 10}, // only the low 10 bits count
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.language);
    EXPECT_EQ(DialogFontBasePoints(r.language), r.base);
    EXPECT_EQ(DialogFontSmallPoints(DialogFontBasePoints(r.language)), r.small);
  }
}

TEST(DialogFonts, Heights) {
  struct Row {
    int points;
    FontDevice device;
    int height;
  };
  const Row rows[] = {
      {10, {96, 1, 1, true}, 13},       // 13.33
      {8, {96, 1, 1, true}, 11},        // 10.67
      {10, {144, 1, 1, true}, 20},      // exact
      {12, {96, 1, 1, true}, 16},       // exact
      {10, {120, 1, 1, true}, 17},      // 16.67
      {10, {96, 2, 1, true}, 26},       // window extent twice the viewport
      {10, {96, 1, 3, true}, 4},        // 13 / 3 = 4.33
      {10, {96, 1, 2, true}, 7},        // 13 / 2 = 6.5 rounds up
      {10, {600, 254, 600, false}, 35}, // a 600-dpi printer in 0.1 mm: 83 x 254 / 600 = 35.1
      {10, {96, 1, 0, true}, 13},       // no viewport extent: no scaling
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.height);
    EXPECT_EQ(DialogFontHeight(r.points, r.device), r.height);
  }
}

TEST(DialogFonts, FourRequests) {
  const auto screen = DialogFontRequests(0x0409, {96, 1, 1, true});
  const DialogFontRequest small{11, 0, 0, 400, 1, 0, 0, 0, 34};
  const DialogFontRequest normal{13, 0, 0, 400, 1, 0, 0, 0, 34};
  const DialogFontRequest up{13, 900, 900, 400, 1, 7, 0, 0, 34};
  const DialogFontRequest down{13, -900, -900, 400, 1, 7, 0, 0, 34};
  EXPECT_EQ(screen[static_cast<int>(DialogFontKind::Small)], small);
  EXPECT_EQ(screen[static_cast<int>(DialogFontKind::Normal)], normal);
  EXPECT_EQ(screen[static_cast<int>(DialogFontKind::RotatedUp)], up);
  EXPECT_EQ(screen[static_cast<int>(DialogFontKind::RotatedDown)], down);

  // Japanese at 144 dpi on a device that is not a raster display: TrueType only, every font.
  const auto printer = DialogFontRequests(0x0411, {144, 1, 1, false});
  EXPECT_EQ(printer[0].height, 20); // 10 points
  EXPECT_EQ(printer[1].height, 24); // 12 points
  for (const auto& r : printer)
    EXPECT_EQ(r.outPrecision, 7);
}

} // namespace
} // namespace TarnControls

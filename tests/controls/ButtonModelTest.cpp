#include "controls/ButtonModel.h"

#include <cmath>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

TEST(SicnButton, BitmapAndThemeStateForEachState) {
  struct Row {
    const char* what;
    unsigned options;
    ButtonDrawState state;
    int bitmap;
    int themeState;
  };
  const unsigned all = kSicnShowPressed | kSicnShowFocused | kSicnShowDisabled;
  const Row rows[] = {
      {"normal", all, {}, 324, 1},
      {"hot", all, {.hot = true}, 324, 2},
      {"pressed", all, {.selected = true}, 325, 3},
      {"pressed and focused", all, {.selected = true, .focused = true}, 325, 3},
      {"focused", all, {.focused = true}, 326, 1},
      {"disabled", all, {.disabled = true}, 327, 4},
      {"disabled wins over pressed and focused",
       all,
       {.disabled = true, .selected = true, .focused = true, .hot = true},
       327,
       4},
      {"after construction: pressed shown", kSicnShowPressed, {.selected = true}, 325, 3},
      {"after construction: focus not shown", kSicnShowPressed, {.focused = true}, 324, 1},
      {"after construction: disabled looks normal",
       kSicnShowPressed,
       {.disabled = true, .hot = true},
       324,
       2},
      {"disabled without option 8 but pressed",
       kSicnShowPressed,
       {.disabled = true, .selected = true},
       325,
       3},
      {"pressed without option 2 shows focus",
       kSicnShowFocused,
       {.selected = true, .focused = true},
       326,
       3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(SicnBitmapId(kSicnBitmapBase, r.options, r.state), r.bitmap);
    EXPECT_EQ(SicnThemeState(r.options, r.state), r.themeState);
  }
  EXPECT_EQ(SicnBitmapId(500, all, {.focused = true}), 502);
}

TEST(SicnButton, BitmapIdForDpi) {
  struct Row {
    int id, dpi, expected;
  };
  for (const Row& r : {Row{324, 96, 324}, Row{324, 144, 1324}, Row{327, 144, 1327},
                       Row{325, 119, 325}, Row{325, 120, 1325}, Row{354, 192, 1354},
                       Row{354, 96, 354}, Row{328, 144, 328}, Row{323, 144, 323}}) {
    SCOPED_TRACE(r.id * 1000 + r.dpi);
    EXPECT_EQ(BitmapIdForDpi(r.id, r.dpi), r.expected);
  }
}

TEST(BmpTxtButton, CaptionGlyphStateAndColour) {
  EXPECT_EQ(StripAmpersands(L"&Help"), L"Help");
  EXPECT_EQ(StripAmpersands(L"Fi&t && more&"), L"Fit  more");
  EXPECT_EQ(StripAmpersands(L""), L"");

  EXPECT_EQ(BmpTxtGlyphState(true, true, false), 1);
  EXPECT_EQ(BmpTxtGlyphState(true, true, true), 1);
  EXPECT_EQ(BmpTxtGlyphState(true, false, true), 2);
  EXPECT_EQ(BmpTxtGlyphState(false, true, true), 2);
  EXPECT_EQ(BmpTxtGlyphState(false, true, false), 0);
  EXPECT_EQ(BmpTxtGlyphState(true, false, false), 0);

  EXPECT_EQ(BmpTxtTextColour(false, true), ColourRole::ButtonText);
  EXPECT_EQ(BmpTxtTextColour(false, false), ColourRole::ButtonText);
  EXPECT_EQ(BmpTxtTextColour(true, true), ColourRole::ButtonShadow);
  EXPECT_EQ(BmpTxtTextColour(true, false), ColourRole::GrayText);
}

TEST(BmpTxtButton, Layout) {
  const Rect client{0, 0, 75, 23};
  EXPECT_EQ(BmpTxtTextWidth(client, {16, 16}, 96), 75 - 8 - 16 - 4);
  EXPECT_EQ(BmpTxtTextWidth({0, 0, 113, 35}, {24, 24}, 144), 113 - 12 - 24 - 6);
  EXPECT_EQ(BmpTxtTextWidth(client, {}, 96), 67);
  EXPECT_EQ(BmpTxtTextWidth({0, 0, 10, 10}, {16, 16}, 96), 1);

  struct Row {
    const char* what;
    Rect client;
    Size glyph, text;
    bool pressed;
    int dpi;
    BmpTxtLayout expected;
  };
  const Row rows[] = {
      // 16 + 4 + 25 = 45 wide, 15 pixels left and right of it.
      {"glyph and text", client, {16, 16}, {25, 13}, false, 96, {{15, 3, 31, 19}, {35, 5, 60, 18}}},
      {"pressed", client, {16, 16}, {25, 13}, true, 96, {{16, 4, 32, 20}, {36, 6, 61, 19}}},
      {"at 144 dpi",
       {0, 0, 113, 35},
       {24, 24},
       {38, 20},
       false,
       144,
       {{22, 5, 46, 29}, {52, 7, 90, 27}}},
      {"glyph only", client, {16, 16}, {}, false, 96, {{29, 3, 45, 19}, {45, 11, 45, 11}}},
      {"text only", client, {}, {25, 13}, false, 96, {{25, 11, 25, 11}, {25, 5, 50, 18}}},
      {"offset client",
       {10, 20, 85, 43},
       {16, 16},
       {25, 13},
       false,
       96,
       {{25, 23, 41, 39}, {45, 25, 70, 38}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(LayOutBmpTxt(r.client, r.glyph, r.text, r.pressed, r.dpi), r.expected);
  }
}

// out = [r g b a 1] x M, as GDI+ applies it.
std::array<double, 4> Apply(const ColourMatrix& m, std::array<double, 4> rgba) {
  std::array<double, 4> out{};
  for (int j = 0; j < 4; ++j) {
    out[j] = m[4][j];
    for (int i = 0; i < 4; ++i)
      out[j] += rgba[i] * m[i][j];
  }
  return out;
}

TEST(GreyTone, MatrixEntries) {
  const ColourMatrix m = GreyToneMatrix();
  const float red = 0.246264590f, greenBlue = 0.222883099f, lift = 0.307969212f;
  const float expected[5][5] = {{red, red, red, 0, 0},
                                {greenBlue, greenBlue, greenBlue, 0, 0},
                                {greenBlue, greenBlue, greenBlue, 0, 0},
                                {0, 0, 0, 1, 0},
                                {lift, lift, lift, 0, 1}};
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      EXPECT_NEAR(m[i][j], expected[i][j], 1e-7) << i << "," << j;
}

TEST(GreyTone, WeightsAreTheRotatedGreyAxis) {
  const auto w = GreyToneWeights();
  // The rotated blue axis is a unit vector.
  EXPECT_NEAR(w[0] * w[0] + w[1] * w[1] + w[2] * w[2], 1.0, 1e-15);
  EXPECT_DOUBLE_EQ(w[0], std::sin(kGreyToneRotationY));
  EXPECT_DOUBLE_EQ(w[1], w[2]);
  // At atan(1 / sqrt 2) the axis would be exactly grey; at 38 degrees red weighs a little more.
  EXPECT_GT(w[0], w[1]);
  EXPECT_NEAR(w[0] / w[1], std::tan(kGreyToneRotationY) * std::sqrt(2.0), 1e-12);
}

TEST(GreyTone, EveryColourBecomesGreyAndWhiteStaysWhite) {
  const ColourMatrix m = GreyToneMatrix();
  const std::array<double, 4> colours[] = {{1, 0, 0, 1},         {0, 1, 0, 1}, {0, 0, 1, 1},
                                           {0.2, 0.6, 0.9, 0.5}, {0, 0, 0, 1}, {1, 1, 1, 1}};
  for (const auto& c : colours) {
    const auto out = Apply(m, c);
    EXPECT_DOUBLE_EQ(out[0], out[1]);
    EXPECT_DOUBLE_EQ(out[1], out[2]);
    EXPECT_DOUBLE_EQ(out[3], c[3]); // alpha untouched
    EXPECT_GE(out[0], 0.30);
    EXPECT_LE(out[0], 1.0 + 1e-6);
  }
  EXPECT_NEAR(Apply(m, {1, 1, 1, 1})[0], 1.0, 1e-6);
  EXPECT_NEAR(Apply(m, {0, 0, 0, 1})[0], 0.307969212, 1e-7);
  // Brighter inputs stay brighter: the order of greys is kept.
  EXPECT_LT(Apply(m, {0.2, 0.2, 0.2, 1})[0], Apply(m, {0.7, 0.7, 0.7, 1})[0]);
  // Red, the heaviest weight, gives a lighter grey than blue of the same strength.
  EXPECT_GT(Apply(m, {1, 0, 0, 1})[0], Apply(m, {0, 0, 1, 1})[0]);
}

} // namespace
} // namespace TarnControls

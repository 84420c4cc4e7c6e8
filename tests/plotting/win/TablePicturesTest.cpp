#include "plotting/win/Table2D.h"

#include "GuiDriver.h"
#include "foundation/win/UniqueHandle.h"
#include "plotting/GraphLayout.h"
#include "plotting/win/TabulatedData.h"
#include "window/Geometry.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace GUILib {
namespace {

using Tarn::ComPtr;
using namespace std::chrono_literals;

// What an enhanced metafile says: each text drawn, with the weight of the font it was drawn in.
struct DrawnText {
  std::wstring text;
  LONG weight = 0;
};

std::vector<DrawnText> TextsOf(HENHMETAFILE emf) {
  struct State {
    std::map<DWORD, LONG> fonts; // handle index -> weight
    LONG current = 0;
    std::vector<DrawnText> texts;
  } state;
  ::EnumEnhMetaFile(
      nullptr, emf,
      [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
        auto& s = *reinterpret_cast<State*>(data);
        if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
          const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
          s.fonts[font->ihFont] = font->elfw.elfLogFont.lfWeight;
        } else if (record->iType == EMR_SELECTOBJECT) {
          const auto* select = reinterpret_cast<const EMRSELECTOBJECT*>(record);
          if (auto f = s.fonts.find(select->ihObject); f != s.fonts.end())
            s.current = f->second;
        } else if (record->iType == EMR_EXTTEXTOUTW) {
          const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
          const auto* chars = reinterpret_cast<const wchar_t*>(
              reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
          s.texts.push_back({std::wstring(chars, text->emrtext.nChars), s.current});
        }
        return 1;
      },
      &state, nullptr);
  return state.texts;
}

ComPtr<CTabulatedData> PointsTable() {
  auto table = CTabulatedData::Create();
  EXPECT_EQ(table->AddColumn(L"", L""), S_OK);
  EXPECT_EQ(table->AddColumn(L"mV", L""), S_OK);
  EXPECT_EQ(table->AddColumn(L"mmHg", L""), S_OK);
  const float raw[] = {0.123456789f, 1.5f, 1234567.0f, 0.0f};
  const float fitted[] = {10.0f, -2.75f, 0.000123456789f, 0.0f};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(table->AppendValue(0, static_cast<float>(i + 1)), S_OK);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(table->AppendValue(1, raw[i]), S_OK);
    EXPECT_EQ(table->AppendValue(2, fitted[i]), S_OK);
  }
  return table;
}

TEST(TableMetafile, HoldsTheHeaderAndSixDigitValuesWithTheBoldRow) {
  auto data = PointsTable();
  Table2D table;
  table.SetSource(data.get());
  table.SetColumnWidths({0.15, 0.425, 0.425});
  // The force-origin row: grid row 4 (the header is row 0).
  table.SetBoldRows({4});

  Tarn::unique_window_dc screen = Tarn::unique_window_dc::Get(nullptr);
  HDC recording = ::CreateEnhMetaFileW(screen.get(), nullptr, nullptr, nullptr);
  ASSERT_NE(recording, nullptr);
  table.Paint(recording, RECT{0, 0, 400, 400});
  Tarn::unique_henhmetafile emf(::CloseEnhMetaFile(recording));
  ASSERT_TRUE(emf);

  const std::vector<DrawnText> texts = TextsOf(emf.get());
  std::vector<std::wstring> words;
  for (const DrawnText& t : texts)
    words.push_back(t.text);
  // Column by column: the title (none for the first), then each value, "*" where a column ended.
  const std::vector<std::wstring> expected = {L"1",        L"2",     L"3",           L"*", L"mV",
                                              L"0.123457", L"1.5",   L"1.23457e+06", L"0", L"mmHg",
                                              L"10",       L"-2.75", L"0.000123457", L"0"};
  EXPECT_EQ(words, expected);
  for (const DrawnText& t : texts) {
    const bool boldRow = t.text == L"*" || (t.text == L"0");
    EXPECT_EQ(t.weight, boldRow ? FW_BOLD : FW_NORMAL) << std::string(t.text.begin(), t.text.end());
  }
}

// A top-level window holding one table, as the curve window places it.
class TableParent : public Tarn::Window::BaseWindow<TableParent> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalTableTestParent";
  HWND Create(int width, int height) {
    return CreateWindowHandle(0, L"Table", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr);
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
      RECT r;
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_WINDOW));
      return 1;
    }
    return DefaultHandle(message, wParam, lParam);
  }
};

TEST(TablePictures, PointsTableWithTheBoldRow) {
  const int dpi = GuiDriver::ExpectedDpi();
  const auto scaled = [dpi](int v) { return Tarn::Window::Scale(v, dpi); };
  auto data = PointsTable();
  TableParent parent;
  ASSERT_NE(parent.Create(scaled(300), scaled(160)), nullptr);
  Table2D table;
  ASSERT_TRUE(table.Create(parent.hwnd(), RECT{0, 0, scaled(300), scaled(160)}, 312));
  table.SetSource(data.get());
  table.SetColumnWidths({0.15, 0.425, 0.425});
  table.SetBoldRows({4});
  ::UpdateWindow(table.hwnd());
  GuiDriver::Pump(100ms);

  const GuiDriver::Picture picture = GuiDriver::Capture(table.hwnd());
  ASSERT_GT(picture.width, 0);
  const int h = table.RowHeight();
  ASSERT_GT(h, 0);
  // The frame, the line under the header, and window-coloured space inside a cell.
  EXPECT_EQ(picture.At(0, 0), 0u);
  // The frame closes under the last whole row; the rest of the window is left blank.
  const int closing = TableWholeRowsBottom(0, picture.height, h) - 1;
  EXPECT_EQ(picture.At(picture.width / 2, closing), 0u);
  for (int y = closing + 1; y < picture.height; ++y)
    EXPECT_NE(picture.At(picture.width / 2, y), 0u) << y;
  EXPECT_EQ(picture.At(picture.width / 2, h), 0u);
  EXPECT_EQ(picture.At(picture.width / 2, 2 * h), 0u);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const std::uint32_t background =
      (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
  EXPECT_EQ(picture.At(3, h + 2), background);
  // The second column's left edge.
  const int split = static_cast<int>(picture.width * 0.15);
  EXPECT_EQ(picture.At(split, h + h / 2), 0u);
  EXPECT_FALSE(
      GuiDriver::CaptureToPng(table.hwnd(), L"table-points-" + std::to_wstring(dpi)).empty());

  // The bold row's text has heavier strokes than the same row drawn plain. Wine's own Tahoma Bold
  // draws heavier strokes only at the sizes of its bitmap strikes (up to 16 pixels); at 144 dpi
  // the text is 18 pixels high and measured the same ink either way, so the look is compared at
  // 96 dpi, and the weight the table asks for is checked in the metafile test.
  if (dpi != 96)
    return;
  const auto inkInRow = [h](const GuiDriver::Picture& p, int row) {
    int dark = 0;
    for (int y = row * h + 2; y < (row + 1) * h - 1; ++y)
      for (int x = 2; x < p.width - 2; ++x)
        if ((p.At(x, y) & 0xFF) < 0x80)
          ++dark;
    return dark;
  };
  const int boldInk = inkInRow(picture, 4);
  table.SetBoldRows({});
  ::UpdateWindow(table.hwnd());
  GuiDriver::Pump(50ms);
  const int plainInk = inkInRow(GuiDriver::Capture(table.hwnd()), 4);
  EXPECT_GT(boldInk, plainInk + plainInk / 5) << "bold " << boldInk << ", plain " << plainInk;
}

} // namespace
} // namespace GUILib

#include "controls/win/UnitItemDrawing.h"

#include "foundation/win/ResourceStrings.h"
#include "units/UnitPrefixes.h"
#include "window/win/Dpi.h"
#include "window/win/Module.h"

namespace TarnControls {

namespace {
constexpr UINT kNoUnitString = 281;
constexpr int kNameGap = 2;
} // namespace

std::wstring NoUnitLabel() {
  return Tarn::LoadResourceString(Tarn::Window::ModuleInstance(), kNoUnitString, false).str();
}

HFONT UnitItemPainter::Italic(HFONT regular) {
  if (!italic_ || italicFrom_ != regular) {
    LOGFONTW font{};
    if (!regular || !::GetObjectW(regular, sizeof font, &font))
      ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfItalic = TRUE;
    italic_.reset(::CreateFontIndirectW(&font));
    italicFrom_ = regular;
  }
  return italic_.get();
}

void UnitItemPainter::Draw(const DRAWITEMSTRUCT& draw, const Tarn::UnitInfo& unit, HFONT regular) {
  HDC dc = draw.hDC;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  RECT item = draw.rcItem;
  ::FillRect(dc, &item, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour =
      ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));

  RECT column = item;
  {
    Tarn::unique_select_object italic(dc, Italic(regular));
    SIZE wide{};
    ::GetTextExtentPoint32W(dc, L"  M", 3, &wide);
    column.right = column.left + wide.cx;
    const std::wstring prefix =
        unit.name.empty() ? std::wstring() : Tarn::PrefixCharacter(unit.prefixIndex);
    if (!prefix.empty())
      ::DrawTextW(dc, prefix.c_str(), static_cast<int>(prefix.size()), &column,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT name = item;
  name.left = column.right + Tarn::Window::ScaleForWindow(draw.hwndItem, kNameGap);
  {
    Tarn::unique_select_object font(dc, regular ? regular : ::GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = unit.name.empty() ? NoUnitLabel() : unit.name;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &name,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
  if (selected && (draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT))
    ::DrawFocusRect(dc, &item);
}

} // namespace TarnControls

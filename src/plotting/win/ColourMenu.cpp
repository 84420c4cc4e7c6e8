#include "plotting/win/ColourMenu.h"

#include "foundation/ModuleStrings.h"
#include "plotting/GraphLayout.h"
#include "plotting/GraphStrings.h"
#include "plotting/win/SavedDc.h"
#include "window/win/WindowUtil.h"

namespace GUILib {

namespace {

Tarn::unique_hfont MenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return Tarn::unique_hfont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

} // namespace

std::wstring CColourMenu::EntryText(const TraceEntry& entry) {
  if (!entry.name.empty())
    return entry.name;
  return Tarn::ModuleString(kPlotNumberString) + L" " + std::to_wstring(entry.number);
}

unique_hmenu CColourMenu::Build(std::vector<TraceEntry> entries) {
  entries_ = std::move(entries);
  unique_hmenu menu(::CreatePopupMenu());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const UINT flags = MF_OWNERDRAW | (entries_[i].checked ? MF_CHECKED : MF_UNCHECKED);
    ::AppendMenuW(menu.get(), flags, kFirstCommand + i, reinterpret_cast<LPCWSTR>(i));
  }
  return menu;
}

const TraceEntry* CColourMenu::EntryFor(UINT command) const noexcept {
  if (command < kFirstCommand || command - kFirstCommand >= entries_.size())
    return nullptr;
  return &entries_[command - kFirstCommand];
}

std::optional<PlotKey> CColourMenu::KeyForCommand(UINT command) const noexcept {
  const TraceEntry* entry = EntryFor(command);
  if (!entry)
    return std::nullopt;
  return entry->key;
}

bool CColourMenu::Measure(HWND owner, MEASUREITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU)
    return false;
  const TraceEntry* entry = EntryFor(item.itemID);
  if (!entry)
    return false;
  Tarn::unique_window_dc dc = Tarn::unique_window_dc::Get(owner);
  Tarn::unique_hfont font = MenuFont();
  SavedDc saved(dc.get());
  ::SelectObject(dc.get(), font.get());
  const std::wstring text = EntryText(*entry);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  const Point size = ColourMenuEntrySize(::GetSystemMetrics(SM_CXMENUCHECK), extent.cx,
                                         ::GetSystemMetrics(SM_CYMENU));
  item.itemWidth = static_cast<UINT>(size.x);
  item.itemHeight = static_cast<UINT>(size.y);
  return true;
}

bool CColourMenu::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU)
    return false;
  const TraceEntry* entry = EntryFor(item.itemID);
  if (!entry)
    return false;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const bool checked = (item.itemState & ODS_CHECKED) != 0;
  const Rect whole = Tarn::Window::ToRect(item.rcItem);
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));

  const int checkWidth = ::GetSystemMetrics(SM_CXMENUCHECK);
  const int checkHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
  const ColourMenuEntryParts parts = LayoutColourMenuEntry(whole, checkWidth, checkHeight);
  SavedDc saved(dc);
  if (checked) {
    RECT mark = Tarn::Window::ToRECT(parts.checkMark);
    ::DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  Tarn::unique_hfont font = MenuFont();
  ::SelectObject(dc, font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(disabled   ? COLOR_GRAYTEXT
                                   : selected ? COLOR_HIGHLIGHTTEXT
                                              : COLOR_MENUTEXT));
  RECT text = Tarn::Window::ToRECT(parts.text);
  const std::wstring label = EntryText(*entry);
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  Tarn::unique_hbrush swatch(::CreateSolidBrush(entry->colour));
  const RECT square = Tarn::Window::ToRECT(parts.swatch);
  ::FillRect(dc, &square, swatch.get());
  return true;
}

} // namespace GUILib

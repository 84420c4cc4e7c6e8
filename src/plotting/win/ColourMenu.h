#pragma once
#include <windows.h>

#include "foundation/win/UniqueHandle.h"
#include "plotting/GraphModel.h"

#include <optional>
#include <string>
#include <vector>

namespace GUILib {

using unique_hmenu = Tarn::unique_any<Tarn::handle_traits<HMENU, &::DestroyMenu>>;

// The "Select Trace" submenu: one owner-drawn entry per plot with its name and a swatch of its
// colour, the plot the cursor follows checked. chosen: entry i carries command kFirstCommand + i,
// so the chosen command names its plot.
class CColourMenu {
public:
  static constexpr UINT kFirstCommand = 104;

  // A new popup for the entries; the caller hands it on to the menu it joins.
  unique_hmenu Build(std::vector<TraceEntry> entries);
  std::optional<PlotKey> KeyForCommand(UINT command) const noexcept;
  bool OwnsCommand(UINT command) const noexcept { return KeyForCommand(command).has_value(); }

  // The owner's WM_MEASUREITEM and WM_DRAWITEM for the entries; false for other items.
  bool Measure(HWND owner, MEASUREITEMSTRUCT& item) const;
  bool Draw(const DRAWITEMSTRUCT& item) const;

  // The entry's text: the plot's name, else "Plot Number" and its number.
  static std::wstring EntryText(const TraceEntry& entry);

private:
  const TraceEntry* EntryFor(UINT command) const noexcept;
  std::vector<TraceEntry> entries_;
};

} // namespace GUILib

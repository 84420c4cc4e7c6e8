#include "controls/win/UnitDialogs.h"

#include <windowsx.h>

#include <vector>

#include "foundation/win/ResourceStrings.h"
#include "window/win/Dpi.h"
#include "window/win/Module.h"

namespace TarnControls {

namespace {

std::wstring ModuleString(int id) {
  return Tarn::LoadResourceString(Tarn::Window::ModuleInstance(), static_cast<UINT>(id), false)
      .str();
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

} // namespace

AddUnitDlg::AddUnitDlg(Tarn::UnitInfo& unit) noexcept
    : Dialog({L"NEWUNITDLG"}), unit_(unit), model_(unit) {}

bool AddUnitDlg::OnInitDialog() {
  HWND combo = Item(kPrefixCombo);
  for (int entry = 0; entry < Tarn::kDefinePrefixEntries; ++entry)
    ComboBox_AddString(combo, Tarn::DefinePrefixEntryText(entry).c_str());
  ComboBox_SetCurSel(combo, model_.PrefixEntry());
  ::SetWindowTextW(Item(kUnitEdit), model_.Name().c_str());
  provider_.Attach(hwnd());
  provider_.SetTitle(ModuleString(Tarn::kInvalidUnitTitleString));
  provider_.SetText(ModuleString(Tarn::kUnitNeedsNameString));
  Update();
  return true;
}

void AddUnitDlg::Update() {
  model_.SetPrefixEntry(ComboBox_GetCurSel(Item(kPrefixCombo)));
  model_.SetName(WindowText(Item(kUnitEdit)));
  ::SetWindowTextW(Item(kExample),
                   model_.ExampleText(ModuleString(Tarn::kExampleString), std::locale()).c_str());
  ::EnableWindow(Item(IDOK), model_.Valid());
  provider_.Show(!model_.Valid());
}

bool AddUnitDlg::OnCommand(int id, int code, HWND control) {
  if ((id == kPrefixCombo && code == CBN_SELCHANGE) || (id == kUnitEdit && code == EN_CHANGE)) {
    Update();
    return true;
  }
  if (id == IDOK) {
    Update();
    if (!model_.Valid())
      return true;
    unit_ = model_.Unit();
    End(IDOK);
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

DeleteUnitsDlg::DeleteUnitsDlg(HostUnitList& list, Host::IUnitNotifyTarget* notifyTarget)
    : Dialog({L"DELUNITDLG"}), list_(list), notifyTarget_(notifyTarget), model_(list.Units()) {}

bool DeleteUnitsDlg::OnInitDialog() {
  HWND box = Item(kUnitList);
  for (const auto& line : model_.Lines()) {
    const int at = ListBox_AddString(box, line.text.c_str());
    ListBox_SetItemData(box, at, line.position);
  }
  return true;
}

INT_PTR DeleteUnitsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM && wParam == kUnitList) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measure.itemHeight = static_cast<UINT>(Tarn::Window::ScaleForWindow(hwnd(), 16));
    SetMessageResult(TRUE);
    return TRUE;
  }
  if (message == WM_DRAWITEM && wParam == kUnitList) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.itemID != static_cast<UINT>(-1) && draw.itemID < model_.Lines().size())
      painter_.Draw(draw, model_.Lines()[draw.itemID].unit,
                    reinterpret_cast<HFONT>(::SendMessageW(draw.hwndItem, WM_GETFONT, 0, 0)));
    else if (draw.itemState & ODS_FOCUS)
      ::DrawFocusRect(draw.hDC, &draw.rcItem);
    SetMessageResult(TRUE);
    return TRUE;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

void DeleteUnitsDlg::DeleteSelected() {
  HWND box = Item(kUnitList);
  const int count = ListBox_GetSelCount(box);
  if (count <= 0)
    return;
  std::vector<int> selected(static_cast<std::size_t>(count));
  const int got = ListBox_GetSelItems(box, count, selected.data());
  selected.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  for (int line : model_.DeleteLines(selected))
    ListBox_DeleteString(box, line);
}

bool DeleteUnitsDlg::OnCommand(int id, int code, HWND control) {
  if (id == kDelete && code == BN_CLICKED) {
    DeleteSelected();
    return true;
  }
  if (id == IDOK) {
    for (const Tarn::UnitInfo& unit : model_.Commit(list_))
      // An announcement the host does not take leaves the unit removed all the same.
      (void)AnnounceUnit(notifyTarget_, unit, UnitAnnouncementKind::Deleted);
    End(IDOK);
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

} // namespace TarnControls

#include "controls/win/UnitsControl.h"

#include "controls/win/UnitDialogs.h"
#include "foundation/win/ResourceStrings.h"
#include "window/win/Dpi.h"
#include "window/win/Module.h"

namespace TarnControls {

namespace {
constexpr UINT kDefineString = 255;
constexpr UINT kDeleteString = 256;
constexpr int kDroppedWidth = 105;
} // namespace

void UnitsControl::Show(int line) {
  ResetContent();
  for (const Tarn::UnitLine& item : model_.Lines()) {
    switch (item.kind) {
    case Tarn::UnitLineKind::Unit: {
      const int at = AddString(item.text);
      ::SendMessageW(hwnd(), CB_SETITEMDATA, static_cast<WPARAM>(at), item.position);
      break;
    }
    case Tarn::UnitLineKind::Separator:
      AddSpecialItem();
      break;
    case Tarn::UnitLineKind::DefineCommand:
    case Tarn::UnitLineKind::DeleteCommand:
      AddString(Tarn::LoadResourceString(
                    Tarn::Window::ModuleInstance(),
                    item.kind == Tarn::UnitLineKind::DefineCommand ? kDefineString : kDeleteString,
                    false)
                    .str());
      break;
    }
  }
  ::SendMessageW(hwnd(), CB_SETDROPPEDWIDTH,
                 static_cast<WPARAM>(Tarn::Window::ScaleForWindow(hwnd(), kDroppedWidth)), 0);
  SetSelection(line);
}

void UnitsControl::Refill() {
  Show(model_.Refill(&list_));
}

void UnitsControl::SelectUnit(const Tarn::UnitInfo& unit) {
  const std::size_t before = model_.Lines().size();
  const int line = model_.SelectUnit(&list_, unit);
  if (model_.Lines().size() != before || Count() != static_cast<int>(model_.Lines().size()))
    Show(line);
  else
    SetSelection(line);
}

Tarn::UnitInfo UnitsControl::RunDefine() {
  Tarn::UnitInfo unit;
  AddUnitDlg dialog(unit);
  if (dialog.DoModal(::GetParent(hwnd())) != IDOK)
    return {};
  return unit;
}

void UnitsControl::OnSelectionChanged() {
  const Tarn::UnitInfo before = model_.CurrentUnit();
  const Tarn::UnitSelectionOutcome outcome = model_.SelectionChanged(&list_, GetSelection());
  SetSelection(outcome.line);
  if (outcome.runDefine) {
    const Tarn::UnitInfo unit = RunDefine();
    if (!unit.name.empty()) {
      Show(model_.Defined(&list_, unit));
      // The unit is defined whether the host hears of it or not.
      (void)AnnounceUnit(notifyTarget_.get(), unit, UnitAnnouncementKind::Defined);
    }
  } else if (outcome.runDelete) {
    DeleteUnitsDlg dialog(list_, notifyTarget_.get());
    if (dialog.DoModal(::GetParent(hwnd())) == IDOK)
      Show(model_.Deleted(&list_));
  }
  if (!(model_.CurrentUnit() == before) && onChange_)
    onChange_();
}

std::set<std::wstring> UnitsControl::WholeUnits(const std::wstring& ownUnit) {
  return Tarn::WholeUnitNames(list_.Units(), ownUnit);
}

void UnitsControl::DrawItem(const DRAWITEMSTRUCT& draw) {
  const int line = static_cast<int>(draw.itemID);
  const auto& lines = model_.Lines();
  // A current unit without a line (no unit, or one the list refused) still shows in the field.
  if (draw.itemID == static_cast<UINT>(-1) && (draw.itemState & ODS_COMBOBOXEDIT)) {
    painter_.Draw(draw, model_.CurrentUnit(),
                  reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    return;
  }
  if (draw.itemID == static_cast<UINT>(-1) || line >= static_cast<int>(lines.size()) ||
      lines[line].kind != Tarn::UnitLineKind::Unit) {
    MenuCombo::DrawItem(draw);
    return;
  }
  painter_.Draw(draw, lines[line].unit,
                reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
}

} // namespace TarnControls

#pragma once
#include <windows.h>

#include <functional>
#include <set>

#include "controls/win/HostUnitList.h"
#include "controls/win/MenuCombo.h"
#include "controls/win/UnitItemDrawing.h"
#include "units/UnitsControlModel.h"

namespace TarnControls {

// The drop-down list of units: the host's units by display name, then (unless read-only) a
// separator and "Define Unit..." and "Delete Unit...", which run the Define Unit and Delete Unit
// dialogs. The owner forwards the combo's CBN_SELCHANGE to OnSelectionChanged and hears of a new
// current unit through the change callback.
class UnitsControl : public MenuCombo {
public:
  UnitsControl() = default;

  void SetCollection(Tarn::ComPtr<Host::IUnitCollection> collection) {
    list_ = HostUnitList(std::move(collection));
  }
  void SetNotifyTarget(Tarn::ComPtr<Host::IUnitNotifyTarget> target) {
    notifyTarget_ = std::move(target);
  }
  void SetReadOnly(bool readOnly) noexcept { model_.SetReadOnly(readOnly); }
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  void Refill();
  void SelectUnit(const Tarn::UnitInfo& unit);
  void OnSelectionChanged();
  Tarn::UnitInfo GetUnit() const { return model_.CurrentUnit(); }
  // The names a field beside this control reads back whole (with the field's own unit).
  std::set<std::wstring> WholeUnits(const std::wstring& ownUnit = {});

  const Tarn::UnitsControlModel& Model() const noexcept { return model_; }

protected:
  void DrawItem(const DRAWITEMSTRUCT& draw) override;

private:
  // Shows the model's lines and selects `line`.
  void Show(int line);
  Tarn::UnitInfo RunDefine();

  HostUnitList list_{nullptr};
  Tarn::ComPtr<Host::IUnitNotifyTarget> notifyTarget_;
  Tarn::UnitsControlModel model_;
  std::function<void()> onChange_;
  UnitItemPainter painter_;
};

} // namespace TarnControls

#pragma once
#include <windows.h>

#include "controls/win/ErrorProvider.h"
#include "controls/win/HostUnitList.h"
#include "controls/win/UnitItemDrawing.h"
#include "units/DefineUnitModel.h"
#include "units/DeleteUnitsModel.h"
#include "window/win/Dialog.h"

namespace TarnControls {

// Define Unit (NEWUNITDLG): prefix combo 102, unit edit 103, example 104, error provider 105.
// OK hands the unit back through the caller's UnitInfo; Cancel leaves it as it was.
class AddUnitDlg : public Tarn::Window::Dialog {
public:
  static constexpr int kPrefixCombo = 102;
  static constexpr int kUnitEdit = 103;
  static constexpr int kExample = 104;

  explicit AddUnitDlg(Tarn::UnitInfo& unit) noexcept;

  const ErrorProvider& Provider() const noexcept { return provider_; }

protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

private:
  void Update();

  Tarn::UnitInfo& unit_;
  Tarn::DefineUnitModel model_;
  ErrorProvider provider_;
};

// Delete Unit (DELUNITDLG): the owner-drawn extended-selection list 101 of the named units,
// "&Delete" 102, OK and Cancel. OK removes the units taken off the list and announces each.
class DeleteUnitsDlg : public Tarn::Window::Dialog {
public:
  static constexpr int kUnitList = 101;
  static constexpr int kDelete = 102;

  DeleteUnitsDlg(HostUnitList& list, Host::IUnitNotifyTarget* notifyTarget);

protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

private:
  void DeleteSelected();

  HostUnitList& list_;
  Host::IUnitNotifyTarget* notifyTarget_;
  Tarn::DeleteUnitsModel model_;
  UnitItemPainter painter_;
};

} // namespace TarnControls

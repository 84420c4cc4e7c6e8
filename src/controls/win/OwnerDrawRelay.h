#pragma once
#include <windows.h>

#include "controls/MenuComboModel.h"
#include "window/win/ControlSubclass.h"

namespace TarnControls {

// What an owner-drawn control does with the owner-draw messages its parent receives.
class OwnerDrawTarget {
public:
  virtual void MeasureItem(MEASUREITEMSTRUCT&) {}
  virtual void DrawItem(const DRAWITEMSTRUCT&) = 0;

protected:
  ~OwnerDrawTarget() = default;
};

// Hands the parent's WM_MEASUREITEM and WM_DRAWITEM for one control back to the control's
// object, so a control draws itself whatever its parent is. Subclasses the parent; several relays
// can share one parent. The measuring a control asks for while it is being created reaches its
// parent before any relay exists: controls apply their measured sizes themselves when attached.
class OwnerDrawRelay : private Tarn::Window::ControlSubclass {
public:
  explicit OwnerDrawRelay(OwnerDrawTarget& target) noexcept : target_(target) {}
  bool Attach(HWND control) noexcept;
  void Detach() noexcept { ControlSubclass::Detach(); }

private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  OwnerDrawTarget& target_;
  HWND control_ = nullptr;
};

// The colour of a role of the controls' drawing decisions.
COLORREF RoleColour(ColourRole role) noexcept;
// Fills `r` with one colour, leaving the DC as it was.
void FillSolid(HDC dc, const RECT& r, COLORREF colour) noexcept;

} // namespace TarnControls

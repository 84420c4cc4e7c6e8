#pragma once
#include <windows.h>

#include "controls/MenuComboModel.h"
#include "controls/win/OwnerDrawRelay.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/ControlSubclass.h"

#include <string>
#include <string_view>

namespace TarnControls {

inline constexpr const wchar_t* kMenuComboClassName = L"MenuCombo";

// The class "MenuCombo": the system's "ComboBox" class (`system`) with `instance` and its own
// name; when the system class could not be read, a plain class with style 131 and the background
// brush of colour index 16.
WNDCLASSEXW MenuComboClassFrom(const WNDCLASSEXW* system, HINSTANCE instance) noexcept;

// A drop-down list drawn and navigated like a menu: items can be separators (empty text) or
// headings, which cannot be chosen with the keyboard, the mouse or the wheel. Works on an
// owner-drawn (fixed, with strings) drop-down list of a template, or on one it creates.
class MenuCombo : private OwnerDrawTarget {
public:
  MenuCombo() noexcept;
  MenuCombo(const MenuCombo&) = delete;
  MenuCombo& operator=(const MenuCombo&) = delete;
  virtual ~MenuCombo();

  // Registers the class "MenuCombo" in the module (once), so templates can name it.
  static bool RegisterWindowClass() noexcept;

  bool Attach(HWND combo) noexcept;
  bool Attach(HWND parent, int id) noexcept { return Attach(::GetDlgItem(parent, id)); }
  // A "MenuCombo" child of `parent`; `bounds` in the parent's client coordinates, its height
  // that of the open list.
  HWND Create(HWND parent, int id, const RECT& bounds) noexcept;

  HWND hwnd() const noexcept { return mCombo.hwnd(); }
  HWND ListWindow() const noexcept { return mList.hwnd(); }

  int AddString(std::wstring_view text) noexcept;
  int InsertString(int index, std::wstring_view text) noexcept;
  bool DeleteString(int index) noexcept;
  // A heading (with text) or a separator (empty text), added at the end.
  int AddSpecialItem(std::wstring_view text = {}) noexcept;
  void ResetContent() noexcept;
  bool IsSpecial(int index) const noexcept { return mSpecialItems.Contains(index); }
  const SpecialItems& Specials() const noexcept { return mSpecialItems; }
  int Count() const noexcept;
  int GetSelection() const noexcept;
  bool SetSelection(int index) noexcept;
  std::wstring ItemText(int index) const;
  int ItemHeight() const noexcept { return mItemHeight; }

protected:
  // Draws one item as a menu entry; a derived control draws its own items and calls this for
  // the rest.
  void DrawItem(const DRAWITEMSTRUCT& draw) override;
  void MeasureItem(MEASUREITEMSTRUCT& measure) override;
  // (text height + external leading of the control's font) x 1.25.
  int MeasureItemHeight() const noexcept;

private:
  class ComboPart : public Tarn::Window::ControlSubclass {
  public:
    explicit ComboPart(MenuCombo& owner) noexcept : owner_(owner) {}

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    MenuCombo& owner_;
  };

public:
  // The drop-down list: arrow keys skip special items, clicks on them are swallowed.
  class MenuComboLBox : public Tarn::Window::ControlSubclass {
  public:
    explicit MenuComboLBox(MenuCombo& owner) noexcept : owner_(owner) {}

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    MenuCombo& owner_;
  };

private:
  friend class ComboPart;
  friend class MenuComboLBox;

  // Applies the measured height to the items and, the first time, to the selection field.
  void ApplyItemHeight() noexcept;
  // Moves the closed combo's selection for a navigation key, skipping special items; false for a
  // key that is not one.
  bool MoveClosedSelection(unsigned virtualKey) noexcept;
  void SelectAndNotify(int index) noexcept;
  HFONT BoldFont() noexcept;

  ComboPart mCombo{*this};
  MenuComboLBox mList{*this};
  OwnerDrawRelay mRelay{*this};
  SpecialItems mSpecialItems;
  bool mItemHeightSet = false;
  int mItemHeight = 0;
  Tarn::unique_hfont mBoldFont;
  HFONT mBoldFrom = nullptr;
};

} // namespace TarnControls

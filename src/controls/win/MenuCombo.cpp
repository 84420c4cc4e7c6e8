#include "controls/win/MenuCombo.h"

#include "window/win/Dpi.h"
#include "window/win/Module.h"
#include "window/win/WindowUtil.h"

#include <windowsx.h>

#include <vector>

namespace TarnControls {
namespace {

HFONT ControlFont(HWND hwnd) noexcept {
  return reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
}

int ListItemAt(HWND list, LPARAM point) noexcept {
  RECT client{};
  ::GetClientRect(list, &client);
  const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  if (!::PtInRect(&client, p))
    return -2; // outside the list: not a click on an item
  const LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, point);
  return HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
}

} // namespace

WNDCLASSEXW MenuComboClassFrom(const WNDCLASSEXW* system, HINSTANCE instance) noexcept {
  WNDCLASSEXW wc{};
  if (system) {
    wc = *system;
    // A class of this module only, not one every module of the host process would see.
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    wc.lpszMenuName = nullptr;
  } else {
    wc.style = 131;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(16));
  }
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.lpszClassName = kMenuComboClassName;
  return wc;
}

MenuCombo::MenuCombo() noexcept = default;

MenuCombo::~MenuCombo() {
  mList.Detach();
  mRelay.Detach();
  mCombo.Detach();
}

bool MenuCombo::RegisterWindowClass() noexcept {
  const HINSTANCE instance = Tarn::Window::ModuleInstance();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(instance, kMenuComboClassName, &existing))
    return true;
  auto context = Tarn::Window::ActivateModuleContext();
  WNDCLASSEXW system{};
  system.cbSize = sizeof system;
  const bool haveSystem = ::GetClassInfoExW(nullptr, L"ComboBox", &system) != FALSE;
  const WNDCLASSEXW wc = MenuComboClassFrom(haveSystem ? &system : nullptr, instance);
  return ::RegisterClassExW(&wc) != 0;
}

bool MenuCombo::Attach(HWND combo) noexcept {
  if (!combo || hwnd() || !mCombo.Attach(combo))
    return false;
  mRelay.Attach(combo);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (::GetComboBoxInfo(combo, &info) && info.hwndList)
    mList.Attach(info.hwndList);
  ApplyItemHeight();
  return true;
}

HWND MenuCombo::Create(HWND parent, int id, const RECT& bounds) noexcept {
  if (hwnd() || !RegisterWindowClass())
    return nullptr;
  auto context = Tarn::Window::ActivateModuleContext();
  const HWND combo = ::CreateWindowExW(
      0, kMenuComboClassName, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
          CBS_HASSTRINGS,
      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Tarn::Window::ModuleInstance(), nullptr);
  if (!combo)
    return nullptr;
  ::SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(parent)), FALSE);
  if (!Attach(combo)) {
    ::DestroyWindow(combo);
    return nullptr;
  }
  return combo;
}

int MenuCombo::AddString(std::wstring_view text) noexcept {
  const std::wstring copy(text);
  return static_cast<int>(
      ::SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str())));
}

int MenuCombo::InsertString(int index, std::wstring_view text) noexcept {
  const std::wstring copy(text);
  return static_cast<int>(::SendMessageW(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(copy.c_str())));
}

bool MenuCombo::DeleteString(int index) noexcept {
  return ::SendMessageW(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0) != CB_ERR;
}

int MenuCombo::AddSpecialItem(std::wstring_view text) noexcept {
  const int index = AddString(text);
  if (index >= 0) {
    try {
      mSpecialItems.Add(index);
    } catch (...) {
      DeleteString(index);
      return CB_ERRSPACE;
    }
  }
  return index;
}

void MenuCombo::ResetContent() noexcept {
  ::SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
}

int MenuCombo::Count() const noexcept {
  return static_cast<int>(::SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
}

int MenuCombo::GetSelection() const noexcept {
  return static_cast<int>(::SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
}

bool MenuCombo::SetSelection(int index) noexcept {
  if (index >= 0 && mSpecialItems.Contains(index))
    return false;
  return ::SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR || index < 0;
}

std::wstring MenuCombo::ItemText(int index) const {
  const LRESULT length = ::SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0)
    return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

int MenuCombo::MeasureItemHeight() const noexcept {
  const auto dc = Tarn::unique_window_dc::Get(hwnd());
  if (!dc)
    return 0;
  Tarn::unique_select_object font(dc.get(), ControlFont(hwnd()));
  TEXTMETRICW metrics{};
  if (!::GetTextMetricsW(dc.get(), &metrics))
    return 0;
  return MenuComboItemHeight(metrics.tmHeight, metrics.tmExternalLeading);
}

void MenuCombo::ApplyItemHeight() noexcept {
  const int height = MeasureItemHeight();
  if (height <= 0)
    return;
  mItemHeight = height;
  ::SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, height);
  ::SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  mItemHeightSet = true;
}

void MenuCombo::MeasureItem(MEASUREITEMSTRUCT& measure) {
  const int height = MeasureItemHeight();
  if (height <= 0)
    return;
  mItemHeight = height;
  measure.itemHeight = static_cast<UINT>(height);
  if (!mItemHeightSet) {
    mItemHeightSet = true;
    ::SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  }
}

HFONT MenuCombo::BoldFont() noexcept {
  const HFONT font = ControlFont(hwnd());
  if (!mBoldFont || font != mBoldFrom) {
    LOGFONTW description{};
    if (!::GetObjectW(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT),
                      sizeof description, &description))
      return nullptr;
    description.lfWeight = FW_BOLD;
    mBoldFont.reset(::CreateFontIndirectW(&description));
    mBoldFrom = font;
  }
  return mBoldFont.get();
}

void MenuCombo::DrawItem(const DRAWITEMSTRUCT& draw) {
  const HDC dc = draw.hDC;
  const int index = static_cast<int>(draw.itemID);
  if (index < 0) {
    FillSolid(dc, draw.rcItem, RoleColour(ColourRole::Window));
    if (draw.itemState & ODS_FOCUS)
      ::DrawFocusRect(dc, &draw.rcItem);
    return;
  }
  const std::wstring text = ItemText(index);
  MenuItemState state;
  state.special = mSpecialItems.Contains(index);
  state.hasText = !text.empty();
  state.selected = (draw.itemState & ODS_SELECTED) != 0;
  state.focused = (draw.itemState & ODS_FOCUS) != 0;
  state.disabled = (draw.itemState & ODS_DISABLED) != 0;
  state.inSelectionField = (draw.itemState & ODS_COMBOBOXEDIT) != 0;
  const Rect item{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
  const MenuItemLook look =
      MenuComboItemLook(state, item, Tarn::Window::DpiOfWindow(draw.hwndItem));

  FillSolid(dc, draw.rcItem, RoleColour(look.background));
  if (look.kind == MenuItemKind::Separator) {
    FillSolid(dc, Tarn::Window::ToRECT(look.line), RoleColour(ColourRole::LightGrey));
    return;
  }
  Tarn::unique_select_object font(dc, look.bold ? BoldFont() : ControlFont(hwnd()));
  const COLORREF oldText = ::SetTextColor(dc, RoleColour(look.text));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  RECT textRect = Tarn::Window::ToRECT(look.textRect);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldText);
  if (look.focusRect)
    ::DrawFocusRect(dc, &draw.rcItem);
}

void MenuCombo::SelectAndNotify(int index) noexcept {
  ::SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const HWND parent = ::GetParent(hwnd());
  ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd()));
}

bool MenuCombo::MoveClosedSelection(unsigned virtualKey) noexcept {
  const int current = GetSelection();
  const int page = static_cast<int>(::SendMessageW(hwnd(), CB_GETMINVISIBLE, 0, 0));
  const auto target = ClosedComboKey(virtualKey, current, Count(), page, mSpecialItems);
  if (!target)
    return false;
  if (*target != current)
    SelectAndNotify(*target);
  return true;
}

LRESULT MenuCombo::ComboPart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto dropped = [this] { return ::SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != FALSE; };
  switch (message) {
  case WM_KEYDOWN:
    if (!dropped() && owner_.MoveClosedSelection(static_cast<unsigned>(wParam)))
      return 0;
    break;
  case WM_MOUSEWHEEL:
    if (!dropped()) {
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      if (delta != 0)
        owner_.MoveClosedSelection(delta > 0 ? VK_UP : VK_DOWN);
      return 0;
    }
    break;
  case WM_CHAR: {
    // Type-ahead can land on a heading: move on to the nearest item that can be chosen.
    const int before = owner_.GetSelection();
    const LRESULT result = DefaultHandle(message, wParam, lParam);
    const int after = owner_.GetSelection();
    if (after != before && owner_.IsSpecial(after)) {
      const int fixed = NextSelectable(before, after, owner_.Count(), owner_.mSpecialItems);
      if (fixed != after)
        owner_.SelectAndNotify(fixed);
    }
    return result;
  }
  case CB_ADDSTRING:
  case CB_INSERTSTRING: {
    const LRESULT index = DefaultHandle(message, wParam, lParam);
    if (index >= 0)
      owner_.mSpecialItems.Inserted(static_cast<int>(index));
    return index;
  }
  case CB_DELETESTRING: {
    const LRESULT remaining = DefaultHandle(message, wParam, lParam);
    if (remaining != CB_ERR)
      owner_.mSpecialItems.Deleted(static_cast<int>(wParam));
    return remaining;
  }
  case CB_RESETCONTENT:
    owner_.mSpecialItems.Clear();
    break;
  case WM_SETFONT: {
    const LRESULT result = DefaultHandle(message, wParam, lParam);
    owner_.ApplyItemHeight();
    return result;
  }
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

LRESULT MenuCombo::MenuComboLBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_KEYDOWN: {
    const int current = static_cast<int>(::SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
    const int count = static_cast<int>(::SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
    const ListKeyResult r =
        OpenListKey(static_cast<unsigned>(wParam), current, count, owner_.mSpecialItems);
    if (r.action == ListKeyAction::PassOn)
      break;
    if (r.action == ListKeyAction::Swallow)
      return 0;
    // The list makes the last step itself, so the combo hears of the change as from any key:
    // the item before the target (in the direction of the move) becomes current silently.
    const int step = r.item > current ? 1 : -1;
    const int before = r.item - step;
    if (before < 0 || before >= count) {
      ::SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(r.item), 0);
      return 0;
    }
    if (before != current)
      ::SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(before), 0);
    return DefaultHandle(message, step > 0 ? VK_DOWN : VK_UP, lParam);
  }
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK: {
    const int item = ListItemAt(hwnd(), lParam);
    if (item == -2)
      break;
    const int current = static_cast<int>(::SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
    if (SwallowListClick(item, current, owner_.mSpecialItems))
      return 0;
    break;
  }
  case WM_MOUSEMOVE: {
    // The highlight stays on the last item that can be chosen, as in a menu.
    const int item = ListItemAt(hwnd(), lParam);
    if (item >= 0 && owner_.IsSpecial(item))
      return 0;
    break;
  }
  default:
    break;
  }
  return DefaultHandle(message, wParam, lParam);
}

} // namespace TarnControls

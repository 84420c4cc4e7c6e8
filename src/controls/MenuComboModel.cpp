#include "controls/MenuComboModel.h"

#include <algorithm>
#include <cmath>

namespace TarnControls {
namespace {

constexpr unsigned kVkPrior = 0x21;
constexpr unsigned kVkNext = 0x22;
constexpr unsigned kVkEnd = 0x23;
constexpr unsigned kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDown = 0x28;

} // namespace

bool SpecialItems::Contains(int index) const noexcept {
  return std::binary_search(mIndices.begin(), mIndices.end(), index);
}

void SpecialItems::Add(int index) {
  const auto at = std::lower_bound(mIndices.begin(), mIndices.end(), index);
  if (at == mIndices.end() || *at != index)
    mIndices.insert(at, index);
}

void SpecialItems::Inserted(int index) noexcept {
  for (int& i : mIndices)
    if (i >= index)
      ++i;
}

void SpecialItems::Deleted(int index) noexcept {
  std::erase(mIndices, index);
  for (int& i : mIndices)
    if (i > index)
      --i;
}

int NearestSelectable(int from, int step, int count, const SpecialItems& specials) noexcept {
  for (int i = from; i >= 0 && i < count; i += step)
    if (!specials.Contains(i))
      return i;
  return -1;
}

int NextSelectable(int current, int proposed, int count, const SpecialItems& specials) noexcept {
  if (count <= 0)
    return -1;
  proposed = std::clamp(proposed, 0, count - 1);
  if (!specials.Contains(proposed))
    return proposed;
  const int step = (current >= 0 && proposed < current) ? -1 : 1;
  if (const int beyond = NearestSelectable(proposed, step, count, specials); beyond >= 0)
    return beyond;
  // Nothing selectable beyond: the nearest one back towards the start of the move, which is at
  // worst the current item itself.
  if (const int back = NearestSelectable(proposed, -step, count, specials); back >= 0)
    return back;
  return current;
}

ListKeyResult OpenListKey(unsigned virtualKey, int current, int count,
                          const SpecialItems& specials) noexcept {
  int step = 0;
  if (virtualKey == kVkLeft || virtualKey == kVkUp)
    step = -1;
  else if (virtualKey == kVkRight || virtualKey == kVkDown)
    step = 1;
  else
    return {};
  if (count <= 0)
    return {ListKeyAction::Swallow, -1};
  if (current < 0)
    current = step < 0 ? count : -1;
  const int from = current + step;
  if (from < 0 || from >= count)
    return {ListKeyAction::Swallow, -1};
  const int target = NearestSelectable(from, step, count, specials);
  if (target < 0)
    return {ListKeyAction::Swallow, -1};
  return {ListKeyAction::Select, target};
}

bool SwallowListClick(int itemAtPoint, int current, const SpecialItems& specials) noexcept {
  return specials.Contains(itemAtPoint >= 0 ? itemAtPoint : current);
}

std::optional<int> ClosedComboKey(unsigned virtualKey, int current, int count, int pageItems,
                                  const SpecialItems& specials) noexcept {
  const int page = std::max(1, pageItems);
  int proposed = 0;
  switch (virtualKey) {
  case kVkLeft:
  case kVkUp:
    proposed = current < 0 ? 0 : current - 1;
    break;
  case kVkRight:
  case kVkDown:
    proposed = current + 1;
    break;
  case kVkHome:
    proposed = 0;
    break;
  case kVkEnd:
    proposed = count - 1;
    break;
  case kVkPrior:
    proposed = current - page;
    break;
  case kVkNext:
    proposed = current + page;
    break;
  default:
    return std::nullopt;
  }
  if (count <= 0)
    return current;
  return NextSelectable(current, proposed, count, specials);
}

int MenuComboItemHeight(int textHeight, int externalLeading) noexcept {
  return static_cast<int>(std::lround((textHeight + externalLeading) * 1.25));
}

MenuItemLook MenuComboItemLook(const MenuItemState& state, const Rect& item, int dpi) noexcept {
  MenuItemLook look;
  if (state.special && !state.hasText) {
    look.kind = MenuItemKind::Separator;
    const int middle = item.top + item.Height() / 2;
    look.line = {item.left + 2, middle, item.right - 2, middle + 1};
    look.textRect = item;
    return look;
  }
  int indent = kMenuItemIndent;
  if (state.special) {
    look.kind = MenuItemKind::Heading;
    look.bold = true;
    indent = kMenuHeadingIndent;
  } else if (state.inSelectionField) {
    indent = kSelectionFieldIndent;
  }
  look.textRect = {item.left + Tarn::Window::Scale(indent, dpi), item.top, item.right, item.bottom};
  if (state.disabled) {
    look.text = ColourRole::GrayText;
    return look;
  }
  if (state.selected && look.kind == MenuItemKind::Ordinary) {
    look.background = ColourRole::Highlight;
    look.text = ColourRole::HighlightText;
    look.focusRect = state.focused;
  }
  return look;
}

} // namespace TarnControls

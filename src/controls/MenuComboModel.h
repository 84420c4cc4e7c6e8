#pragma once
#include "window/Geometry.h"

#include <optional>
#include <vector>

namespace TarnControls {

using Tarn::Window::Rect;

// The items of a menu combo that cannot be chosen: a separator (empty text) or a heading. Kept
// sorted and in step with insertions and deletions in the list.
class SpecialItems {
public:
  bool Contains(int index) const noexcept;
  void Add(int index);
  void Clear() noexcept { mIndices.clear(); }
  // An item was inserted at `index`: the items from there on move down by one.
  void Inserted(int index) noexcept;
  // The item at `index` was deleted: it stops being special and the items after it move up.
  void Deleted(int index) noexcept;
  const std::vector<int>& Indices() const noexcept { return mIndices; }

private:
  std::vector<int> mIndices;
};

// The first selectable item met from `from` (included) stepping by `step` (+1 or -1) inside
// 0..count-1; -1 when there is none.
int NearestSelectable(int from, int step, int count, const SpecialItems& specials) noexcept;

// Where a selection change meant to go from `current` to `proposed` ends when special items are
// skipped: `proposed` itself when it can be chosen, else the nearest selectable item beyond it in
// the direction of the move, else the nearest one back towards `current`, else `current`. A
// proposal outside the list is brought to its nearest end first; -1 for an empty list.
int NextSelectable(int current, int proposed, int count, const SpecialItems& specials) noexcept;

// A key pressed in the open list of a menu combo.
enum class ListKeyAction {
  PassOn,  // not a navigation key of the menu rules: the list handles it
  Swallow, // nothing happens
  Select,  // the selection moves to `item`
};
struct ListKeyResult {
  ListKeyAction action = ListKeyAction::PassOn;
  int item = -1;
  friend bool operator==(const ListKeyResult&, const ListKeyResult&) = default;
};
// Left and up (virtual keys 37, 38) move to the nearest selectable item above, right and down (39,
// 40) to the nearest one below; at the first (last) item, or with none left, the key is swallowed.
ListKeyResult OpenListKey(unsigned virtualKey, int current, int count,
                          const SpecialItems& specials) noexcept;

// Whether a click in the open list is swallowed: the item it falls on, or failing that the
// current item, is special.
bool SwallowListClick(int itemAtPoint, int current, const SpecialItems& specials) noexcept;

// The selection a key or wheel notch on the closed combo moves to, special items skipped (the
// current selection when nothing else can be chosen); none for a key that is not a navigation
// key. `pageItems` is how far page up and page down move. Wheel notches are passed as virtual key
// up (towards the top) or down.
std::optional<int> ClosedComboKey(unsigned virtualKey, int current, int count, int pageItems,
                                  const SpecialItems& specials) noexcept;

// Item height: (text height + external leading) x 1.25, rounded to the nearest integer.
int MenuComboItemHeight(int textHeight, int externalLeading) noexcept;

// The system colours an item is drawn with.
enum class ColourRole {
  Window,
  WindowText,
  Highlight,
  HighlightText,
  GrayText,
  ButtonFace,
  ButtonText,
  ButtonShadow,
  LightGrey, // the fixed light grey of separator lines
};

enum class MenuItemKind { Ordinary, Heading, Separator };

struct MenuItemState {
  bool special = false;
  bool hasText = false;
  bool selected = false;
  bool focused = false;
  bool disabled = false;
  // Drawn in the closed combo's selection field rather than in the list.
  bool inSelectionField = false;
};

struct MenuItemLook {
  MenuItemKind kind = MenuItemKind::Ordinary;
  ColourRole background = ColourRole::Window;
  ColourRole text = ColourRole::WindowText;
  // The text rectangle: the item with the indent taken off its left.
  Rect textRect;
  bool bold = false;
  bool focusRect = false;
  // A separator's 1-pixel line, from left + 2 to right - 2 across the middle of the item.
  Rect line;
  friend bool operator==(const MenuItemLook&, const MenuItemLook&) = default;
};

// Text indents at 96 dpi: ordinary items sit further in than headings, as menu entries under a
// heading; the selection field shows its item near the edge.
inline constexpr int kMenuItemIndent = 8;
inline constexpr int kMenuHeadingIndent = 2;
inline constexpr int kSelectionFieldIndent = 2;

MenuItemLook MenuComboItemLook(const MenuItemState& state, const Rect& item, int dpi) noexcept;

} // namespace TarnControls

#include "controls/MenuComboModel.h"

#include <initializer_list>

#include <gtest/gtest.h>

namespace TarnControls {
namespace {

constexpr unsigned kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr unsigned kPrior = 33, kNext = 34, kEnd = 35, kHome = 36;

SpecialItems Specials(std::initializer_list<int> indices) {
  SpecialItems s;
  for (int i : indices)
    s.Add(i);
  return s;
}

TEST(MenuComboModel, SpecialIndicesFollowInsertionsAndDeletions) {
  SpecialItems s = Specials({5, 1, 3, 3});
  EXPECT_EQ(s.Indices(), (std::vector<int>{1, 3, 5}));
  s.Inserted(3); // before the special item 3, which moves to 4
  EXPECT_EQ(s.Indices(), (std::vector<int>{1, 4, 6}));
  s.Inserted(7); // after all of them
  EXPECT_EQ(s.Indices(), (std::vector<int>{1, 4, 6}));
  s.Deleted(4); // a special item itself
  EXPECT_EQ(s.Indices(), (std::vector<int>{1, 5}));
  s.Deleted(0); // an ordinary item before them
  EXPECT_EQ(s.Indices(), (std::vector<int>{0, 4}));
  EXPECT_TRUE(s.Contains(4));
  EXPECT_FALSE(s.Contains(5));
  s.Clear();
  EXPECT_TRUE(s.Indices().empty());
}

TEST(MenuComboModel, OpenListKeys) {
  struct Row {
    const char* what;
    std::initializer_list<int> specials;
    int count;
    int current;
    unsigned key;
    ListKeyResult expected;
  };
  const auto sel = [](int i) { return ListKeyResult{ListKeyAction::Select, i}; };
  const ListKeyResult swallow{ListKeyAction::Swallow, -1};
  const ListKeyResult passOn{ListKeyAction::PassOn, -1};
  const Row rows[] = {
      {"down over a separator", {1}, 4, 0, kDown, sel(2)},
      {"right as down", {1}, 4, 0, kRight, sel(2)},
      {"up over a separator", {1}, 4, 2, kUp, sel(0)},
      {"left as up", {1}, 4, 2, kLeft, sel(0)},
      {"plain step down", {}, 4, 1, kDown, sel(2)},
      {"up at the first item", {}, 4, 0, kUp, swallow},
      {"down at the last item", {}, 4, 3, kDown, swallow},
      {"only special items above", {0, 1}, 4, 2, kUp, swallow},
      {"only special items below", {2, 3}, 4, 1, kDown, swallow},
      {"several special items in a row", {1, 2, 3}, 5, 0, kDown, sel(4)},
      {"from a special item the mouse rests on", {2}, 4, 2, kDown, sel(3)},
      {"no selection, down", {0}, 3, -1, kDown, sel(1)},
      {"no selection, up", {2}, 3, -1, kUp, sel(1)},
      {"empty list", {}, 0, -1, kDown, swallow},
      {"home is not a menu key", {0}, 3, 2, kHome, passOn},
      {"a letter is not a menu key", {0}, 3, 2, 'A', passOn},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SpecialItems specials = Specials(r.specials);
    EXPECT_EQ(OpenListKey(r.key, r.current, r.count, specials), r.expected);
  }
}

TEST(MenuComboModel, ClickOnSpecialItemIsSwallowed) {
  const SpecialItems specials = Specials({0, 2});
  EXPECT_TRUE(SwallowListClick(0, 1, specials));  // a heading
  EXPECT_TRUE(SwallowListClick(2, 1, specials));  // a separator
  EXPECT_FALSE(SwallowListClick(1, 2, specials)); // an ordinary item, whatever is current
  EXPECT_TRUE(SwallowListClick(-1, 2, specials)); // off the items: the current one decides
  EXPECT_FALSE(SwallowListClick(-1, 3, specials));
}

TEST(MenuComboModel, ClosedComboSkipsSpecialItems) {
  struct Row {
    const char* what;
    std::initializer_list<int> specials;
    int count;
    int current;
    unsigned key;
    int expected;
  };
  const Row rows[] = {
      {"down over a separator", {1}, 4, 0, kDown, 2},
      {"right as down", {1}, 4, 0, kRight, 2},
      {"up over a separator", {1}, 4, 2, kUp, 0},
      {"left over a separator", {1}, 4, 2, kLeft, 0},
      {"up onto a heading with nothing above", {0}, 3, 1, kUp, 1},
      {"down onto a trailing separator", {3}, 4, 2, kDown, 2},
      {"down at the last item", {}, 3, 2, kDown, 2},
      {"up at the first item", {}, 3, 0, kUp, 0},
      {"home onto a heading", {0, 1}, 5, 4, kHome, 2},
      {"end onto a separator", {4}, 5, 0, kEnd, 3},
      {"page down lands on a separator", {3}, 8, 0, kNext, 4},
      {"page down past the end", {7}, 8, 5, kNext, 6},
      {"page up past the start", {0}, 8, 2, kPrior, 1},
      {"no selection, down onto a heading", {0}, 3, -1, kDown, 1},
      {"no selection, up", {0}, 3, -1, kUp, 1},
      {"empty list", {}, 0, -1, kDown, -1},
      {"nothing but special items", {0, 1}, 2, -1, kDown, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(ClosedComboKey(r.key, r.current, r.count, 3, Specials(r.specials)), r.expected);
  }
  EXPECT_EQ(ClosedComboKey('X', 1, 3, 3, Specials({})), std::nullopt);
  EXPECT_EQ(ClosedComboKey(0x0D, 1, 3, 3, Specials({})), std::nullopt); // Enter
}

TEST(MenuComboModel, NextSelectableKeepsCurrentWhenNothingElseFits) {
  const SpecialItems specials = Specials({0, 1, 3});
  EXPECT_EQ(NextSelectable(2, 1, 4, specials), 2);
  EXPECT_EQ(NextSelectable(2, 3, 4, specials), 2);
  EXPECT_EQ(NextSelectable(2, 2, 4, specials), 2);
  EXPECT_EQ(NextSelectable(2, -5, 4, specials), 2);
  EXPECT_EQ(NearestSelectable(0, 1, 4, specials), 2);
  EXPECT_EQ(NearestSelectable(1, -1, 4, specials), -1);
}

TEST(MenuComboModel, ItemHeight) {
  struct Row {
    int textHeight, leading, expected;
  };
  // Heights of "MS Shell Dlg 2" 8 pt at 96 and 144 dpi, and the rounding of halves.
  for (const Row& r : {Row{13, 0, 16}, Row{16, 0, 20}, Row{20, 0, 25}, Row{14, 0, 18},
                       Row{13, 1, 18}, Row{2, 0, 3}, Row{0, 0, 0}}) {
    SCOPED_TRACE(r.textHeight);
    EXPECT_EQ(MenuComboItemHeight(r.textHeight, r.leading), r.expected);
  }
}

MenuItemLook Look(MenuItemKind kind, ColourRole background, ColourRole text, Rect textRect,
                  bool bold = false, bool focusRect = false, Rect line = {}) {
  MenuItemLook look;
  look.kind = kind;
  look.background = background;
  look.text = text;
  look.textRect = textRect;
  look.bold = bold;
  look.focusRect = focusRect;
  look.line = line;
  return look;
}

TEST(MenuComboModel, ItemLook) {
  using K = MenuItemKind;
  using C = ColourRole;
  const Rect item{0, 20, 100, 36};
  struct Row {
    const char* what;
    MenuItemState state;
    int dpi;
    MenuItemLook expected;
  };
  const Row rows[] = {
      {"ordinary", {}, 96, Look(K::Ordinary, C::Window, C::WindowText, {8, 20, 100, 36})},
      {"ordinary selected, no focus",
       {.selected = true},
       96,
       Look(K::Ordinary, C::Highlight, C::HighlightText, {8, 20, 100, 36})},
      {"ordinary selected with focus",
       {.selected = true, .focused = true},
       96,
       Look(K::Ordinary, C::Highlight, C::HighlightText, {8, 20, 100, 36}, false, true)},
      {"focus alone draws no focus rectangle",
       {.focused = true},
       96,
       Look(K::Ordinary, C::Window, C::WindowText, {8, 20, 100, 36})},
      {"ordinary at 144 dpi",
       {},
       144,
       Look(K::Ordinary, C::Window, C::WindowText, {12, 20, 100, 36})},
      {"in the selection field",
       {.selected = true, .inSelectionField = true},
       96,
       Look(K::Ordinary, C::Highlight, C::HighlightText, {2, 20, 100, 36})},
      {"disabled",
       {.selected = true, .disabled = true, .inSelectionField = true},
       96,
       Look(K::Ordinary, C::Window, C::GrayText, {2, 20, 100, 36})},
      {"heading ignores selection and focus",
       {.special = true, .hasText = true, .selected = true, .focused = true},
       96,
       Look(K::Heading, C::Window, C::WindowText, {2, 20, 100, 36}, true)},
      {"separator",
       {.special = true, .selected = true},
       96,
       Look(K::Separator, C::Window, C::WindowText, item, false, false, {2, 28, 98, 29})},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(MenuComboItemLook(r.state, item, r.dpi), r.expected);
  }
  // An odd height puts the line on the upper of the two middle rows.
  EXPECT_EQ(MenuComboItemLook({.special = true}, {10, 0, 50, 15}, 96).line, (Rect{12, 7, 48, 8}));
}

} // namespace
} // namespace TarnControls

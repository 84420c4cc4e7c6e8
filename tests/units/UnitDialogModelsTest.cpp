#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "controls/MenuComboModel.h"
#include "units/DefineUnitModel.h"
#include "units/DeleteUnitsModel.h"
#include "units/Quantity.h"
#include "units/UnitsControlModel.h"

namespace Tarn {
namespace {

UnitInfo Unit(int prefixIndex, const wchar_t* name, int kind = 0) {
  UnitInfo u;
  u.unitKind = kind;
  u.prefixIndex = prefixIndex;
  u.name = name;
  return u;
}

// A list that renumbers after each removal, as the host's does, and that can refuse or rename.
class FakeCollection : public UnitCollection {
public:
  std::vector<UnitInfo> units;
  bool refuseAdds = false;
  bool renameOnAdd = false;
  int addCalls = 0;
  std::vector<UnitInfo> removed;

  std::vector<UnitInfo> Units() override { return units; }
  std::optional<int> Find(const UnitInfo& unit) override {
    for (std::size_t i = 0; i < units.size(); ++i)
      if (units[i] == unit)
        return static_cast<int>(i);
    return std::nullopt;
  }
  std::optional<int> Add(const UnitInfo& unit) override {
    ++addCalls;
    if (refuseAdds)
      return std::nullopt;
    UnitInfo kept = unit;
    if (renameOnAdd)
      kept.name += L"'";
    units.push_back(kept);
    return static_cast<int>(units.size() - 1);
  }
  bool Remove(const UnitInfo& unit) override {
    const auto at = Find(unit);
    if (!at)
      return false;
    removed.push_back(unit);
    units.erase(units.begin() + *at);
    return true;
  }
};

std::vector<UnitLineKind> Kinds(const UnitsControlModel& m) {
  std::vector<UnitLineKind> kinds;
  for (const UnitLine& line : m.Lines())
    kinds.push_back(line.kind);
  return kinds;
}

std::vector<std::wstring> Texts(const UnitsControlModel& m) {
  std::vector<std::wstring> texts;
  for (const UnitLine& line : m.Lines())
    texts.push_back(line.text);
  return texts;
}

using K = UnitLineKind;

TEST(UnitsControlModel, EmptyListShowsExactlyTheTwoCommands) {
  FakeCollection list;
  UnitsControlModel m;
  EXPECT_EQ(m.Refill(&list), -1);
  EXPECT_EQ(Kinds(m), (std::vector<K>{K::DefineCommand, K::DeleteCommand}));
  EXPECT_TRUE(m.Separators().empty());
  EXPECT_EQ(m.DefineIndex(), 0);
  EXPECT_EQ(m.DeleteIndex(), 1);
  EXPECT_EQ(list.addCalls, 0) << "the unit without a name is not a unit to keep";

  UnitsControlModel readOnly(true);
  readOnly.Refill(&list);
  EXPECT_TRUE(readOnly.Lines().empty());
  readOnly.Refill(nullptr);
  EXPECT_TRUE(readOnly.Lines().empty());
}

TEST(UnitsControlModel, LinesSortedByDisplayNameAndMappedToPositions) {
  FakeCollection list;
  list.units = {Unit(1, L"psi"), Unit(7, L"V"), Unit(1, L"atm"), Unit(1, L""), Unit(9, L"Pa")};
  UnitsControlModel m;
  m.Refill(&list);
  EXPECT_EQ(Texts(m), (std::vector<std::wstring>{L"[No unit]", L"atm", L"kPa", L"mV", L"psi", L"",
                                                 L"", L""}));
  EXPECT_EQ(Kinds(m).back(), K::DeleteCommand);
  EXPECT_EQ(m.Separators(), std::vector<int>{5});
  EXPECT_EQ(m.DefineIndex(), 6);
  EXPECT_EQ(m.DeleteIndex(), 7);
  const int positionOfLine[] = {3, 2, 4, 1, 0, -1, -1, -1, -1};
  for (int line = 0; line < 9; ++line) {
    EXPECT_EQ(m.PositionOfLine(line), positionOfLine[line]) << line;
    if (positionOfLine[line] >= 0) {
      EXPECT_EQ(m.LineOfPosition(positionOfLine[line]), line);
    }
  }
  EXPECT_EQ(m.PositionOfLine(-1), -1);
  EXPECT_EQ(m.LineOfPosition(5), -1);
}

TEST(UnitsControlModel, KeyboardNeverLandsOnTheSeparator) {
  FakeCollection list;
  list.units = {Unit(1, L"psi"), Unit(7, L"V")};
  UnitsControlModel m;
  m.Refill(&list);
  TarnControls::SpecialItems specials;
  for (int s : m.Separators())
    specials.Add(s);
  const int count = static_cast<int>(m.Lines().size());
  constexpr unsigned kUp = 38, kDown = 40, kHome = 36, kEnd = 35, kPageDown = 34;
  for (int from = 0; from < count; ++from) {
    if (specials.Contains(from))
      continue;
    for (unsigned key : {kUp, kDown, kHome, kEnd, kPageDown}) {
      const std::optional<int> to = TarnControls::ClosedComboKey(key, from, count, 3, specials);
      ASSERT_TRUE(to) << from << " key " << key;
      EXPECT_FALSE(specials.Contains(*to)) << from << " key " << key;
      const auto open = TarnControls::OpenListKey(key, from, count, specials);
      if (open.action == TarnControls::ListKeyAction::Select) {
        EXPECT_FALSE(specials.Contains(open.item)) << from << " key " << key;
      }
    }
  }
  EXPECT_EQ(TarnControls::ClosedComboKey(kDown, 1, count, 3, specials), m.DefineIndex());
  EXPECT_EQ(TarnControls::ClosedComboKey(kUp, m.DefineIndex(), count, 3, specials), 1);
}

TEST(UnitsControlModel, SelectUnitAddsOnceThenGivesUp) {
  struct Row {
    const char* what;
    bool refuse;
    bool rename;
    int expectedLine;
  };
  const Row rows[] = {
      {"accepted", false, false, 1},
      {"refused", true, false, -1},
      {"renamed", false, true, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    FakeCollection list;
    list.units = {Unit(1, L"atm")};
    list.refuseAdds = r.refuse;
    list.renameOnAdd = r.rename;
    UnitsControlModel m;
    m.Refill(&list);
    EXPECT_EQ(m.SelectUnit(&list, Unit(1, L"psi")), r.expectedLine);
    EXPECT_EQ(list.addCalls, 1);
    EXPECT_EQ(m.CurrentUnit(), Unit(1, L"psi"));
    // A later refill looks again, adding once more at most.
    m.Refill(&list);
    EXPECT_LE(list.addCalls, 2);
  }
}

TEST(UnitsControlModel, SelectionDecisions) {
  FakeCollection list;
  list.units = {Unit(1, L"psi"), Unit(7, L"V")};
  UnitsControlModel m;
  m.SelectUnit(&list, Unit(1, L"psi"));
  m.Refill(&list);
  ASSERT_EQ(m.LineOfPosition(0), 1);

  UnitSelectionOutcome o = m.SelectionChanged(&list, 0);
  EXPECT_TRUE(o.changed);
  EXPECT_EQ(o.line, 0);
  EXPECT_EQ(m.CurrentUnit(), Unit(7, L"V"));

  o = m.SelectionChanged(&list, 0);
  EXPECT_FALSE(o.changed);

  o = m.SelectionChanged(&list, m.DefineIndex());
  EXPECT_TRUE(o.runDefine);
  EXPECT_FALSE(o.runDelete);
  EXPECT_EQ(o.line, 0) << "the current unit stays selected while the dialog runs";

  o = m.SelectionChanged(&list, m.DeleteIndex());
  EXPECT_TRUE(o.runDelete);
  EXPECT_EQ(o.line, 0);

  for (int line : {-1, m.Separators().front(), 99}) {
    o = m.SelectionChanged(&list, line);
    EXPECT_FALSE(o.changed || o.runDefine || o.runDelete) << line;
    EXPECT_EQ(o.line, 0) << line;
  }
  EXPECT_EQ(m.CurrentUnit(), Unit(7, L"V"));
}

TEST(UnitsControlModel, DefineAddsAndMakesCurrent) {
  FakeCollection list;
  list.units = {Unit(1, L"psi")};
  UnitsControlModel m;
  m.SelectUnit(&list, Unit(1, L"psi"));
  m.Refill(&list);

  // Cancelled (no name): the selection stays.
  EXPECT_EQ(m.Defined(&list, UnitInfo{}), 0);
  EXPECT_EQ(m.CurrentUnit(), Unit(1, L"psi"));

  const int line = m.Defined(&list, Unit(7, L"V"));
  EXPECT_EQ(list.units.back(), Unit(7, L"V"));
  EXPECT_EQ(m.CurrentUnit(), Unit(7, L"V"));
  ASSERT_GE(line, 0);
  EXPECT_EQ(m.Lines()[line].text, L"mV");

  list.refuseAdds = true;
  EXPECT_EQ(m.Defined(&list, Unit(1, L"Torr")), -1);
  EXPECT_EQ(m.CurrentUnit(), Unit(1, L"Torr"));
  EXPECT_EQ(list.units.size(), 2u);
}

TEST(UnitsControlModel, DeletingTheCurrentUnitFallsBackToNoUnit) {
  FakeCollection list;
  list.units = {Unit(1, L"psi"), Unit(7, L"V")};
  UnitsControlModel m;
  m.SelectUnit(&list, Unit(7, L"V"));
  m.Refill(&list);
  list.units.pop_back();
  EXPECT_EQ(m.Deleted(&list), -1);
  EXPECT_EQ(m.CurrentUnit(), UnitInfo{});

  list.units.push_back(UnitInfo{});
  m.SelectUnit(&list, Unit(1, L"psi"));
  list.units.erase(list.units.begin());
  const int line = m.Deleted(&list);
  ASSERT_GE(line, 0);
  EXPECT_EQ(m.Lines()[line].text, L"[No unit]");
}

TEST(DefineUnitModel, PrefixEntries) {
  const wchar_t* texts[] = {L"a", L"f", L"p", L"n", L"\u00b5", L"m", L"",
                            L"k", L"M", L"G", L"T", L"P",      L"E"};
  for (int entry = 0; entry < kDefinePrefixEntries; ++entry)
    EXPECT_EQ(DefinePrefixEntryText(entry), texts[entry]) << entry;
  EXPECT_EQ(DefinePrefixEntryText(13), L"");
  const std::pair<int, int> entryOf[] = {{0, 6}, {1, 6}, {2, 0},   {7, 5},
                                         {8, 6}, {9, 7}, {14, 12}, {15, 6}};
  for (auto [index, entry] : entryOf)
    EXPECT_EQ(DefinePrefixEntryOf(index), entry) << index;
}

TEST(DefineUnitModel, ExampleValidityAndProvider) {
  struct Row {
    int prefixIndex;
    const wchar_t* name;
    const wchar_t* example;
  };
  const Row rows[] = {{7, L"V", L"Example: 499 mV"},
                      {8, L"psi", L"Example: 499 psi"},
                      {1, L"Pa", L"Example: 499 Pa"},
                      {2, L"g", L"Example: 499 ag"},
                      {14, L"Hz", L"Example: 499 EHz"},
                      {6, L"A", L"Example: 499 \u00b5A"},
                      {7, L"", L""}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.example);
    DefineUnitModel m(Unit(r.prefixIndex, r.name));
    EXPECT_EQ(m.ExampleText(L"Example: ", std::locale::classic()), r.example);
    const bool valid = *r.name != 0;
    EXPECT_EQ(m.Valid(), valid);
    EXPECT_EQ(m.ProviderFlags(0x08), valid ? 0x08 : 0x0D);
    EXPECT_EQ(m.ProviderFlags(0x0D), valid ? 0x08 : 0x0D);
  }
}

TEST(DefineUnitModel, EditingAndResult) {
  DefineUnitModel m(UnitInfo{});
  EXPECT_EQ(m.PrefixEntry(), kDefineNoPrefixEntry);
  EXPECT_FALSE(m.Valid());
  m.SetName(L"V");
  EXPECT_TRUE(m.Valid());
  m.SetPrefixEntry(5);
  EXPECT_EQ(m.Unit(), Unit(7, L"V"));
  m.SetPrefixEntry(-1);
  EXPECT_EQ(m.Unit(), Unit(8, L"V"));
  m.SetName(L"");
  EXPECT_FALSE(m.Valid());
  DefineUnitModel kind1(Unit(9, L"Pa", 1));
  EXPECT_EQ(kind1.Unit(), Unit(9, L"Pa", 0)) << "units defined here have kind 0";
}

TEST(DeleteUnitsModel, RemovesExactlyTheChosenUnitsByIdentity) {
  FakeCollection list;
  list.units = {Unit(1, L""),    Unit(1, L"psi"), Unit(7, L"V"),
                Unit(1, L"atm"), Unit(9, L"Pa"),  Unit(1, L"Torr")};
  DeleteUnitsModel m(list.units);
  ASSERT_EQ(m.Lines().size(), 5u) << "the unit without a name is never offered";
  EXPECT_EQ(m.Lines()[0].text, L"psi");
  EXPECT_EQ(m.Lines()[3].text, L"kPa");

  // psi and atm: not adjacent; the list renumbers after the first removal.
  EXPECT_EQ(m.DeleteLines({2, 0, 2, 17}), (std::vector<int>{2, 0}));
  ASSERT_EQ(m.Lines().size(), 3u);
  EXPECT_EQ(m.Lines()[0].text, L"mV");
  // Then kPa, whose line moved up.
  EXPECT_EQ(m.DeleteLines({1}), std::vector<int>{1});

  const std::vector<UnitInfo> removed = m.Commit(list);
  EXPECT_EQ(removed, (std::vector<UnitInfo>{Unit(1, L"psi"), Unit(1, L"atm"), Unit(9, L"Pa")}));
  EXPECT_EQ(list.units, (std::vector<UnitInfo>{Unit(1, L""), Unit(7, L"V"), Unit(1, L"Torr")}));
}

TEST(DeleteUnitsModel, CancelRemovesNothing) {
  FakeCollection list;
  list.units = {Unit(1, L"psi"), Unit(7, L"V")};
  {
    DeleteUnitsModel m(list.units);
    m.DeleteLines({0, 1});
    EXPECT_EQ(m.Pending().size(), 2u);
  }
  EXPECT_EQ(list.units.size(), 2u);
  EXPECT_TRUE(list.removed.empty());
}

Quantity ParseWith(const std::wstring& text, const std::set<std::wstring>& whole) {
  std::wistringstream in(text);
  in.imbue(std::locale::classic());
  return ParseQuantity(in, whole);
}

TEST(WholeUnits, UserUnitsAreNotSplitIntoPrefixes) {
  const std::vector<UnitInfo> listed = {Unit(1, L"psi"), Unit(1, L"atm"), Unit(7, L"V"),
                                        Unit(9, L"Pa")};
  const std::set<std::wstring> whole = WholeUnitNames(listed, L"Torr");
  EXPECT_EQ(whole, (std::set<std::wstring>{L"psi", L"atm", L"V", L"Pa", L"Torr"}));
  struct Row {
    const wchar_t* text;
    double mantissa;
    int exponent;
    const wchar_t* unit;
  };
  const Row rows[] = {{L"5 psi", 5, 0, L"psi"},       {L"2 atm", 2, 0, L"atm"},
                      {L"760 Torr", 760, 0, L"Torr"}, {L"5 mV", 5, -3, L"V"},
                      {L"3 kPa", 3, 3, L"Pa"},        {L"4 msi", 4, -3, L"si"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(ParseWith(r.text, whole), (Quantity{r.mantissa, r.exponent, r.unit}));
  }
  // Without the set the old reading stays.
  EXPECT_EQ(ParseWith(L"5 psi", {}), (Quantity{5, -12, L"si"}));
}

TEST(WholeUnits, UserUnitsSurviveWriteAndReadBack) {
  const std::set<std::wstring> whole = WholeUnitNames({Unit(1, L"psi"), Unit(1, L"atm")}, L"Torr");
  for (const wchar_t* unit : {L"psi", L"atm", L"Torr"}) {
    for (double value : {14.7, 0.0012, 2500.0}) {
      SCOPED_TRACE(testing::Message() << value << ' ' << unit);
      const Quantity written = MakeQuantity(value, unit);
      std::wostringstream out;
      out.imbue(std::locale::classic());
      WriteQuantity(out, written);
      const Quantity read = ParseWith(out.str(), whole);
      EXPECT_EQ(read.unit, unit);
      EXPECT_EQ(read.exponent, written.exponent);
      EXPECT_DOUBLE_EQ(read.mantissa, written.mantissa);
    }
  }
}

} // namespace
} // namespace Tarn

#include "units/UnitsControlModel.h"

#include <algorithm>
#include <cwctype>

namespace Tarn {

std::set<std::wstring> WholeUnitNames(const std::vector<UnitInfo>& units,
                                      const std::wstring& ownUnit) {
  std::set<std::wstring> names;
  for (const UnitInfo& unit : units)
    if (!unit.name.empty())
      names.insert(unit.name);
  if (!ownUnit.empty())
    names.insert(ownUnit);
  return names;
}

namespace {

std::wstring Folded(const std::wstring& text) {
  std::wstring folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return folded;
}

// The unit without a name first, then by folded display name, then by the exact text.
bool ListedBefore(const UnitLine& a, const UnitLine& b) {
  if (a.unit.name.empty() != b.unit.name.empty())
    return a.unit.name.empty();
  const std::wstring fa = Folded(a.text), fb = Folded(b.text);
  if (fa != fb)
    return fa < fb;
  return a.text < b.text;
}

} // namespace

void UnitsControlModel::RebuildLines(UnitCollection* collection) {
  lines_.clear();
  separators_.clear();
  defineIndex_ = deleteIndex_ = -1;
  const std::vector<UnitInfo> units = collection ? collection->Units() : std::vector<UnitInfo>{};
  for (std::size_t i = 0; i < units.size(); ++i) {
    const UnitInfo& unit = units[i];
    lines_.push_back(UnitLine{UnitLineKind::Unit,
                              unit.name.empty() ? NoUnitText() : UnitDisplayName(unit),
                              static_cast<int>(i), unit});
  }
  std::stable_sort(lines_.begin(), lines_.end(), ListedBefore);
  if (readOnly_)
    return;
  if (!lines_.empty()) {
    separators_.push_back(static_cast<int>(lines_.size()));
    lines_.push_back(UnitLine{UnitLineKind::Separator, {}, -1, {}});
  }
  defineIndex_ = static_cast<int>(lines_.size());
  lines_.push_back(UnitLine{UnitLineKind::DefineCommand, {}, -1, {}});
  deleteIndex_ = static_cast<int>(lines_.size());
  lines_.push_back(UnitLine{UnitLineKind::DeleteCommand, {}, -1, {}});
}

int UnitsControlModel::LineOfPosition(int position) const noexcept {
  if (position < 0)
    return -1;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == UnitLineKind::Unit && lines_[i].position == position)
      return static_cast<int>(i);
  return -1;
}

int UnitsControlModel::PositionOfLine(int line) const noexcept {
  if (line < 0 || static_cast<std::size_t>(line) >= lines_.size())
    return -1;
  return lines_[line].kind == UnitLineKind::Unit ? lines_[line].position : -1;
}

int UnitsControlModel::LineOfCurrent(UnitCollection* collection) const {
  if (!collection)
    return -1;
  const std::optional<int> position = collection->Find(current_);
  if (!position)
    return -1;
  return LineOfPosition(*position);
}

int UnitsControlModel::Refill(UnitCollection* collection) {
  RebuildLines(collection);
  return SelectUnit(collection, current_);
}

int UnitsControlModel::SelectUnit(UnitCollection* collection, const UnitInfo& unit) {
  current_ = unit;
  if (!collection)
    return -1;
  if (collection->Find(current_))
    return LineOfCurrent(collection);
  if (current_.name.empty() || !collection->Add(current_))
    return -1;
  // One add only: whatever the list makes of the unit, it is looked for once more and no more.
  RebuildLines(collection);
  return LineOfCurrent(collection);
}

UnitSelectionOutcome UnitsControlModel::SelectionChanged(UnitCollection* collection, int line) {
  UnitSelectionOutcome outcome;
  const int position = PositionOfLine(line);
  if (position < 0) {
    outcome.runDefine = line >= 0 && line == defineIndex_;
    outcome.runDelete = line >= 0 && line == deleteIndex_;
    outcome.line = SelectUnit(collection, current_);
    return outcome;
  }
  const UnitInfo chosen = lines_[line].unit;
  outcome.changed = !(chosen == current_);
  current_ = chosen;
  outcome.line = line;
  return outcome;
}

int UnitsControlModel::Defined(UnitCollection* collection, const UnitInfo& unit) {
  if (unit.name.empty())
    return SelectUnit(collection, current_);
  current_ = unit;
  if (!collection || !collection->Add(unit)) {
    // Refused: the unit stays current without a line.
    RebuildLines(collection);
    return LineOfCurrent(collection);
  }
  return Refill(collection);
}

int UnitsControlModel::Deleted(UnitCollection* collection) {
  if (!collection || !collection->Find(current_))
    ResetUnit(current_);
  return Refill(collection);
}

} // namespace Tarn

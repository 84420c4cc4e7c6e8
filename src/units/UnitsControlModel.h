#pragma once
#include <vector>

#include "units/UnitCollection.h"

namespace Tarn {

enum class UnitLineKind { Unit, Separator, DefineCommand, DeleteCommand };

struct UnitLine {
  UnitLineKind kind = UnitLineKind::Unit;
  // A unit line's display name ("[No unit]" for the unit without a name); empty otherwise.
  std::wstring text;
  // A unit line's position in the collection; -1 otherwise.
  int position = -1;
  UnitInfo unit;
};

// What the units control does when its list selection changed.
struct UnitSelectionOutcome {
  // The line to select now; -1 for none.
  int line = -1;
  // The current unit is another one than before.
  bool changed = false;
  bool runDefine = false;
  bool runDelete = false;
};

// The lines of the units control and its current unit. The units are listed by display name
// (case folded), each line keeping its collection position; unless read-only a separator (when
// there are units) and the commands "Define Unit..." and "Delete Unit..." follow.
class UnitsControlModel {
public:
  explicit UnitsControlModel(bool readOnly = false) : readOnly_(readOnly) {}

  void SetReadOnly(bool readOnly) noexcept { readOnly_ = readOnly; }
  bool ReadOnly() const noexcept { return readOnly_; }

  // Rebuilds the lines from `collection` (none: no units) and selects the current unit; the line
  // to select, or -1.
  int Refill(UnitCollection* collection);

  // Makes `unit` current and finds its line. A unit missing from the collection is added once and
  // the lines rebuilt; when the list still does not hold it (refused, or kept under another name)
  // no line is selected. The unit without a name is never added: it is the absence of a unit.
  int SelectUnit(UnitCollection* collection, const UnitInfo& unit);

  // The list selection moved to `line` (-1: none).
  UnitSelectionOutcome SelectionChanged(UnitCollection* collection, int line);

  // The Define Unit dialog ended with OK and `unit`: it is added and made current. The line to
  // select, or -1 when the list refused it (the unit is current all the same).
  int Defined(UnitCollection* collection, const UnitInfo& unit);

  // The Delete Unit dialog ended with OK: a current unit that is gone falls back to no unit.
  int Deleted(UnitCollection* collection);

  const UnitInfo& CurrentUnit() const noexcept { return current_; }
  const std::vector<UnitLine>& Lines() const noexcept { return lines_; }
  int DefineIndex() const noexcept { return defineIndex_; }
  int DeleteIndex() const noexcept { return deleteIndex_; }
  const std::vector<int>& Separators() const noexcept { return separators_; }

  // The line of a collection position, -1 when no line shows it; the collection position of a
  // line, -1 for a separator, a command or a line outside the list.
  int LineOfPosition(int position) const noexcept;
  int PositionOfLine(int line) const noexcept;

private:
  void RebuildLines(UnitCollection* collection);
  int LineOfCurrent(UnitCollection* collection) const;

  bool readOnly_;
  UnitInfo current_;
  std::vector<UnitLine> lines_;
  std::vector<int> separators_;
  int defineIndex_ = -1;
  int deleteIndex_ = -1;
};

} // namespace Tarn

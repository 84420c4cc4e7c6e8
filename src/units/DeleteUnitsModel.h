#pragma once
#include <vector>

#include "units/UnitCollection.h"

namespace Tarn {

// The Delete Unit dialog's list: the collection's units that have a name, in collection order,
// and the units chosen for deletion. Deletions are kept as the units themselves, not as list
// positions, since a list renumbers its entries after each removal.
class DeleteUnitsModel {
public:
  struct Line {
    std::wstring text;
    int position = -1; // collection position when the dialog opened
    UnitInfo unit;
  };

  explicit DeleteUnitsModel(const std::vector<UnitInfo>& units);

  const std::vector<Line>& Lines() const noexcept { return lines_; }
  // "&Delete" on the selected lines (any order, duplicates and lines outside the list ignored):
  // they leave the list and become pending. The lines the view removes, last first.
  std::vector<int> DeleteLines(std::vector<int> selected);
  const std::vector<UnitInfo>& Pending() const noexcept { return pending_; }
  // OK: removes the pending units, in the order of their positions when the dialog opened. The
  // units the collection removed, to be announced.
  std::vector<UnitInfo> Commit(UnitCollection& collection) const;

private:
  std::vector<Line> lines_;
  std::vector<UnitInfo> pending_;
  std::vector<int> pendingPositions_;
};

} // namespace Tarn

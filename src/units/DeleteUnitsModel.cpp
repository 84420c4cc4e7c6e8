#include "units/DeleteUnitsModel.h"

#include <algorithm>
#include <numeric>

namespace Tarn {

DeleteUnitsModel::DeleteUnitsModel(const std::vector<UnitInfo>& units) {
  for (std::size_t i = 0; i < units.size(); ++i)
    if (!units[i].name.empty())
      lines_.push_back(Line{UnitDisplayName(units[i]), static_cast<int>(i), units[i]});
}

std::vector<int> DeleteUnitsModel::DeleteLines(std::vector<int> selected) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [&](int line) {
    return line < 0 || static_cast<std::size_t>(line) >= lines_.size();
  });
  std::reverse(selected.begin(), selected.end());
  for (int line : selected) {
    pending_.push_back(lines_[line].unit);
    pendingPositions_.push_back(lines_[line].position);
    lines_.erase(lines_.begin() + line);
  }
  return selected;
}

std::vector<UnitInfo> DeleteUnitsModel::Commit(UnitCollection& collection) const {
  std::vector<std::size_t> order(pending_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return pendingPositions_[a] < pendingPositions_[b];
  });
  std::vector<UnitInfo> removed;
  for (std::size_t i : order)
    if (collection.Remove(pending_[i]))
      removed.push_back(pending_[i]);
  return removed;
}

} // namespace Tarn

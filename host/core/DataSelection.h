#pragma once
#include <optional>

#include "TimeLayout.h"

namespace Vela {

// A stretch of the recording selected in the data window, as the document keeps it: its first
// and its last sample (inclusive), within one block or across blocks.
struct DataSelection {
  SamplePoint first;
  SamplePoint last;

  // The samples a drag from pixel `anchor` to pixel `current` covers, whichever way it went:
  // those between the two sample boundaries nearest to the ends. Nothing when the drag covers no
  // whole sample.
  static std::optional<DataSelection> FromDrag(const TimeLayout& layout, double anchor,
                                               double current);
  // The boundaries around the selected samples, for drawing.
  SamplePoint StartBoundary() const noexcept { return first; }
  SamplePoint EndBoundary() const noexcept { return {last.position + 1, last.block}; }

  bool operator==(const DataSelection&) const = default;
};

} // namespace Vela

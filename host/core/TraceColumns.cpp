#include "TraceColumns.h"

#include <algorithm>
#include <cmath>

namespace Vela {

std::vector<TraceColumns::Column> TraceColumns::Reduce(const float* samples, std::size_t count,
                                                       int width) {
  std::vector<Column> columns;
  if (!samples || count == 0 || width <= 0)
    return columns;
  columns.resize(static_cast<std::size_t>(width));
  const auto w = static_cast<std::size_t>(width);
  for (std::size_t c = 0; c < w; ++c) {
    const std::size_t first = std::min(c * count / w, count - 1);
    const std::size_t last = std::max(first + 1, std::min((c + 1) * count / w, count));
    Column& column = columns[c];
    for (std::size_t i = first; i < last; ++i) {
      const float v = samples[i];
      if (std::isnan(v))
        continue;
      if (column.empty) {
        column = {v, v, false};
      } else {
        column.minimum = std::min(column.minimum, v);
        column.maximum = std::max(column.maximum, v);
      }
    }
  }
  return columns;
}

} // namespace Vela

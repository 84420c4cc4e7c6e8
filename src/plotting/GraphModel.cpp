#include "plotting/GraphModel.h"

#include <algorithm>
#include <array>

namespace GUILib {

bool GraphModel::AddPlot(PlotKey key, std::wstring name) {
  if (key.x < 0 || key.y < 0 || plots_.contains(key))
    return false;
  plots_[key].name = std::move(name);
  if (!selected_)
    selected_ = key;
  return true;
}

PlotSamples* GraphModel::Find(PlotKey key) {
  const auto found = plots_.find(key);
  return found == plots_.end() ? nullptr : &found->second;
}

bool GraphModel::Select(PlotKey key) {
  if (!plots_.contains(key))
    return false;
  selected_ = key;
  return true;
}

std::vector<float> ReadColumn(const TabulatedTable& table, std::int64_t column) {
  std::vector<float> values;
  std::optional<ColumnCursor> cursor;
  if (table.CreateColumnCursor(column, 0, 2147483647, cursor) != Tarn::hr::ok)
    return values;
  std::array<float, 1024> block;
  std::size_t fetched = 0;
  while (cursor->Next(block, fetched) == Tarn::hr::ok)
    values.insert(values.end(), block.begin(), block.begin() + fetched);
  return values;
}

void GraphModel::Recompute(const TabulatedTable& table, AxisRange& horizontal,
                           AxisRange& vertical) {
  for (auto& [key, plot] : plots_) {
    plot.x = ReadColumn(table, key.x);
    plot.y = ReadColumn(table, key.y);
    plot.bounds = ComputeBounds(plot.x, plot.y);
    plot.visible = plot.bounds.hasData;
    if (autoExpand && plot.visible) {
      horizontal = ExpandToInclude(horizontal, plot.bounds.minX, plot.bounds.maxX);
      vertical = ExpandToInclude(vertical, plot.bounds.minY, plot.bounds.maxY);
    }
  }
}

std::vector<TraceEntry> GraphModel::TraceMenu() const {
  std::vector<TraceEntry> entries;
  std::size_t number = 0;
  for (const auto& [key, plot] : plots_) {
    ++number;
    entries.push_back({key, plot.name, plot.name.empty() ? number : 0, plot.colour,
                       selected_ && *selected_ == key});
  }
  return entries;
}

void ZoomDrag::Begin(Point at) noexcept {
  start_ = end_ = at;
  dragging_ = true;
  hasSelection_ = false;
}

void ZoomDrag::Move(Point at) noexcept {
  if (dragging_)
    end_ = at;
}

void ZoomDrag::End(Point at, Rect client) noexcept {
  if (!dragging_)
    return;
  // The right and bottom edges are outside the client, so the last pixel inside is one less.
  end_ = {std::clamp(at.x, client.left, std::max(client.left, client.right - 1)),
          std::clamp(at.y, client.top, std::max(client.top, client.bottom - 1))};
  dragging_ = false;
  hasSelection_ = end_ != start_;
}

void ZoomDrag::Clear() noexcept {
  dragging_ = false;
  hasSelection_ = false;
}

Rect ZoomDrag::Rectangle() const noexcept {
  return {std::min(start_.x, end_.x), std::min(start_.y, end_.y), std::max(start_.x, end_.x),
          std::max(start_.y, end_.y)};
}

} // namespace GUILib

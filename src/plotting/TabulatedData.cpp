#include "plotting/TabulatedData.h"

#include "plotting/PlotGeometry.h"

#include <algorithm>

namespace GUILib {

namespace hr = Tarn::hr;

std::int64_t ColumnCursor::Limit() const noexcept {
  const auto length = static_cast<std::int64_t>(column_->values.size());
  return std::min(end_, length);
}

HResult ColumnCursor::Next(std::span<float> buffer, std::size_t& fetched) noexcept {
  fetched = 0;
  if (!column_)
    return hr::fail;
  const std::int64_t available = Limit() - position_;
  if (available <= 0 || buffer.empty())
    return hr::falseResult;
  const auto count = static_cast<std::size_t>(
      std::min<std::int64_t>(available, static_cast<std::int64_t>(buffer.size())));
  std::copy_n(column_->values.begin() + position_, count, buffer.begin());
  position_ += static_cast<std::int64_t>(count);
  fetched = count;
  return hr::ok;
}

std::int64_t ColumnCursor::Skip(std::int64_t count) noexcept {
  const std::int64_t from = position_;
  const std::int64_t limit = column_ ? Limit() : position_;
  if (count >= 0)
    position_ = std::max(position_, std::min(position_ + count, limit));
  else
    position_ = std::max<std::int64_t>(0, position_ + count);
  return position_ - from;
}

HResult TabulatedTable::AddColumn(std::wstring name, std::wstring units) {
  auto column = std::make_shared<NamedDataColumn>();
  column->name = std::move(name);
  column->units = std::move(units);
  columns_.push_back(std::move(column));
  NotifyColumns(ColumnCount() - 1, ColumnCount());
  return hr::ok;
}

HResult TabulatedTable::SetColumnName(std::int64_t column, std::wstring name) {
  if (!ValidColumn(column))
    return hr::invalidArg;
  columns_[column]->name = std::move(name);
  return hr::ok;
}

HResult TabulatedTable::SetColumnUnits(std::int64_t column, std::wstring units) {
  if (!ValidColumn(column))
    return hr::invalidArg;
  columns_[column]->units = std::move(units);
  return hr::ok;
}

HResult TabulatedTable::RemoveColumn(std::int64_t column) {
  if (!ValidColumn(column))
    return hr::invalidArg;
  columns_.erase(columns_.begin() + column);
  NotifyColumns(column, ColumnCount());
  return hr::ok;
}

HResult TabulatedTable::AppendValue(std::int64_t column, float value) {
  return AppendValues(column, std::span<const float>(&value, 1));
}

HResult TabulatedTable::AppendValues(std::int64_t column, std::span<const float> values) {
  if (!ValidColumn(column))
    return hr::invalidArg;
  return InsertValues(column, static_cast<std::int64_t>(columns_[column]->values.size()), values);
}

HResult TabulatedTable::InsertValues(std::int64_t column, std::int64_t row,
                                     std::span<const float> values) {
  if (!ValidColumn(column))
    return hr::invalidArg;
  std::vector<float>& target = columns_[column]->values;
  const auto oldLength = static_cast<std::int64_t>(target.size());
  if (row < 0 || row > oldLength)
    return hr::invalidArg;
  target.insert(target.begin() + row, values.begin(), values.end());
  // Rows from the insertion point on have moved; for an append that is just the new ones.
  NotifyRows(column, row, static_cast<std::int64_t>(target.size()));
  return hr::ok;
}

HResult TabulatedTable::DeleteRows(std::int64_t first, std::int64_t end) {
  if (first >= end || first < 0 || end > MaxRowCount())
    return hr::invalidArg;
  for (std::int64_t c = 0; c < ColumnCount(); ++c) {
    std::vector<float>& values = columns_[c]->values;
    const auto length = static_cast<std::int64_t>(values.size());
    if (first >= length)
      continue;
    const std::int64_t stop = std::min(end, length);
    values.erase(values.begin() + first, values.begin() + stop);
    NotifyRows(c, first, length);
  }
  return hr::ok;
}

HResult TabulatedTable::RemoveAllColumns() {
  columns_.clear();
  NotifyReset();
  return hr::ok;
}

HResult TabulatedTable::SetColumnCount(std::int64_t count) {
  if (count < 0)
    return hr::invalidArg;
  std::vector<ColumnPtr> fresh;
  fresh.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i)
    fresh.push_back(std::make_shared<NamedDataColumn>());
  columns_ = std::move(fresh);
  NotifyReset();
  return hr::ok;
}

HResult TabulatedTable::GetColumnName(std::int64_t column, std::wstring& name) const {
  if (!ValidColumn(column))
    return hr::invalidArg;
  name = columns_[column]->name;
  return hr::ok;
}

HResult TabulatedTable::GetColumnUnits(std::int64_t column, std::wstring& units) const {
  if (!ValidColumn(column))
    return hr::invalidArg;
  units = columns_[column]->units;
  return hr::ok;
}

HResult TabulatedTable::CreateColumnCursor(std::int64_t column, std::int64_t first,
                                           std::int64_t end,
                                           std::optional<ColumnCursor>& cursor) const {
  if (!ValidColumn(column) || first < 0)
    return hr::invalidArg;
  cursor.emplace(columns_[column], first, end);
  return hr::ok;
}

HResult TabulatedTable::GetValues(std::int64_t column, std::int64_t first, std::span<float> buffer,
                                  std::size_t& fetched) const {
  fetched = 0;
  if (!ValidColumn(column))
    return hr::invalidArg;
  const std::vector<float>& values = columns_[column]->values;
  const auto length = static_cast<std::int64_t>(values.size());
  if (first < 0 || first > length)
    return hr::invalidArg;
  fetched = static_cast<std::size_t>(
      std::min<std::int64_t>(length - first, static_cast<std::int64_t>(buffer.size())));
  std::copy_n(values.begin() + first, fetched, buffer.begin());
  return hr::ok;
}

HResult TabulatedTable::Advise(std::shared_ptr<TableObserver> observer) {
  if (!observer)
    return hr::pointer;
  observers_.push_back(std::move(observer));
  return hr::ok;
}

HResult TabulatedTable::Unadvise(const TableObserver* observer) {
  const auto found = std::find_if(observers_.begin(), observers_.end(),
                                  [observer](const auto& o) { return o.get() == observer; });
  if (found == observers_.end())
    return hr::fail;
  observers_.erase(found);
  return hr::ok;
}

HResult TabulatedTable::AdviseRecord(std::shared_ptr<RecordObserver> observer) {
  if (!observer)
    return hr::pointer;
  recordObservers_.push_back(std::move(observer));
  return hr::ok;
}

HResult TabulatedTable::UnadviseRecord(const RecordObserver* observer) {
  const auto found = std::find_if(recordObservers_.begin(), recordObservers_.end(),
                                  [observer](const auto& o) { return o.get() == observer; });
  if (found == recordObservers_.end())
    return hr::fail;
  recordObservers_.erase(found);
  return hr::ok;
}

HResult TabulatedTable::SuspendNotifications() noexcept {
  --notifyLevel_;
  return hr::ok;
}

HResult TabulatedTable::ResumeNotifications() noexcept {
  if (++notifyLevel_ > 0) {
    notifyLevel_ = 1;
    return hr::ok;
  }
  return hr::falseResult;
}

HResult TabulatedTable::FlushNotifications() {
  if (!Enabled())
    return hr::falseResult;
  if (onlineData_) {
    const std::int64_t length = MaxRowCount();
    const std::int64_t delta = length - flushedLength_;
    flushedLength_ = length;
    if (delta != 0) {
      const auto listeners = recordObservers_;
      for (const auto& o : listeners)
        o->LengthChanged(delta);
    }
  }
  if (resetPending_) {
    columnsPending_ = false;
    for (const ColumnPtr& c : columns_)
      c->rowsPending = false;
    NotifyReset();
  } else if (columnsPending_) {
    for (const ColumnPtr& c : columns_)
      c->rowsPending = false;
    NotifyColumns(pendingFirstColumn_, pendingEndColumn_);
  } else {
    for (std::int64_t c = 0; c < ColumnCount(); ++c) {
      const NamedDataColumn& column = *columns_[c];
      if (column.rowsPending)
        NotifyRows(c, column.pendingFirst, column.pendingEnd);
    }
  }
  return hr::ok;
}

HResult TabulatedTable::ResumeAndFlush() {
  const HResult resumed = ResumeNotifications();
  if (resumed != hr::ok)
    return resumed;
  return FlushNotifications();
}

std::int64_t TabulatedTable::MaxRowCount() const noexcept {
  std::size_t rows = 0;
  for (const ColumnPtr& c : columns_)
    rows = std::max(rows, c->values.size());
  return static_cast<std::int64_t>(rows);
}

std::int64_t TabulatedTable::MinRowCount() const noexcept {
  if (columns_.empty())
    return 0;
  std::size_t rows = columns_.front()->values.size();
  for (const ColumnPtr& c : columns_)
    rows = std::min(rows, c->values.size());
  return static_cast<std::int64_t>(rows);
}

HResult TabulatedTable::GetRowCount(std::int64_t column, std::int64_t& rows) const {
  if (!ValidColumn(column))
    return hr::invalidArg;
  rows = static_cast<std::int64_t>(columns_[column]->values.size());
  return hr::ok;
}

HResult TabulatedTable::GetColumnMax(std::int64_t column, float& value) const {
  if (!ValidColumn(column))
    return hr::invalidArg;
  const std::optional<float> best = NanAwareMax(columns_[column]->values);
  if (!best)
    return hr::fail;
  value = *best;
  return hr::ok;
}

HResult TabulatedTable::GetColumnMin(std::int64_t column, float& value) const {
  if (!ValidColumn(column))
    return hr::invalidArg;
  const std::optional<float> best = NanAwareMin(columns_[column]->values);
  if (!best)
    return hr::fail;
  value = *best;
  return hr::ok;
}

// Observers may change their registration from inside a call, so each round works on a copy.
void TabulatedTable::NotifyColumns(std::int64_t first, std::int64_t end) {
  if (!Enabled()) {
    pendingFirstColumn_ = columnsPending_ ? std::min(pendingFirstColumn_, first) : first;
    pendingEndColumn_ = columnsPending_ ? std::max(pendingEndColumn_, end) : end;
    columnsPending_ = true;
    return;
  }
  columnsPending_ = false;
  const auto listeners = observers_;
  for (const auto& o : listeners)
    o->ColumnsChanged(first, end);
}

void TabulatedTable::NotifyRows(std::int64_t column, std::int64_t first, std::int64_t end) {
  NamedDataColumn& c = *columns_[column];
  if (!Enabled()) {
    c.pendingFirst = c.rowsPending ? std::min(c.pendingFirst, first) : first;
    c.pendingEnd = c.rowsPending ? std::max(c.pendingEnd, end) : end;
    c.rowsPending = true;
    return;
  }
  c.rowsPending = false;
  const auto listeners = observers_;
  for (const auto& o : listeners)
    o->RowsChanged(column, first, end);
}

void TabulatedTable::NotifyReset() {
  if (!Enabled()) {
    resetPending_ = true;
    return;
  }
  resetPending_ = false;
  const auto records = recordObservers_;
  for (const auto& o : records)
    o->DataReset();
  const auto listeners = observers_;
  for (const auto& o : listeners)
    o->Reset();
}

void WriteTableText(std::wostream& out, const TabulatedTable& table) {
  const auto& columns = table.Columns();
  for (const ColumnPtr& c : columns) {
    out << c->name;
    if (!c->units.empty())
      out << L'(' << c->units << L')';
    out << L'\t';
  }
  out << L'\n';
  const auto rows = static_cast<std::size_t>(table.MaxRowCount());
  for (std::size_t r = 0; r < rows; ++r) {
    for (const ColumnPtr& c : columns) {
      if (r < c->values.size())
        out << c->values[r];
      else
        out << L"*";
      out << L'\t';
    }
    out << L'\n';
  }
}

} // namespace GUILib

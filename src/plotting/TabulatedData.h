#pragma once

#include "foundation/HResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace GUILib {

using Tarn::HResult;

// Shared by the table and every cursor over it, so a removed column stays readable.
struct NamedDataColumn {
  std::wstring name;
  std::wstring units;
  std::vector<float> values;
  bool rowsPending = false;
  std::int64_t pendingFirst = 0;
  std::int64_t pendingEnd = 0;
};
using ColumnPtr = std::shared_ptr<NamedDataColumn>;

// Told about every change of a table, in registration order.
class TableObserver {
public:
  virtual ~TableObserver() = default;
  virtual void ColumnsChanged(std::int64_t first, std::int64_t end) = 0;
  virtual void RowsChanged(std::int64_t column, std::int64_t first, std::int64_t end) = 0;
  virtual void Reset() = 0;
};

// Host-style readers: told of a reset before the table observers, and (with the online-data
// option) of how much the data length changed at each flush.
class RecordObserver {
public:
  virtual ~RecordObserver() = default;
  virtual void DataReset() {}
  virtual void LengthChanged(std::int64_t /*delta*/) {}
};

// Reads a column from a position up to an end row, limited by the column's length at the time of
// each read.
class ColumnCursor {
public:
  ColumnCursor(ColumnPtr column, std::int64_t first, std::int64_t end) noexcept
      : column_(std::move(column)), start_(first), position_(first), end_(end) {}
  // The number of values copied; 0 at the end. Fails without a column.
  HResult Next(std::span<float> buffer, std::size_t& fetched) noexcept;
  std::int64_t Skip(std::int64_t count) noexcept;
  void Reset() noexcept { position_ = start_; }
  ColumnCursor Clone() const { return *this; }
  std::int64_t Position() const noexcept { return position_; }

private:
  std::int64_t Limit() const noexcept;

  ColumnPtr column_;
  std::int64_t start_;
  std::int64_t position_;
  std::int64_t end_;
};

// An in-memory table of named float columns with batched change notification. While suspended
// (level 0 or below) changes are merged and sent at the next flush.
class TabulatedTable {
public:
  HResult AddColumn(std::wstring name, std::wstring units);
  HResult SetColumnName(std::int64_t column, std::wstring name);
  HResult SetColumnUnits(std::int64_t column, std::wstring units);
  HResult RemoveColumn(std::int64_t column);
  HResult AppendValue(std::int64_t column, float value);
  HResult AppendValues(std::int64_t column, std::span<const float> values);
  HResult InsertValues(std::int64_t column, std::int64_t row, std::span<const float> values);
  HResult DeleteRows(std::int64_t first, std::int64_t end);
  HResult RemoveAllColumns();
  HResult SetColumnCount(std::int64_t count);
  HResult GetColumnName(std::int64_t column, std::wstring& name) const;
  HResult GetColumnUnits(std::int64_t column, std::wstring& units) const;
  HResult CreateColumnCursor(std::int64_t column, std::int64_t first, std::int64_t end,
                             std::optional<ColumnCursor>& cursor) const;
  HResult GetValues(std::int64_t column, std::int64_t first, std::span<float> buffer,
                    std::size_t& fetched) const;

  // The table keeps the observers alive until they are removed; removing an unknown one fails.
  HResult Advise(std::shared_ptr<TableObserver> observer);
  HResult Unadvise(const TableObserver* observer);
  HResult AdviseRecord(std::shared_ptr<RecordObserver> observer);
  HResult UnadviseRecord(const RecordObserver* observer);

  HResult SuspendNotifications() noexcept;
  // S_OK when notifications are on again (the level never goes above 1), else S_FALSE.
  HResult ResumeNotifications() noexcept;
  HResult FlushNotifications();
  // What a caller that suspended for a batch of changes wants at its end: resume, and when that
  // turns notifications on, send what was merged meanwhile.
  HResult ResumeAndFlush();

  void SetOnlineData(bool on) noexcept { onlineData_ = on; }

  std::int64_t ColumnCount() const noexcept { return static_cast<std::int64_t>(columns_.size()); }
  std::int64_t MaxRowCount() const noexcept;
  std::int64_t MinRowCount() const noexcept;
  HResult GetRowCount(std::int64_t column, std::int64_t& rows) const;
  // NaN ranks below everything for the maximum and above everything for the minimum; an empty or
  // all-NaN column fails.
  HResult GetColumnMax(std::int64_t column, float& value) const;
  HResult GetColumnMin(std::int64_t column, float& value) const;

  const std::vector<ColumnPtr>& Columns() const noexcept { return columns_; }

private:
  bool Enabled() const noexcept { return notifyLevel_ > 0; }
  bool ValidColumn(std::int64_t column) const noexcept {
    return column >= 0 && column < ColumnCount();
  }
  void NotifyColumns(std::int64_t first, std::int64_t end);
  void NotifyRows(std::int64_t column, std::int64_t first, std::int64_t end);
  void NotifyReset();

  std::vector<ColumnPtr> columns_;
  std::vector<std::shared_ptr<TableObserver>> observers_;
  std::vector<std::shared_ptr<RecordObserver>> recordObservers_;
  int notifyLevel_ = 1;
  bool columnsPending_ = false;
  std::int64_t pendingFirstColumn_ = 0;
  std::int64_t pendingEndColumn_ = 0;
  bool resetPending_ = false;
  bool onlineData_ = false;
  std::int64_t flushedLength_ = 0;
};

// One header line (name, then "(units)" when there are units, a tab after every column), then a
// line per row of the longest column: each value, or "*" where a column has ended, and a tab.
// Values use the stream's own settings.
void WriteTableText(std::wostream& out, const TabulatedTable& table);

} // namespace GUILib

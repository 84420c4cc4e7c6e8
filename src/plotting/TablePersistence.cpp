#include "plotting/TablePersistence.h"

#include "foundation/PersistItems.h"
#include "plotting/TabulatedData.h"

#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace GUILib {

namespace hr = Tarn::hr;

namespace {

struct LoadedColumn {
  std::int32_t length = 0;
  std::wstring name;
  std::wstring units;
  std::vector<float> values;
};

// Every column costs at least three items (its length, name and units) besides its values.
constexpr std::uint64_t kItemsPerColumn = 3;

bool FitsInt(std::size_t n) noexcept {
  return n <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

HResult Save(Tarn::ItemWriter& writer, const TabulatedTable& table) {
  const auto& columns = table.Columns();
  if (!FitsInt(columns.size()))
    return hr::fail;
  // Single writes are not checked: a failed one leaves the status negative for the end.
  (void)writer.WriteInt(static_cast<std::int32_t>(columns.size()));
  for (const ColumnPtr& c : columns) {
    if (!FitsInt(c->values.size()))
      return hr::fail;
    (void)writer.WriteInt(static_cast<std::int32_t>(c->values.size()));
  }
  for (const ColumnPtr& c : columns) {
    (void)writer.WriteString(c->name);
    (void)writer.WriteString(c->units);
    for (float v : c->values)
      (void)writer.WriteDouble(v);
  }
  return hr::Failed(writer.Status()) ? hr::fail : hr::ok;
}

HResult Load(Tarn::ItemReader& reader, TabulatedTable& table) {
  std::int32_t count = 0;
  if (hr::Failed(reader.ReadInt(count)) || count < 0)
    return hr::fail;
  const std::optional<std::size_t> bound = reader.RemainingItemsBound();
  std::uint64_t items = static_cast<std::uint64_t>(count) * kItemsPerColumn;
  if (bound && items > *bound)
    return hr::fail;

  std::vector<LoadedColumn> loaded;
  for (std::int32_t c = 0; c < count; ++c) {
    std::int32_t length = 0;
    if (hr::Failed(reader.ReadInt(length)) || length < 0)
      return hr::fail;
    items += static_cast<std::uint64_t>(length);
    if (bound && items > *bound)
      return hr::fail;
    loaded.emplace_back().length = length;
  }
  for (LoadedColumn& column : loaded) {
    if (hr::Failed(reader.ReadString(column.name)) || hr::Failed(reader.ReadString(column.units)))
      return hr::fail;
    // Reserving is safe only when the reader has vouched for the length above.
    if (bound)
      column.values.reserve(static_cast<std::size_t>(column.length));
    for (std::int32_t r = 0; r < column.length; ++r) {
      double value = 0;
      if (hr::Failed(reader.ReadDouble(value)))
        return hr::fail;
      column.values.push_back(static_cast<float>(value));
    }
  }
  if (hr::Failed(reader.Status()))
    return hr::fail;

  // One reset for the whole replacement, whatever level the caller left notifications at.
  (void)table.SuspendNotifications(); // cannot fail
  HResult result = table.SetColumnCount(count);
  for (std::int32_t c = 0; c < count && result == hr::ok; ++c) {
    LoadedColumn& column = loaded[static_cast<std::size_t>(c)];
    (void)table.SetColumnName(c, std::move(column.name));   // c is a valid column
    (void)table.SetColumnUnits(c, std::move(column.units)); // likewise
    result = table.AppendValues(c, column.values);
  }
  const HResult flushed = table.ResumeAndFlush();
  return hr::Failed(result) ? result : hr::Failed(flushed) ? flushed : hr::ok;
}

template <class F> HResult Bounded(F&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return hr::outOfMemory;
  } catch (...) {
    return hr::fail;
  }
}

} // namespace

HResult SaveTable(Tarn::ItemWriter& writer, const TabulatedTable& table) noexcept {
  return Bounded([&] { return Save(writer, table); });
}

HResult LoadTable(Tarn::ItemReader& reader, TabulatedTable& table) noexcept {
  return Bounded([&] { return Load(reader, table); });
}

} // namespace GUILib

// CTabulatedData as host-style readers and producers see it: the record view, its observer lists
// and the online sink.
#include "plotting/win/TabulatedData.h"

#include "foundation/win/HostBoundary.h"
#include "plotting/PixMap.h"
#include "plotting/win/EnumColumnFloat.h"
#include "plotting/win/EnumColumnFloatPix.h"

#include <oleauto.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace GUILib {

HRESULT CTabulatedData::GetChannelCount(std::int32_t* count) noexcept {
  return GetColumnCount(count);
}

HRESULT CTabulatedData::HasData(std::int32_t channel) noexcept {
  std::int64_t rows = 0;
  const HRESULT status = table_.GetRowCount(channel, rows);
  if (FAILED(status))
    return status;
  return rows > 0 ? S_OK : S_FALSE;
}

HRESULT CTabulatedData::GetChannelTitle(std::int32_t channel, BSTR* title) noexcept {
  return GetColumnName(channel, title);
}

HRESULT CTabulatedData::CreateEnum(std::int32_t channel, std::uint32_t flags, std::int64_t start,
                                   std::int64_t end, Host::IEnumFloatEx** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  *out = nullptr;
  // The enumerator's positions are 32-bit, so a start it could not report is refused.
  if (flags != Host::kRecordEnumFlags || start < 0 ||
      start > std::numeric_limits<std::int32_t>::max())
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    std::optional<ColumnCursor> cursor;
    const HRESULT status = table_.CreateColumnCursor(channel, start, end, cursor);
    if (FAILED(status))
      return status;
    *out = new CEnumColumnFloat(std::move(*cursor));
    return S_OK;
  });
}

HRESULT CTabulatedData::CreatePixEnum(std::int32_t channel, std::int64_t start, std::int64_t end,
                                      Host::IEnumFloatPix** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  *out = nullptr;
  return Tarn::Guard([&] {
    std::optional<ColumnCursor> cursor;
    const HRESULT status = table_.CreateColumnCursor(channel, start, end, cursor);
    if (FAILED(status))
      return status;
    *out = new CEnumColumnFloatPix(std::move(*cursor));
    return S_OK;
  });
}

HRESULT CTabulatedData::GetValue(std::int32_t channel, std::int64_t row,
                                 const Host::RecordValueScaling* scaling, float* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  std::int64_t rows = 0;
  if (FAILED(table_.GetRowCount(channel, rows)) || row < 0 || row >= rows)
    return E_INVALIDARG;
  const float v = table_.Columns()[static_cast<std::size_t>(channel)]->values[row];
  *value = scaling ? static_cast<float>((v + scaling->offset) * scaling->factor) : v;
  return S_OK;
}

HRESULT CTabulatedData::MapPosition(std::int64_t row, double pixelsPerRow,
                                    double* position) noexcept {
  if (!position || !std::isfinite(pixelsPerRow))
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    PixMap map(pixelsPerRow);
    (void)map.AddBlock(0, 0.0); // the first block at 0 is always taken
    return map.ToDisplay(row, *position) ? S_OK : E_INVALIDARG;
  });
}

HRESULT CTabulatedData::GetRange(std::int64_t* start, std::int64_t* end) noexcept {
  if (!start || !end)
    return E_INVALIDARG;
  *start = mStartPosition;
  *end = mEndPosition;
  return S_OK;
}

HRESULT CTabulatedData::GetSampleInterval(double*) noexcept {
  return E_NOTIMPL;
}

HRESULT CTabulatedData::GetChannelUnits(std::int32_t, Host::IUnitName**) noexcept {
  return E_NOTIMPL;
}

HRESULT CTabulatedData::GetBlockCount(std::int32_t*) noexcept {
  return E_NOTIMPL;
}

HRESULT CTabulatedData::AdviseRecord(Host::IRecordDataObserver* o) noexcept {
  if (!o)
    return E_INVALIDARG;
  return Tarn::Guard([&] { mRecordObservers.Add(o); });
}

HRESULT CTabulatedData::UnadviseRecord(Host::IRecordDataObserver* o) noexcept {
  return mRecordObservers.Remove(o) ? S_OK : E_FAIL;
}

HRESULT CTabulatedData::AdviseLength(Host::IKymoDataObserver* o) noexcept {
  if (!o)
    return E_INVALIDARG;
  return Tarn::Guard([&] { mLengthObservers.Add(o); });
}

HRESULT CTabulatedData::UnadviseLength(Host::IKymoDataObserver* o) noexcept {
  return mLengthObservers.Remove(o) ? S_OK : E_FAIL;
}

HRESULT CTabulatedData::AppendRows(std::uint32_t rows, std::uint32_t columns,
                                   const float* values) noexcept {
  if (columns != table_.ColumnCount() || (!values && rows > 0 && columns > 0))
    return E_INVALIDARG;
  // No rows are no change, and no change is told.
  if (rows == 0)
    return S_OK;
  return Tarn::Guard([&] {
    std::vector<float> column(rows);
    for (std::uint32_t c = 0; c < columns; ++c) {
      for (std::uint32_t r = 0; r < rows; ++r)
        column[r] = values[static_cast<std::size_t>(r) * columns + c];
      const HRESULT status = table_.AppendValues(c, column);
      if (FAILED(status))
        return status;
    }
    // Unsuspended, the producer's rows reach the length observers now; suspended, the flush
    // declines and its ResumeAndFlush sends them.
    (void)table_.FlushNotifications();
    return S_OK;
  });
}

HRESULT CTabulatedData::Suspend() noexcept {
  return table_.SuspendNotifications();
}

} // namespace GUILib

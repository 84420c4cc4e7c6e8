#include "plotting/win/TabulatedData.h"

#include "foundation/PersistItems.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/ObjectStreamItemReader.h"
#include "foundation/win/ObjectStreamItemWriter.h"
#include "plotting/TablePersistence.h"
#include "plotting/win/EnumColumnFloat.h"

#include <oleauto.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace GUILib {

namespace {

std::int32_t Narrow(std::int64_t n) noexcept {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::wstring Text(const wchar_t* text) {
  return text ? std::wstring(text) : std::wstring();
}

HRESULT PutBstr(const std::wstring& text, BSTR* out) noexcept {
  if (*out)
    ::SysFreeString(*out);
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace

// Passes the portable table's notifications on to the COM observers.
class CTabulatedData::Forwarder final : public TableObserver {
public:
  explicit Forwarder(const InterfaceArray<ITabulatedDataObserver>& observers) noexcept
      : observers_(observers) {}
  // An observer's result is its own affair: the table has changed either way.
  void ColumnsChanged(std::int64_t first, std::int64_t end) override {
    for (const auto& o : observers_.Snapshot())
      (void)o->ColumnsChanged(Narrow(first), Narrow(end));
  }
  void RowsChanged(std::int64_t column, std::int64_t first, std::int64_t end) override {
    for (const auto& o : observers_.Snapshot())
      (void)o->RowsChanged(Narrow(column), Narrow(first), Narrow(end));
  }
  void Reset() override {
    for (const auto& o : observers_.Snapshot())
      (void)o->Reset();
  }

private:
  const InterfaceArray<ITabulatedDataObserver>& observers_;
};

// Passes the portable table's record notifications on to the host-style observer lists.
class CTabulatedData::RecordForwarder final : public RecordObserver {
public:
  RecordForwarder(const InterfaceArray<Host::IRecordDataObserver>& records,
                  const InterfaceArray<Host::IKymoDataObserver>& lengths) noexcept
      : records_(records), lengths_(lengths) {}
  void DataReset() override {
    for (const auto& o : records_.Snapshot())
      (void)o->DataReset(); // the data is reset whatever an observer answers
  }
  void LengthChanged(std::int64_t delta) override {
    for (const auto& o : lengths_.Snapshot())
      (void)o->LengthChanged(delta); // likewise
  }

private:
  const InterfaceArray<Host::IRecordDataObserver>& records_;
  const InterfaceArray<Host::IKymoDataObserver>& lengths_;
};

Tarn::ComPtr<CTabulatedData> CTabulatedData::Create() {
  return Tarn::ComPtr<CTabulatedData>::Adopt(new CTabulatedData());
}

CTabulatedData::CTabulatedData()
    : forwarder_(std::make_shared<Forwarder>(observers_)),
      recordForwarder_(std::make_shared<RecordForwarder>(mRecordObservers, mLengthObservers)) {
  // A non-null observer is always taken.
  (void)table_.Advise(forwarder_);
  (void)table_.AdviseRecord(recordForwarder_);
}

CTabulatedData::~CTabulatedData() = default;

HRESULT CTabulatedData::AddColumn(const wchar_t* name, const wchar_t* units) noexcept {
  return Tarn::Guard([&] { return table_.AddColumn(Text(name), Text(units)); });
}

HRESULT CTabulatedData::SetColumnName(std::int32_t column, const wchar_t* name) noexcept {
  return Tarn::Guard([&] { return table_.SetColumnName(column, Text(name)); });
}

HRESULT CTabulatedData::SetColumnUnits(std::int32_t column, const wchar_t* units) noexcept {
  return Tarn::Guard([&] { return table_.SetColumnUnits(column, Text(units)); });
}

HRESULT CTabulatedData::RemoveColumn(std::int32_t column) noexcept {
  return Tarn::Guard([&] { return table_.RemoveColumn(column); });
}

HRESULT CTabulatedData::AppendValue(std::int32_t column, float value) noexcept {
  return Tarn::Guard([&] { return table_.AppendValue(column, value); });
}

HRESULT CTabulatedData::ReadInto(std::int32_t column, std::int64_t row, std::uint32_t count,
                                 Host::IEnumFloatEx* source, std::uint32_t* fetched) {
  if (fetched)
    *fetched = 0;
  std::int64_t length = 0;
  if (!source || FAILED(table_.GetRowCount(column, length)))
    return E_INVALIDARG;
  if (row < 0 || row > length)
    return E_INVALIDARG;
  std::vector<float> values(count);
  std::uint32_t got = 0;
  const HRESULT read = source->Next(count, values.data(), &got);
  if (FAILED(read))
    return read;
  values.resize(std::min(got, count));
  const HRESULT inserted = table_.InsertValues(column, row, values);
  if (SUCCEEDED(inserted) && fetched)
    *fetched = static_cast<std::uint32_t>(values.size());
  return inserted;
}

HRESULT CTabulatedData::AppendValues(std::int32_t column, std::uint32_t count,
                                     Host::IEnumFloatEx* source, std::uint32_t* fetched) noexcept {
  return Tarn::Guard([&] {
    std::int64_t length = 0;
    if (FAILED(table_.GetRowCount(column, length))) {
      if (fetched)
        *fetched = 0;
      return E_INVALIDARG;
    }
    return ReadInto(column, length, count, source, fetched);
  });
}

HRESULT CTabulatedData::InsertValues(std::int32_t column, std::int32_t row, std::uint32_t count,
                                     Host::IEnumFloatEx* source, std::uint32_t* fetched) noexcept {
  return Tarn::Guard([&] { return ReadInto(column, row, count, source, fetched); });
}

HRESULT CTabulatedData::DeleteRows(std::int32_t first, std::int32_t end) noexcept {
  return Tarn::Guard([&] { return table_.DeleteRows(first, end); });
}

HRESULT CTabulatedData::RemoveAllColumns() noexcept {
  return Tarn::Guard([&] { return table_.RemoveAllColumns(); });
}

HRESULT CTabulatedData::SetColumnCount(std::int32_t count) noexcept {
  return Tarn::Guard([&] { return table_.SetColumnCount(count); });
}

HRESULT CTabulatedData::GetColumnName(std::int32_t column, BSTR* name) noexcept {
  if (!name)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    std::wstring text;
    const HRESULT status = table_.GetColumnName(column, text);
    return FAILED(status) ? status : PutBstr(text, name);
  });
}

HRESULT CTabulatedData::GetColumnUnits(std::int32_t column, BSTR* units) noexcept {
  if (!units)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    std::wstring text;
    const HRESULT status = table_.GetColumnUnits(column, text);
    return FAILED(status) ? status : PutBstr(text, units);
  });
}

HRESULT CTabulatedData::CreateColumnEnum(std::int32_t column, std::int32_t first, std::int32_t end,
                                         Host::IEnumFloatEx** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  *out = nullptr;
  return Tarn::Guard([&] {
    std::optional<ColumnCursor> cursor;
    const HRESULT status = table_.CreateColumnCursor(column, first, end, cursor);
    if (FAILED(status))
      return status;
    *out = new CEnumColumnFloat(std::move(*cursor));
    return S_OK;
  });
}

HRESULT CTabulatedData::GetValues(std::int32_t column, std::int32_t first, std::uint32_t count,
                                  float* buffer, std::uint32_t* fetched) noexcept {
  if (!fetched || (!buffer && count > 0))
    return E_INVALIDARG;
  std::size_t got = 0;
  const HRESULT status = table_.GetValues(column, first, std::span<float>(buffer, count), got);
  *fetched = static_cast<std::uint32_t>(got);
  return status;
}

HRESULT CTabulatedData::Advise(ITabulatedDataObserver* observer) noexcept {
  if (!observer)
    return E_INVALIDARG;
  return Tarn::Guard([&] { observers_.Add(observer); });
}

HRESULT CTabulatedData::Unadvise(ITabulatedDataObserver* observer) noexcept {
  return observers_.Remove(observer) ? S_OK : E_FAIL;
}

HRESULT CTabulatedData::SuspendNotifications() noexcept {
  return table_.SuspendNotifications();
}

HRESULT CTabulatedData::ResumeNotifications() noexcept {
  return table_.ResumeNotifications();
}

HRESULT CTabulatedData::FlushNotifications() noexcept {
  return Tarn::Guard([&] { return table_.FlushNotifications(); });
}

HRESULT CTabulatedData::GetColumnCount(std::int32_t* count) noexcept {
  if (!count)
    return E_INVALIDARG;
  *count = Narrow(table_.ColumnCount());
  return S_OK;
}

HRESULT CTabulatedData::GetMaxRowCount(std::int32_t* rows) noexcept {
  if (!rows)
    return E_INVALIDARG;
  *rows = Narrow(table_.MaxRowCount());
  return S_OK;
}

HRESULT CTabulatedData::GetMinRowCount(std::int32_t* rows) noexcept {
  if (!rows)
    return E_INVALIDARG;
  *rows = Narrow(table_.MinRowCount());
  return S_OK;
}

HRESULT CTabulatedData::GetRowCount(std::int32_t column, std::int32_t* rows) noexcept {
  if (!rows)
    return E_INVALIDARG;
  std::int64_t n = 0;
  const HRESULT status = table_.GetRowCount(column, n);
  if (SUCCEEDED(status))
    *rows = Narrow(n);
  return status;
}

HRESULT CTabulatedData::GetColumnMax(std::int32_t column, float* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  return table_.GetColumnMax(column, *value);
}

HRESULT CTabulatedData::GetColumnMin(std::int32_t column, float* value) noexcept {
  if (!value)
    return E_INVALIDARG;
  return table_.GetColumnMin(column, *value);
}

HRESULT CTabulatedData::ResumeAndFlush() noexcept {
  return Tarn::Guard([&] { return table_.ResumeAndFlush(); });
}

HRESULT CTabulatedData::SetOnlineData(BOOL on) noexcept {
  onlineData_ = on != FALSE;
  table_.SetOnlineData(onlineData_);
  return S_OK;
}

HRESULT CTabulatedData::GetOnlineData(BOOL* on) noexcept {
  if (!on)
    return E_INVALIDARG;
  *on = onlineData_ ? TRUE : FALSE;
  return S_OK;
}

HRESULT CTabulatedData::Load(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  Tarn::ObjectStreamItemReader reader(*stream);
  return LoadTable(reader, table_);
}

HRESULT CTabulatedData::Save(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  Tarn::ObjectStreamItemWriter writer(*stream);
  return SaveTable(writer, table_);
}

HRESULT CTabulatedData::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  return E_NOTIMPL;
}

} // namespace GUILib

#pragma once
#include <windows.h>

#include <memory>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "plotting/TabulatedData.h"
#include "plotting/win/ITabulatedData.h"
#include "plotting/win/InterfaceArray.h"

namespace GUILib {

// The tabulated data as the module's windows and the host's persistence see it: the portable
// table behind ITabulatedData, its options and IPersistObject; for host-style readers a record
// view whose channels are the columns, its observer lists and an online sink that appends rows.
// Observers are called in registration order and hold one reference each until they are removed.
class CTabulatedData final
    : public Tarn::ComObject<CTabulatedData, ITabulatedData, ITabulatedSettings,
                             Host::IPersistObject, Host::IRecordData, Host::IRecordDataObservers,
                             Host::IKymoDataObservers, Host::IOnlineDataSink> {
public:
  // A new table holding its creator's reference. Throws std::bad_alloc.
  static Tarn::ComPtr<CTabulatedData> Create();

  HRESULT STDMETHODCALLTYPE AddColumn(const wchar_t* name, const wchar_t* units) noexcept override;
  HRESULT STDMETHODCALLTYPE SetColumnName(std::int32_t column,
                                          const wchar_t* name) noexcept override;
  HRESULT STDMETHODCALLTYPE SetColumnUnits(std::int32_t column,
                                           const wchar_t* units) noexcept override;
  HRESULT STDMETHODCALLTYPE RemoveColumn(std::int32_t column) noexcept override;
  HRESULT STDMETHODCALLTYPE AppendValue(std::int32_t column, float value) noexcept override;
  HRESULT STDMETHODCALLTYPE AppendValues(std::int32_t column, std::uint32_t count,
                                         Host::IEnumFloatEx* source,
                                         std::uint32_t* fetched) noexcept override;
  HRESULT STDMETHODCALLTYPE InsertValues(std::int32_t column, std::int32_t row, std::uint32_t count,
                                         Host::IEnumFloatEx* source,
                                         std::uint32_t* fetched) noexcept override;
  HRESULT STDMETHODCALLTYPE DeleteRows(std::int32_t first, std::int32_t end) noexcept override;
  HRESULT STDMETHODCALLTYPE RemoveAllColumns() noexcept override;
  HRESULT STDMETHODCALLTYPE SetColumnCount(std::int32_t count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColumnName(std::int32_t column, BSTR* name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColumnUnits(std::int32_t column, BSTR* units) noexcept override;
  HRESULT STDMETHODCALLTYPE CreateColumnEnum(std::int32_t column, std::int32_t first,
                                             std::int32_t end,
                                             Host::IEnumFloatEx** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetValues(std::int32_t column, std::int32_t first, std::uint32_t count,
                                      float* buffer, std::uint32_t* fetched) noexcept override;
  HRESULT STDMETHODCALLTYPE Advise(ITabulatedDataObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(ITabulatedDataObserver* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE SuspendNotifications() noexcept override;
  HRESULT STDMETHODCALLTYPE ResumeNotifications() noexcept override;
  HRESULT STDMETHODCALLTYPE FlushNotifications() noexcept override;
  HRESULT STDMETHODCALLTYPE GetColumnCount(std::int32_t* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetMaxRowCount(std::int32_t* rows) noexcept override;
  HRESULT STDMETHODCALLTYPE GetMinRowCount(std::int32_t* rows) noexcept override;
  HRESULT STDMETHODCALLTYPE GetRowCount(std::int32_t column, std::int32_t* rows) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColumnMax(std::int32_t column, float* value) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColumnMin(std::int32_t column, float* value) noexcept override;
  HRESULT STDMETHODCALLTYPE ResumeAndFlush() noexcept override;

  HRESULT STDMETHODCALLTYPE SetOnlineData(BOOL on) noexcept override;
  HRESULT STDMETHODCALLTYPE GetOnlineData(BOOL* on) noexcept override;

  // The persisted form of plotting/TablePersistence.h through the host's object stream.
  HRESULT STDMETHODCALLTYPE Load(Host::IObjectStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(Host::IObjectStream* stream) noexcept override;
  // chosen: a table is not a class the host recreates from a code, so it has none (E_NOTIMPL).
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;

  HRESULT STDMETHODCALLTYPE GetChannelCount(std::int32_t* count) noexcept override;
  HRESULT STDMETHODCALLTYPE HasData(std::int32_t channel) noexcept override;
  HRESULT STDMETHODCALLTYPE GetChannelTitle(std::int32_t channel, BSTR* title) noexcept override;
  HRESULT STDMETHODCALLTYPE CreateEnum(std::int32_t channel, std::uint32_t flags,
                                       std::int64_t start, std::int64_t end,
                                       Host::IEnumFloatEx** out) noexcept override;
  HRESULT STDMETHODCALLTYPE CreatePixEnum(std::int32_t channel, std::int64_t start,
                                          std::int64_t end,
                                          Host::IEnumFloatPix** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetValue(std::int32_t channel, std::int64_t row,
                                     const Host::RecordValueScaling* scaling,
                                     float* value) noexcept override;
  // A table is one block from row 0 at display position 0.
  HRESULT STDMETHODCALLTYPE MapPosition(std::int64_t row, double pixelsPerRow,
                                        double* position) noexcept override;
  HRESULT STDMETHODCALLTYPE GetRange(std::int64_t* start, std::int64_t* end) noexcept override;
  // A table has no time base, units objects or blocks of its own: E_NOTIMPL.
  HRESULT STDMETHODCALLTYPE GetSampleInterval(double* seconds) noexcept override;
  HRESULT STDMETHODCALLTYPE GetChannelUnits(std::int32_t channel,
                                            Host::IUnitName** units) noexcept override;
  HRESULT STDMETHODCALLTYPE GetBlockCount(std::int32_t* count) noexcept override;

  HRESULT STDMETHODCALLTYPE AdviseRecord(Host::IRecordDataObserver* o) noexcept override;
  HRESULT STDMETHODCALLTYPE UnadviseRecord(Host::IRecordDataObserver* o) noexcept override;
  HRESULT STDMETHODCALLTYPE AdviseLength(Host::IKymoDataObserver* o) noexcept override;
  HRESULT STDMETHODCALLTYPE UnadviseLength(Host::IKymoDataObserver* o) noexcept override;

  HRESULT STDMETHODCALLTYPE AppendRows(std::uint32_t rows, std::uint32_t columns,
                                       const float* values) noexcept override;
  HRESULT STDMETHODCALLTYPE Suspend() noexcept override;

  // The table itself, for the module's own readers (text export, drawing).
  const TabulatedTable& Table() const noexcept { return table_; }
  // For the module's own writers; the observers hear of their changes as of any other.
  TabulatedTable& EditTable() noexcept { return table_; }

private:
  friend ComObject;
  class Forwarder;
  class RecordForwarder;
  CTabulatedData();
  ~CTabulatedData();

  HRESULT ReadInto(std::int32_t column, std::int64_t row, std::uint32_t count,
                   Host::IEnumFloatEx* source, std::uint32_t* fetched);

  TabulatedTable table_;
  InterfaceArray<ITabulatedDataObserver> observers_;
  std::shared_ptr<Forwarder> forwarder_;
  InterfaceArray<Host::IRecordDataObserver> mRecordObservers;
  InterfaceArray<Host::IKymoDataObserver> mLengthObservers;
  std::shared_ptr<RecordForwarder> recordForwarder_;
  std::int64_t mStartPosition = Host::kRecordNoLimit;
  std::int64_t mEndPosition = Host::kRecordNoLimit;
  bool onlineData_ = false;
};

} // namespace GUILib

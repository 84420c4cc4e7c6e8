#pragma once
// The tabulated data's own interfaces. The host neither implements nor calls them: the curve
// window, the graph and the table use them inside the module, so they live here and not with the
// host contract. Indices are 32-bit; a negative index or one not below the count gives
// E_INVALIDARG, and so does a null out-pointer. Strings come in as null-terminated text (null is
// read as empty) and go out as BSTRs the caller frees.
#include <unknwn.h>
#include <windows.h>

#include <cstdint>

#include "hostapi/HostInterfaces.h"

namespace GUILib {

inline constexpr GUID IID_ITabulatedDataObserver = {
    0x5b4387e5, 0x5322, 0x4a9c, {0xac, 0xda, 0xfc, 0x38, 0x8b, 0xcc, 0x0b, 0xe2}};
inline constexpr GUID IID_ITabulatedData = {
    0x3e829475, 0x161e, 0x425c, {0xae, 0xa6, 0x4b, 0x55, 0x4d, 0xa6, 0xe8, 0x23}};
inline constexpr GUID IID_ITabulatedSettings = {
    0x4c1ad577, 0xa7e6, 0x41b6, {0x9e, 0xd5, 0x76, 0xa0, 0xe9, 0xf0, 0x05, 0x2e}};

// Told of every change of a table, in registration order. Row and column ranges are [first, end).
struct ITabulatedDataObserver : IUnknown {
  static constexpr const GUID& iid = IID_ITabulatedDataObserver;
  virtual HRESULT STDMETHODCALLTYPE ColumnsChanged(std::int32_t first, std::int32_t end) = 0;
  virtual HRESULT STDMETHODCALLTYPE RowsChanged(std::int32_t column, std::int32_t first,
                                                std::int32_t end) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
};

// An in-memory table of named float columns. While notifications are suspended, changes are
// merged and sent by FlushNotifications; ResumeAndFlush is the one call a caller that suspended
// for a batch makes at its end.
struct ITabulatedData : IUnknown {
  static constexpr const GUID& iid = IID_ITabulatedData;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AddColumn(const wchar_t* name,
                                                            const wchar_t* units) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetColumnName(std::int32_t column,
                                                                const wchar_t* name) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetColumnUnits(std::int32_t column,
                                                                 const wchar_t* units) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE RemoveColumn(std::int32_t column) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AppendValue(std::int32_t column, float value) = 0;
  // Reads up to `count` values from `source` in one call and appends what came; a failure of the
  // source is returned as it came, with nothing appended.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE AppendValues(std::int32_t column,
                                                               std::uint32_t count,
                                                               Host::IEnumFloatEx* source,
                                                               std::uint32_t* fetched) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE InsertValues(std::int32_t column,
                                                               std::int32_t row,
                                                               std::uint32_t count,
                                                               Host::IEnumFloatEx* source,
                                                               std::uint32_t* fetched) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE DeleteRows(std::int32_t first,
                                                             std::int32_t end) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE RemoveAllColumns() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetColumnCount(std::int32_t count) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetColumnName(std::int32_t column,
                                                                BSTR* name) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetColumnUnits(std::int32_t column,
                                                                 BSTR* units) = 0;
  // A live enumerator over rows [first, end) of the column: it sees values appended later and
  // keeps the column readable after it is removed from the table.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE CreateColumnEnum(std::int32_t column,
                                                                   std::int32_t first,
                                                                   std::int32_t end,
                                                                   Host::IEnumFloatEx** out) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetValues(std::int32_t column, std::int32_t first,
                                                            std::uint32_t count, float* buffer,
                                                            std::uint32_t* fetched) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Advise(ITabulatedDataObserver* observer) = 0;
  // E_FAIL for an observer that was not advised.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE Unadvise(ITabulatedDataObserver* observer) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SuspendNotifications() = 0;
  // S_OK when notifications are on again, else S_FALSE. Sends nothing.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ResumeNotifications() = 0;
  // S_FALSE while suspended; otherwise sends what was merged.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE FlushNotifications() = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetColumnCount(std::int32_t* count) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetMaxRowCount(std::int32_t* rows) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetMinRowCount(std::int32_t* rows) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetRowCount(std::int32_t column,
                                                              std::int32_t* rows) = 0;
  // NaN ranks below everything for the maximum and above everything for the minimum; E_FAIL for
  // an empty or all-NaN column.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetColumnMax(std::int32_t column,
                                                               float* value) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetColumnMin(std::int32_t column,
                                                               float* value) = 0;
  // Resume; when that turns notifications on, flush. The result of the resume when it does not.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE ResumeAndFlush() = 0;
};

// The table's options.
struct ITabulatedSettings : IUnknown {
  static constexpr const GUID& iid = IID_ITabulatedSettings;
  static constexpr HRESULT nullOut = E_INVALIDARG;
  // With online data on, each flush first tells the length observers of the record view by how
  // much the longest column's length changed since the last flush.
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetOnlineData(BOOL on) = 0;
  [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetOnlineData(BOOL* on) = 0;
};

} // namespace GUILib

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(GUILib::ITabulatedDataObserver, 0x5b4387e5, 0x5322, 0x4a9c, 0xac, 0xda, 0xfc, 0x38,
                0x8b, 0xcc, 0x0b, 0xe2)
__CRT_UUID_DECL(GUILib::ITabulatedData, 0x3e829475, 0x161e, 0x425c, 0xae, 0xa6, 0x4b, 0x55, 0x4d,
                0xa6, 0xe8, 0x23)
__CRT_UUID_DECL(GUILib::ITabulatedSettings, 0x4c1ad577, 0xa7e6, 0x41b6, 0x9e, 0xd5, 0x76, 0xa0,
                0xe9, 0xf0, 0x05, 0x2e)
#endif

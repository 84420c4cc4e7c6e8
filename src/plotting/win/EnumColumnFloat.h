#pragma once
#include <windows.h>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"
#include "plotting/TabulatedData.h"

namespace GUILib {

// What the 32-bit and the 64-bit column enumerators answer alike: the cursor's next values
// (S_OK when the request was filled, S_FALSE when fewer came, none at the end), and a rate of
// one sample per row from row 0.
HRESULT NextColumnValues(ColumnCursor& cursor, std::uint32_t count, float* values,
                         std::uint32_t* fetched) noexcept;
HRESULT ColumnRate(Host::RateInfo* rate) noexcept;

// A float enumerator over a column of a table. It holds the column itself, not the table, so it
// sees values appended later and keeps reading a column the table has dropped. Next answers S_OK
// when it filled the request, S_FALSE when it copied fewer (none at the end).
class CEnumColumnFloat final : public Tarn::ComObject<CEnumColumnFloat, Host::IEnumFloatEx> {
public:
  explicit CEnumColumnFloat(ColumnCursor cursor) noexcept : cursor_(std::move(cursor)) {}

  HRESULT STDMETHODCALLTYPE Clone(Host::IEnumFloatEx** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE SkipEx(std::int32_t count, std::int32_t* skipped) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPosition(std::int32_t* position) noexcept override;
  // Whether the data has gaps is not known to a table.
  HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) noexcept override;
  // One sample per row from row 0: a ratio of 1 to 1 and no offset.
  HRESULT STDMETHODCALLTYPE GetRate(Host::RateInfo* rate) noexcept override;
  HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                 std::uint32_t* fetched) noexcept override;

  void* QueryExtra(REFIID iid) noexcept {
    return iid == Host::IEnumExBase::iid ? static_cast<Host::IEnumExBase*>(this) : nullptr;
  }

private:
  friend ComObject;
  ~CEnumColumnFloat() = default;

  ColumnCursor cursor_;
};

} // namespace GUILib

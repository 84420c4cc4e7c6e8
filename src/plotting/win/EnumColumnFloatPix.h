#pragma once
#include <windows.h>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"
#include "plotting/TabulatedData.h"

namespace GUILib {

// CEnumColumnFloat with 64-bit positions: a float enumerator over a column of a table that holds
// the column itself, so it sees values appended later and outlives the column's removal.
class CEnumColumnFloatPix final : public Tarn::ComObject<CEnumColumnFloatPix, Host::IEnumFloatPix> {
public:
  explicit CEnumColumnFloatPix(ColumnCursor cursor) noexcept : cursor_(std::move(cursor)) {}

  HRESULT STDMETHODCALLTYPE Clone(Host::IEnumFloatPix** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE Skip(std::int64_t count, std::int64_t* skipped) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPosition(std::int64_t* position) noexcept override;
  // Whether the data has gaps is not known to a table.
  HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) noexcept override;
  // One sample per row from row 0: a ratio of 1 to 1 and no offset.
  HRESULT STDMETHODCALLTYPE GetRate(Host::RateInfo* rate) noexcept override;
  HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                 std::uint32_t* fetched) noexcept override;
  HRESULT STDMETHODCALLTYPE Reset() noexcept override;

private:
  friend ComObject;
  ~CEnumColumnFloatPix() = default;

  ColumnCursor cursor_;
};

} // namespace GUILib

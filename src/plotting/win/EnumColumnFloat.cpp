#include "plotting/win/EnumColumnFloat.h"

#include "foundation/win/HostBoundary.h"

#include <algorithm>
#include <limits>
#include <new>

namespace GUILib {

HRESULT CEnumColumnFloat::Clone(Host::IEnumFloatEx** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  *copy = new (std::nothrow) CEnumColumnFloat(cursor_.Clone());
  return *copy ? S_OK : E_OUTOFMEMORY;
}

HRESULT CEnumColumnFloat::SkipEx(std::int32_t count, std::int32_t* skipped) noexcept {
  const std::int64_t moved = cursor_.Skip(count);
  if (skipped)
    *skipped = static_cast<std::int32_t>(moved);
  return S_OK;
}

HRESULT CEnumColumnFloat::GetPosition(std::int32_t* position) noexcept {
  if (!position)
    return E_INVALIDARG;
  *position = static_cast<std::int32_t>(
      std::min<std::int64_t>(cursor_.Position(), std::numeric_limits<std::int32_t>::max()));
  return S_OK;
}

HRESULT CEnumColumnFloat::GetState16(std::int16_t*) noexcept {
  return E_NOTIMPL;
}

HRESULT CEnumColumnFloat::GetRate(Host::RateInfo* rate) noexcept {
  return ColumnRate(rate);
}

HRESULT CEnumColumnFloat::Next(std::uint32_t count, float* values,
                               std::uint32_t* fetched) noexcept {
  return NextColumnValues(cursor_, count, values, fetched);
}

HRESULT ColumnRate(Host::RateInfo* rate) noexcept {
  if (!rate)
    return E_INVALIDARG;
  *rate = {1, 1, 0.0};
  return S_OK;
}

HRESULT NextColumnValues(ColumnCursor& cursor, std::uint32_t count, float* values,
                         std::uint32_t* fetched) noexcept {
  if (fetched)
    *fetched = 0;
  if (!values && count > 0)
    return E_INVALIDARG;
  std::size_t got = 0;
  const HRESULT status = cursor.Next(std::span<float>(values, count), got);
  if (FAILED(status))
    return status;
  if (fetched)
    *fetched = static_cast<std::uint32_t>(got);
  return got == count && count > 0 ? S_OK : S_FALSE;
}

} // namespace GUILib

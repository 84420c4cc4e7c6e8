#include "plotting/win/EnumColumnFloatPix.h"

#include "plotting/win/EnumColumnFloat.h"

#include <new>

namespace GUILib {

HRESULT CEnumColumnFloatPix::Clone(Host::IEnumFloatPix** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  *copy = new (std::nothrow) CEnumColumnFloatPix(cursor_.Clone());
  return *copy ? S_OK : E_OUTOFMEMORY;
}

HRESULT CEnumColumnFloatPix::Skip(std::int64_t count, std::int64_t* skipped) noexcept {
  const std::int64_t moved = cursor_.Skip(count);
  if (skipped)
    *skipped = moved;
  return S_OK;
}

HRESULT CEnumColumnFloatPix::GetPosition(std::int64_t* position) noexcept {
  if (!position)
    return E_INVALIDARG;
  *position = cursor_.Position();
  return S_OK;
}

HRESULT CEnumColumnFloatPix::GetState16(std::int16_t*) noexcept {
  return E_NOTIMPL;
}

HRESULT CEnumColumnFloatPix::GetRate(Host::RateInfo* rate) noexcept {
  return ColumnRate(rate);
}

HRESULT CEnumColumnFloatPix::Next(std::uint32_t count, float* values,
                                  std::uint32_t* fetched) noexcept {
  return NextColumnValues(cursor_, count, values, fetched);
}

HRESULT CEnumColumnFloatPix::Reset() noexcept {
  cursor_.Reset();
  return S_OK;
}

} // namespace GUILib

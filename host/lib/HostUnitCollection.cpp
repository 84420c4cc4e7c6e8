#include "HostUnitCollection.h"

#include "foundation/win/HostBoundary.h"

namespace Vela {

std::vector<UnitValue> HostUnitCollection::Units() const {
  std::lock_guard guard(lock_);
  return values_;
}

void HostUnitCollection::Clear() {
  std::vector<Tarn::ComPtr<Host::IUnitName>> dropped;
  {
    std::lock_guard guard(lock_);
    dropped.swap(units_);
    values_.clear();
    addCalls_ = 0;
  }
}

std::int32_t HostUnitCollection::IndexOf(const UnitValue& value) const {
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (values_[i] == value)
      return static_cast<std::int32_t>(i);
  return -1;
}

HRESULT HostUnitCollection::Count(std::int32_t, std::int32_t* count) noexcept {
  if (!count)
    return E_INVALIDARG;
  std::lock_guard guard(lock_);
  *count = static_cast<std::int32_t>(units_.size());
  return S_OK;
}

HRESULT HostUnitCollection::Enumerate(std::int32_t, IUnknown** enumerator) noexcept {
  if (!enumerator)
    return E_INVALIDARG;
  *enumerator = nullptr;
  return E_NOTIMPL;
}

HRESULT HostUnitCollection::Find(std::int32_t, Host::IUnitName* unit,
                                 std::int32_t* position) noexcept {
  if (!position)
    return E_INVALIDARG;
  *position = -1;
  return Tarn::Guard([&]() -> HRESULT {
    UnitValue value;
    if (!ReadUnit(unit, value))
      return E_INVALIDARG;
    std::lock_guard guard(lock_);
    *position = IndexOf(value);
    return *position < 0 ? S_FALSE : S_OK;
  });
}

HRESULT HostUnitCollection::GetAt(std::int32_t, std::int32_t position,
                                  Host::IUnitName** unit) noexcept {
  if (!unit)
    return E_INVALIDARG;
  *unit = nullptr;
  std::lock_guard guard(lock_);
  if (position < 0 || static_cast<std::size_t>(position) >= units_.size())
    return E_INVALIDARG;
  // The caller owns the added reference.
  units_[position].CopyTo(unit);
  return S_OK;
}

HRESULT HostUnitCollection::Add(std::int32_t, Host::IUnitName* unit,
                                std::int32_t* position) noexcept {
  if (position)
    *position = -1;
  return Tarn::Guard([&]() -> HRESULT {
    UnitValue value;
    if (!ReadUnit(unit, value))
      return E_INVALIDARG;
    std::lock_guard guard(lock_);
    ++addCalls_;
    std::int32_t at = IndexOf(value);
    if (at < 0) {
      units_.emplace_back(unit);
      values_.push_back(std::move(value));
      at = static_cast<std::int32_t>(units_.size() - 1);
    }
    if (position)
      *position = at;
    return S_OK;
  });
}

HRESULT HostUnitCollection::Remove(std::int32_t, Host::IUnitName* unit) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    UnitValue value;
    if (!ReadUnit(unit, value))
      return E_INVALIDARG;
    Tarn::ComPtr<Host::IUnitName> dropped;
    std::lock_guard guard(lock_);
    const std::int32_t at = IndexOf(value);
    if (at < 0)
      return S_FALSE;
    dropped = units_[at];
    units_.erase(units_.begin() + at);
    values_.erase(values_.begin() + at);
    return S_OK;
  });
}

} // namespace Vela

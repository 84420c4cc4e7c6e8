#include "HostUnitCollection.h"

#include <algorithm>

#include "foundation/win/HostBoundary.h"

namespace Vela {

namespace {

// IEnumUnknown with the identifier and null-out status the COM-object base reads.
struct IUnitEnumeration : IEnumUnknown {
  static constexpr const GUID& iid = IID_IEnumUnknown;
  static constexpr HRESULT nullOut = E_INVALIDARG;
};

// The units of the list when Enumerate was called, in order, as IEnumUnknown (each unit answers
// IUnitName when queried).
class HostUnitEnumerator final : public Tarn::ComObject<HostUnitEnumerator, IUnitEnumeration> {
public:
  static HostUnitEnumerator* Create(std::vector<Tarn::ComPtr<Host::IUnitName>> units,
                                    std::size_t next = 0) {
    return new HostUnitEnumerator(std::move(units), next);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** items, ULONG* fetched) noexcept override {
    if (!items || (count > 1 && !fetched))
      return E_INVALIDARG;
    ULONG done = 0;
    for (; done < count && next_ < units_.size(); ++done, ++next_) {
      // The caller owns the reference of each item.
      items[done] = units_[next_].get();
      items[done]->AddRef();
    }
    if (fetched)
      *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
    const std::size_t left = units_.size() - next_;
    next_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** copy) noexcept override {
    if (!copy)
      return E_INVALIDARG;
    *copy = nullptr;
    return Tarn::Guard([&] { *copy = Create(units_, next_); });
  }

private:
  using Base = Tarn::ComObject<HostUnitEnumerator, IUnitEnumeration>;
  friend Base;
  HostUnitEnumerator(std::vector<Tarn::ComPtr<Host::IUnitName>> units, std::size_t next)
      : units_(std::move(units)), next_(next) {}
  ~HostUnitEnumerator() = default;

  std::vector<Tarn::ComPtr<Host::IUnitName>> units_;
  std::size_t next_ = 0;
};

} // namespace

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

void HostUnitCollection::Replace(const std::vector<UnitValue>& units) {
  std::vector<Tarn::ComPtr<Host::IUnitName>> fresh;
  for (const UnitValue& unit : units)
    fresh.push_back(Tarn::ComPtr<Host::IUnitName>::Adopt(
        HostUnit::Create(unit.prefixIndex, unit.name, unit.kind)));
  std::vector<Tarn::ComPtr<Host::IUnitName>> dropped;
  std::lock_guard guard(lock_);
  dropped.swap(units_);
  units_ = std::move(fresh);
  values_ = units;
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
  return Tarn::Guard([&] {
    std::vector<Tarn::ComPtr<Host::IUnitName>> snapshot;
    {
      std::lock_guard guard(lock_);
      snapshot = units_;
    }
    // The caller owns the enumerator's reference.
    *enumerator = HostUnitEnumerator::Create(std::move(snapshot));
  });
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

#pragma once
#include <mutex>
#include <vector>

#include "HostUnit.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's unit list. Add keeps the unit object it is given (one reference) in order; a unit
// equal in prefix, name and kind to one already listed is not added twice.
class HostUnitCollection final : public Tarn::ComObject<HostUnitCollection, Host::IUnitCollection> {
public:
  static HostUnitCollection* Create() { return new HostUnitCollection; }

  std::vector<UnitValue> Units() const;
  int AddCalls() const noexcept { return addCalls_; }
  void Clear();
  // The list becomes `units`, in order (a document's list on opening).
  void Replace(const std::vector<UnitValue>& units);

  HRESULT STDMETHODCALLTYPE Count(std::int32_t zero, std::int32_t* count) noexcept override;
  HRESULT STDMETHODCALLTYPE Enumerate(std::int32_t zero, IUnknown** enumerator) noexcept override;
  HRESULT STDMETHODCALLTYPE Find(std::int32_t zero, Host::IUnitName* unit,
                                 std::int32_t* position) noexcept override;
  HRESULT STDMETHODCALLTYPE GetAt(std::int32_t zero, std::int32_t position,
                                  Host::IUnitName** unit) noexcept override;
  HRESULT STDMETHODCALLTYPE Add(std::int32_t zero, Host::IUnitName* unit,
                                std::int32_t* position) noexcept override;
  HRESULT STDMETHODCALLTYPE Remove(std::int32_t zero, Host::IUnitName* unit) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnitCollection, Host::IUnitCollection>;
  friend Base;
  HostUnitCollection() = default;
  ~HostUnitCollection() = default;
  // Position of a unit equal to `value`, or -1.
  std::int32_t IndexOf(const UnitValue& value) const;

  mutable std::mutex lock_;
  std::vector<Tarn::ComPtr<Host::IUnitName>> units_;
  std::vector<UnitValue> values_;
  int addCalls_ = 0;
};

} // namespace Vela

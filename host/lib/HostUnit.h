#pragma once
#include <cstdint>
#include <string>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's unit object: prefix index, name and kind.
class HostUnit final : public Tarn::ComObject<HostUnit, Host::IUnitName> {
public:
  // A new unit with one reference, owned by the caller.
  static HostUnit* Create(std::int32_t prefixIndex, std::wstring name, std::int32_t kind);

  std::int32_t PrefixIndex() const noexcept { return prefixIndex_; }
  const std::wstring& Name() const noexcept { return name_; }
  std::int32_t Kind() const noexcept { return kind_; }
  // The prefix symbol of an index of the host's prefix table (index 1 and 8: none).
  static const wchar_t* PrefixSymbol(std::int32_t index) noexcept;

  HRESULT STDMETHODCALLTYPE GetPrefixIndex(std::int32_t* index) noexcept override;
  HRESULT STDMETHODCALLTYPE GetName(BOOL withPrefix, ITarnString** name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUnitKind(std::int32_t* kind) noexcept override;
  HRESULT STDMETHODCALLTYPE SetPrefixIndex(std::int32_t index) noexcept override;
  HRESULT STDMETHODCALLTYPE SetName(ITarnString* name) noexcept override;
  HRESULT STDMETHODCALLTYPE SetUnitKind(BOOL kind) noexcept override;
  HRESULT STDMETHODCALLTYPE Clone(Host::IUnitName** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE FormatValue(std::int32_t flags, double value,
                                        ITarnString** text) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnit, Host::IUnitName>;
  friend Base;
  HostUnit() = default;
  ~HostUnit() = default;

  std::int32_t prefixIndex_ = 1;
  std::wstring name_;
  std::int32_t kind_ = 0;
};

// Reads a unit through its interface (any implementation); false when a call fails.
struct UnitValue {
  std::int32_t prefixIndex = 1;
  std::wstring name;
  std::int32_t kind = 0;
  bool operator==(const UnitValue&) const = default;
};
bool ReadUnit(Host::IUnitName* unit, UnitValue& value) noexcept;

} // namespace Vela

#pragma once
#include <cstdint>

#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "units/UnitInfo.h"

namespace Tarn {

// A unit as exchanged with the host: IUnitName for its prefix index, name and kind, and
// IPersistObject for the host's object streams. The name is a TarnString so that clones and the
// host share it without copying. QueryInterface answers IUnknown and IUnitName with the entry and
// IPersistObject with its second face, whose slot 6 is the host's destructor slot.
class UnitEntry final : public ComObject<UnitEntry, Host::IUnitName, Host::IPersistObject> {
public:
  // The low word of the entry's persistence type code.
  static constexpr std::int32_t typeCodeLowWord = 19;

  // A fresh entry (unitKind 0, prefixIndex 1, no name) or a copy of `unit`, holding the only
  // reference.
  [[nodiscard]] static ComPtr<Host::IUnitName> Create();
  [[nodiscard]] static ComPtr<Host::IUnitName> Create(const UnitInfo& unit);

  UnitEntry(const UnitEntry&) = delete;
  UnitEntry& operator=(const UnitEntry&) = delete;

  HRESULT STDMETHODCALLTYPE GetPrefixIndex(std::int32_t* index) noexcept override;
  HRESULT STDMETHODCALLTYPE GetName(BOOL withPrefix, ITarnString** name) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUnitKind(std::int32_t* kind) noexcept override;
  HRESULT STDMETHODCALLTYPE SetPrefixIndex(std::int32_t index) noexcept override;
  HRESULT STDMETHODCALLTYPE SetName(ITarnString* name) noexcept override;
  HRESULT STDMETHODCALLTYPE SetUnitKind(BOOL kind) noexcept override;
  HRESULT STDMETHODCALLTYPE Clone(Host::IUnitName** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE FormatValue(std::int32_t flags, double value,
                                        ITarnString** text) noexcept override;

  HRESULT STDMETHODCALLTYPE Load(Host::IObjectStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(Host::IObjectStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;

private:
  friend ComObject;
  UnitEntry(const UnitPrefixInfo& prefix, TarnString name) noexcept;
  ~UnitEntry() = default;

  UnitInfo ToUnitInfo() const;

  UnitPrefixInfo prefix_;
  TarnString name_;
};

// Reads a host unit into a unit value; the unit is left as it was on failure.
[[nodiscard]] HRESULT ReadUnit(Host::IUnitName* unit, UnitInfo& out) noexcept;

// True when the unit has no name (or cannot tell its name); a null unit counts as no unit.
[[nodiscard]] bool IsNoUnit(Host::IUnitName* unit) noexcept;

} // namespace Tarn

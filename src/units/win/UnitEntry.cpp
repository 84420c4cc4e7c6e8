#include "units/win/UnitEntry.h"

#include <utility>

#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "units/UnitPrefixes.h"

namespace Tarn {
namespace {

// The host's code for the module's family of persistent objects, asked for once; a failed
// lookup is asked again next time.
std::int32_t FamilyCode() {
  static const std::int32_t code =
      MPCalibration::HostServices::RegistryCode(Host::CLSID_MPCalibration);
  return code;
}

HRESULT StreamResult(Host::IObjectStream* stream) noexcept {
  return SUCCEEDED(stream->GetStatus()) ? S_OK : E_FAIL;
}

} // namespace

UnitEntry::UnitEntry(const UnitPrefixInfo& prefix, TarnString name) noexcept
    : prefix_(prefix), name_(std::move(name)) {}

ComPtr<Host::IUnitName> UnitEntry::Create() {
  return Create(UnitInfo{});
}

ComPtr<Host::IUnitName> UnitEntry::Create(const UnitInfo& unit) {
  // The holder takes over the creation reference.
  return ComPtr<Host::IUnitName>::Adopt(new UnitEntry(unit, TarnString(unit.name)));
}

UnitInfo UnitEntry::ToUnitInfo() const {
  UnitInfo unit;
  static_cast<UnitPrefixInfo&>(unit) = prefix_;
  unit.name = name_.str();
  return unit;
}

HRESULT UnitEntry::GetPrefixIndex(std::int32_t* index) noexcept {
  if (!index)
    return E_INVALIDARG;
  *index = prefix_.prefixIndex;
  return S_OK;
}

HRESULT UnitEntry::GetName(BOOL withPrefix, ITarnString** name) noexcept {
  if (!name)
    return E_INVALIDARG;
  try {
    TarnString text =
        withPrefix ? TarnString(PrefixCharacter(prefix_.prefixIndex) + name_.str()) : name_;
    *name = text.release(); // the caller owns this reference now
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT UnitEntry::GetUnitKind(std::int32_t* kind) noexcept {
  if (!kind)
    return E_INVALIDARG;
  *kind = prefix_.unitKind;
  return S_OK;
}

HRESULT UnitEntry::SetPrefixIndex(std::int32_t index) noexcept {
  prefix_.prefixIndex = index;
  return S_OK;
}

HRESULT UnitEntry::SetName(ITarnString* name) noexcept {
  if (!name)
    return E_INVALIDARG;
  try {
    name_ = TarnString::FromHost(name);
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT UnitEntry::SetUnitKind(BOOL kind) noexcept {
  prefix_.unitKind = kind ? 1 : 0;
  return S_OK;
}

HRESULT UnitEntry::Clone(Host::IUnitName** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  try {
    // The creation reference goes to the caller.
    *copy = new UnitEntry(prefix_, name_);
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT UnitEntry::FormatValue(std::int32_t flags, double value, ITarnString** text) noexcept {
  if (!text)
    return E_INVALIDARG;
  try {
    TarnString result(Tarn::FormatValue(ToUnitInfo(), flags, value));
    *text = result.release(); // the caller owns this reference now
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT UnitEntry::Load(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  try {
    // Each field is taken as soon as it is read: a failing stream leaves what came before.
    std::int32_t prefixIndex = 0;
    if (FAILED(stream->ReadInt(&prefixIndex)))
      return E_FAIL;
    prefix_.prefixIndex = prefixIndex;
    ITarnString* name = nullptr;
    const HRESULT nameRead = stream->ReadString(&name);
    TarnString text = TarnString::AdoptHost(name);
    if (FAILED(nameRead))
      return E_FAIL;
    name_ = std::move(text);
    std::int32_t unitKind = 0;
    if (FAILED(stream->ReadInt(&unitKind)))
      return E_FAIL;
    prefix_.unitKind = unitKind;
    return StreamResult(stream);
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT UnitEntry::Save(Host::IObjectStream* stream) noexcept {
  if (!stream)
    return E_INVALIDARG;
  if (FAILED(stream->WriteInt(prefix_.prefixIndex)) || FAILED(stream->WriteString(name_.get())) ||
      FAILED(stream->WriteInt(prefix_.unitKind)))
    return E_FAIL;
  return StreamResult(stream);
}

HRESULT UnitEntry::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  try {
    // Shifted as unsigned: a registry code of 0x8000 or more sets the sign bit.
    *code = static_cast<std::int32_t>((static_cast<std::uint32_t>(FamilyCode()) << 16) +
                                      typeCodeLowWord);
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

HRESULT ReadUnit(Host::IUnitName* unit, UnitInfo& out) noexcept {
  if (!unit)
    return E_INVALIDARG;
  try {
    UnitInfo read;
    ITarnString* name = nullptr;
    HRESULT status = unit->GetName(FALSE, &name);
    const TarnString text = TarnString::AdoptHost(name);
    if (SUCCEEDED(status))
      status = unit->GetPrefixIndex(&read.prefixIndex);
    if (SUCCEEDED(status))
      status = unit->GetUnitKind(&read.unitKind);
    if (FAILED(status))
      return status;
    read.name = text.str();
    out = std::move(read);
    return S_OK;
  } catch (...) {
    return HResultFromCaught();
  }
}

bool IsNoUnit(Host::IUnitName* unit) noexcept {
  if (!unit)
    return true;
  ITarnString* name = nullptr;
  if (FAILED(unit->GetName(FALSE, &name)) || !name)
    return true;
  // Adopted so that the reference the call gave is released.
  const ComPtr<ITarnString> held = ComPtr<ITarnString>::Adopt(name);
  return held->Length() == 0;
}

} // namespace Tarn

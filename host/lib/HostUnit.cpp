#include "HostUnit.h"

#include <cwchar>

#include "foundation/win/ComPtr.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {

HostUnit* HostUnit::Create(std::int32_t prefixIndex, std::wstring name, std::int32_t kind) {
  auto* u = new HostUnit;
  u->prefixIndex_ = prefixIndex;
  u->name_ = std::move(name);
  u->kind_ = kind;
  return u;
}

const wchar_t* HostUnit::PrefixSymbol(std::int32_t index) noexcept {
  // The extension's prefix table: 2..7 are a f p n µ m, 9..14 are k M G T P E.
  static const wchar_t* const symbols[] = {L"", L"",  L"a", L"f", L"p", L"n", L"\u00B5", L"m",
                                           L"", L"k", L"M", L"G", L"T", L"P", L"E"};
  if (index < 0 || index >= static_cast<std::int32_t>(std::size(symbols)))
    return L"";
  return symbols[index];
}

HRESULT HostUnit::GetPrefixIndex(std::int32_t* index) noexcept {
  if (!index)
    return E_INVALIDARG;
  *index = prefixIndex_;
  return S_OK;
}

HRESULT HostUnit::GetName(BOOL withPrefix, ITarnString** name) noexcept {
  if (!name)
    return E_INVALIDARG;
  *name = nullptr;
  return Tarn::Guard([&] {
    std::wstring text = withPrefix ? PrefixSymbol(prefixIndex_) + name_ : name_;
    // The caller owns the reference now.
    *name = Tarn::TarnString(text).release();
  });
}

HRESULT HostUnit::GetUnitKind(std::int32_t* kind) noexcept {
  if (!kind)
    return E_INVALIDARG;
  *kind = kind_;
  return S_OK;
}

HRESULT HostUnit::SetPrefixIndex(std::int32_t index) noexcept {
  prefixIndex_ = index;
  return S_OK;
}

HRESULT HostUnit::SetName(ITarnString* name) noexcept {
  return Tarn::Guard([&] { name_ = Tarn::TarnString::FromHost(name).str(); });
}

HRESULT HostUnit::SetUnitKind(BOOL kind) noexcept {
  kind_ = kind;
  return S_OK;
}

HRESULT HostUnit::Clone(Host::IUnitName** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  *copy = nullptr;
  // The caller owns the reference of the copy.
  return Tarn::Guard([&] { *copy = Create(prefixIndex_, name_, kind_); });
}

HRESULT HostUnit::FormatValue(std::int32_t, double value, ITarnString** text) noexcept {
  if (!text)
    return E_INVALIDARG;
  *text = nullptr;
  return Tarn::Guard([&] {
    wchar_t number[40];
    std::swprintf(number, std::size(number), L"%g", value);
    const std::wstring shown = number + (L" " + (PrefixSymbol(prefixIndex_) + name_));
    // The caller owns the reference now.
    *text = Tarn::TarnString(shown).release();
  });
}

bool ReadUnit(Host::IUnitName* unit, UnitValue& value) noexcept {
  if (!unit)
    return false;
  try {
    Tarn::ComPtr<ITarnString> name;
    if (FAILED(unit->GetPrefixIndex(&value.prefixIndex)) ||
        FAILED(unit->GetUnitKind(&value.kind)) || FAILED(unit->GetName(FALSE, name.put())))
      return false;
    value.name = Tarn::TarnString::FromHost(name.get()).str();
    return true;
  } catch (...) {
    return false;
  }
}

} // namespace Vela

#include "HostChannelInformation.h"

#include <cmath>

#include <iterator>

#include "foundation/win/HostBoundary.h"

namespace Vela {

HostChannelInformation* HostChannelInformation::Create(std::shared_ptr<const Recording> recording,
                                                       std::size_t channel) {
  auto* i = new HostChannelInformation;
  i->recording_ = std::move(recording);
  i->channel_ = channel;
  return i;
}

UnitValue HostChannelInformation::UnitOf(const std::wstring& text) {
  static const wchar_t* const bases[] = {L"V", L"A",  L"Pa", L"g",   L"s",  L"Hz",  L"W",
                                         L"l", L"L",  L"m",  L"N",   L"J",  L"Ohm", L"\u03A9",
                                         L"S", L"Wb", L"T",  L"mol", L"cd", L"K",   L"C"};
  // Indexes of the host's prefix table that carry a symbol (1 and 8 are "no prefix").
  for (std::int32_t index = 2; index <= 14; ++index) {
    const std::wstring symbol = HostUnit::PrefixSymbol(index);
    if (symbol.empty() || text.size() <= symbol.size() || text.compare(0, symbol.size(), symbol))
      continue;
    const std::wstring rest = text.substr(symbol.size());
    for (const wchar_t* base : bases)
      if (rest == base)
        return {index, rest, 0};
  }
  return {1, text, 0};
}

double HostChannelInformation::CalculationInputFactor(const std::wstring& unit) {
  // Indexes 2..7 are a f p n µ m, 9..14 k M G T P E; the others carry no prefix.
  const std::int32_t index = UnitOf(unit).prefixIndex;
  const int power = index >= 2 && index <= 7    ? -3 * (8 - index)
                    : index >= 9 && index <= 14 ? 3 * (index - 8)
                                                : 0;
  return std::pow(10.0, power);
}

HRESULT HostChannelInformation::ConvertValue(std::uint32_t kind, double value,
                                             double* converted) noexcept {
  if (!converted)
    return E_INVALIDARG;
  if (kind != Host::kDataKindRaw || channel_ >= recording_->ChannelCount())
    return E_INVALIDARG;
  *converted = recording_->ChannelAt(channel_).ToDataUnits(value);
  return S_OK;
}

HRESULT HostChannelInformation::GetUnits(std::uint32_t kind, Host::IUnitName** unit) noexcept {
  if (!unit)
    return E_INVALIDARG;
  *unit = nullptr;
  if (kind != Host::kDataKindRaw || channel_ >= recording_->ChannelCount())
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    const UnitValue u = UnitOf(recording_->ChannelAt(channel_).DataUnit());
    // The caller owns the reference of the new unit.
    *unit = HostUnit::Create(u.prefixIndex, u.name, u.kind);
  });
}

} // namespace Vela

#include "HostChannelInformation.h"

#include <iterator>

#include "foundation/win/HostBoundary.h"
#include "units/UnitPrefixes.h"

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

std::int32_t HostChannelInformation::CalculationInputPower(const std::wstring& unit) {
  return Tarn::PrefixPower(UnitOf(unit).prefixIndex);
}

void HostChannelInformation::ToCalculationInput(const std::wstring& unit,
                                                std::vector<float>& samples) {
  const std::int32_t power = CalculationInputPower(unit);
  if (power == 0)
    return;
  for (float& v : samples)
    v = static_cast<float>(Tarn::ScaleByPowerOfTen(v, power));
}

void HostChannelInformation::ToCalculationInput(const Recording::Channel& channel,
                                                std::vector<float>& samples) {
  if (channel.conversion.active) {
    for (float& v : samples)
      v = static_cast<float>(channel.ToDataUnits(v));
  }
  ToCalculationInput(channel.DataUnit(), samples);
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

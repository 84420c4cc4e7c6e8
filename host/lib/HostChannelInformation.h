#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "HostUnit.h"
#include "Recording.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// One channel's information for the whole recording or one block: the host's units conversion
// and the unit of the data values. The channel's state is read at each call, so a conversion
// switched on later is seen.
class HostChannelInformation final
    : public Tarn::ComObject<HostChannelInformation, Host::IChannelInformation> {
public:
  // A new object with one reference, owned by the caller; `channel` exists in `recording`.
  static HostChannelInformation* Create(std::shared_ptr<const Recording> recording,
                                        std::size_t channel);

  // A unit text as the host's unit object holds it: a leading prefix symbol is split off when
  // the rest is a base unit ("mV" -> m, "V"; "mmHg" stays whole).
  static UnitValue UnitOf(const std::wstring& text);

  // A calculation on a channel receives its samples in the unit without its prefix (chosen):
  // volts for a mV channel, the unit the calibration dialog keeps raw points in. The power of ten
  // that takes a sample in `unit` there ("mV" -> -3; 0 for a unit without a prefix).
  static std::int32_t CalculationInputPower(const std::wstring& unit);
  // Turns `samples` of a channel in `unit` into what a calculation receives, in place.
  static void ToCalculationInput(const std::wstring& unit, std::vector<float>& samples);
  // The same for a recording's channel, through the host's units conversion when it is active.
  static void ToCalculationInput(const Recording::Channel& channel, std::vector<float>& samples);

  HRESULT STDMETHODCALLTYPE ConvertValue(std::uint32_t kind, double value,
                                         double* converted) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUnits(std::uint32_t kind, Host::IUnitName** unit) noexcept override;

private:
  using Base = Tarn::ComObject<HostChannelInformation, Host::IChannelInformation>;
  friend Base;
  HostChannelInformation() = default;
  ~HostChannelInformation() = default;

  std::shared_ptr<const Recording> recording_;
  std::size_t channel_ = 0;
};

} // namespace Vela

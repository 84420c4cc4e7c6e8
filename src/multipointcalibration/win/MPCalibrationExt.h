#pragma once
#include <cstdint>

#include "foundation/win/ComPtr.h"
#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/ChannelCalcBase.h"
#include "units/UnitInfo.h"

namespace MPCalibration {

// "Multipoint Calibration" on one channel: holds the channel's current settings and applies new
// ones to the host's calculation object (enumerator, output scaling, source, parameter text)
// and to the host's unit list.
class MPCalibrationExt final : public ChannelCalcBase {
public:
  // The persisted settings object of a channel (MPCalibrationExtSettings.h).
  class Settings;

  // Starts with one reference (the creator's) and fresh settings for `channel`. Raises
  // Tarn::XHResult when the host cannot make its calculation object.
  MPCalibrationExt(IUnknown* creator, IUnknown* dataSource, std::int32_t channel);

  // IChannelCalc
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetOutputInfo(std::int32_t a, void* reserved,
                                                        Host::IUnitName** unit,
                                                        Host::RateInfo* rate, void* b,
                                                        std::int32_t* extra) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE ApplySettings(
      Host::IPersistObject* newSettings, std::int16_t recreateEnumerator) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE
  SetSettings(Host::IPersistObject* newSettings) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetSettings(Host::IPersistObject** out) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetFlags(std::int32_t* flags) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE NotImplemented8(void** out) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE NotImplemented9(void** out) noexcept override;
  [[nodiscard]] HRESULT STDMETHODCALLTYPE NoOp10() noexcept override { return S_OK; }
  void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) noexcept override;

  // Sets the output fields from a display range (top, bottom), the decimal places and the output
  // unit, hands the unit to the host's unit list, and gives the scaling the host's calculation
  // applies: {1 / scale, -(offset x scale)}.
  Host::OutputScaling SetOutputScaling(double top, double bottom, std::int32_t decimals,
                                       const Tarn::UnitInfo& unit);

private:
  ~MPCalibrationExt();

  // The unit goes to the host's list of units; the object made for it is not kept.
  static void AddToUnitList(const Tarn::UnitInfo& unit);

  Tarn::ComPtr<Settings> settings;
  Tarn::TarnString hostString;
};

} // namespace MPCalibration

#pragma once
#include <windows.h>

#include <cstdint>
#include <limits>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"

namespace MPCalibration {

// The state and the IUnknown of a per-channel calculation: the host's channel-calculation object
// aggregated as `inner`, the channel's information objects, and the output scaling of the last
// apply. `inner`'s non-delegating IUnknown is owned here; this object's reference count alone
// decides the life of both. Interfaces other than IUnknown and IChannelCalc are answered by
// `inner`.
class ChannelCalcBase : public Host::IChannelCalc {
public:
  ChannelCalcBase(const ChannelCalcBase&) = delete;
  ChannelCalcBase& operator=(const ChannelCalcBase&) = delete;

  [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

protected:
  // The host objects are borrowed: the host keeps the data source and the class object alive
  // for longer than any calculation it made from them.
  ChannelCalcBase(IUnknown* creator, IUnknown* dataSource, std::int32_t channel) noexcept;
  ~ChannelCalcBase();

  // Fetches the channel information and aggregates the host's channel-calculation object. Called
  // by the most derived constructor, once this object answers QueryInterface as itself: the
  // registrar may query the outer object while it builds the inner one.
  void Connect();

  // Interlocked; starts at 1, the creator's reference.
  LONG refCount_ = 1;
  Tarn::ComPtr<IUnknown> inner;
  // Interfaces of `inner` and of the channel information, held without a reference: a reference
  // to an aggregated object's interface would be a reference to this object itself.
  Host::IHostChannelCalc* hostCalc = nullptr;
  IUnknown* channelInfo = nullptr;
  Host::IChannelInfoEx* channelInfoEx = nullptr;
  // The data source the host passes is its IHostDataSource face.
  Host::IHostDataSource* dataSource;
  IUnknown* creator;
  std::int32_t channel;
  // scale, offset, top, bottom, decimals, prefixIndex, unitFlag: one block, because the data
  // source receives its address when it makes the output unit.
  Host::OutputFieldBlock outputFields{
      1.0, 0.0, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 2,
      1,   0};
  Tarn::ComPtr<Host::IUnitName> outputUnit;
  std::int32_t enumClassCode = 0;

private:
  LiveObjectCounter counted_;
};

} // namespace MPCalibration

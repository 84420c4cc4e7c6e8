#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "HostRecords.h"
#include "HostUnitAnnouncement.h"
#include "foundation/win/ComObject.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

class HostUnitCollection;
class HostUnitListService;

// The host application's class object: the registrar, the class-code registry and the message
// dispatcher in one object, one per process (or per copy of the host library). It never goes
// away: extensions cache it for the life of the process.
class HostApplication final
    : public Tarn::ComObject<HostApplication, Host::IRegistrarBase, Host::IClassCodeRegistry,
                             Host::IMessageDispatcher> {
public:
  static HostApplication& Instance();

  // The stable 16-bit code of a class identifier (assigned on first request).
  std::int32_t CodeOf(REFGUID clsid);
  std::int32_t HostChannelCalcClassCode() {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(CodeOf(Host::CLSID_HostChannelCalc))
                                     << 16) +
           Host::kHostChannelCalcLowWord;
  }
  std::int32_t UnitServiceClassCode() {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(CodeOf(Host::CLSID_UnitService))
                                     << 16) +
           Host::kUnitServiceLowWord;
  }

  // The class code of the controls library's scale factory: the library's class identifier with
  // a low word of its own, so that it differs from the channel calculation's.
  std::int32_t DragScaleFactoryClassCode() {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(CodeOf(Host::CLSID_HostChannelCalc))
                                     << 16) +
           Host::kDragScaleFactoryLowWord;
  }

  // The class code of the announcement of a unit change.
  std::int32_t UnitAnnouncementClassCode() {
    return static_cast<std::int32_t>(
               static_cast<std::uint32_t>(CodeOf(Host::CLSID_UnitAnnouncement)) << 16) +
           kUnitAnnouncementLowWord;
  }
  static constexpr std::int32_t kUnitAnnouncementLowWord = 17;

  // Module class objects in the order of registration (each holds one reference).
  std::vector<Tarn::ComPtr<IUnknown>> Registered() const;
  // A registered class object by class code, asked for `iid`.
  HRESULT FindRegistered(std::int32_t classCode, REFIID iid, void** out);
  std::vector<Delivery> Deliveries() const;
  // Records of every host channel-calculation object made, in order of creation.
  std::vector<std::shared_ptr<const CalcRecord>> Calculations() const;
  // Records of every unit announcement object made, in order of creation.
  std::vector<std::shared_ptr<UnitAnnouncementRecord>> Announcements() const;
  HostUnitCollection& UnitList() noexcept { return *unitList_; }
  IUnknown* UnitListServiceObject() noexcept;
  // The application service (unit list and help) behind UnitListServiceObject.
  HostUnitListService& ApplicationService() noexcept { return *unitListService_; }

  // Drops the registrations, the records and the units (tests and the end of a host run), so
  // that no module object is kept alive by the host.
  void Clear();

  // IRegistrarBase
  HRESULT STDMETHODCALLTYPE CreateAggregated(IUnknown* outer, std::int32_t classCode, REFIID riid,
                                             void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved4() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClassObject(std::int32_t classCode, REFIID riid,
                                           void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE RegisterClassObject(IUnknown* classObject) noexcept override;
  // IClassCodeRegistry
  HRESULT STDMETHODCALLTYPE GetClassCode(REFGUID clsid, std::int32_t* code) noexcept override;
  // IMessageDispatcher
  HRESULT STDMETHODCALLTYPE Deliver(IUnknown* target, IUnknown* message) noexcept override;

private:
  using Base = Tarn::ComObject<HostApplication, Host::IRegistrarBase, Host::IClassCodeRegistry,
                               Host::IMessageDispatcher>;
  friend Base;
  HostApplication();
  ~HostApplication();

  // Codes start above zero so that no class code is 0, and stay below 0x8000 so that shifted
  // codes remain positive.
  static constexpr std::int32_t kFirstCode = 0x0101;

  mutable std::mutex lock_;
  std::vector<std::pair<GUID, std::int32_t>> codes_;
  std::vector<Tarn::ComPtr<IUnknown>> registered_;
  std::vector<Delivery> deliveries_;
  std::vector<std::shared_ptr<CalcRecord>> calcs_;
  std::vector<std::shared_ptr<UnitAnnouncementRecord>> announcements_;
  Tarn::ComPtr<IUnknown> messageFactory_;
  Tarn::ComPtr<IUnknown> unitService_;
  Tarn::ComPtr<IUnknown> dragScaleFactory_;
  Tarn::ComPtr<HostUnitCollection> unitList_;
  Tarn::ComPtr<HostUnitListService> unitListService_;
};

} // namespace Vela

#include "HostUnitAnnouncement.h"

#include "HostApplication.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {

HRESULT HostUnitAnnouncement::Create(REFIID iid, void** out,
                                     std::shared_ptr<UnitAnnouncementRecord> record) {
  auto* object = new HostUnitAnnouncement(record);
  record->item = static_cast<Host::IHostMessageItem*>(object);
  const HRESULT hr = object->QueryInterface(iid, out);
  // The creation reference goes; a failed query destroys the object.
  object->Release();
  return hr;
}

HRESULT HostUnitAnnouncement::SetUnit(ITarnString* name, std::int32_t prefixIndex,
                                      std::int32_t unitKind) noexcept {
  if (!name)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    record_->name = Tarn::TarnString::FromHost(name).str();
    record_->prefixIndex = prefixIndex;
    record_->unitKind = unitKind;
    ++record_->unitCalls;
  });
}

HRESULT HostUnitAnnouncement::SetCode(std::uint32_t code) noexcept {
  record_->code = code;
  ++record_->codeCalls;
  return S_OK;
}

HRESULT HostUnitAnnouncement::SetFlags(std::uint32_t flags) noexcept {
  record_->flags = flags;
  ++record_->flagCalls;
  return S_OK;
}

std::vector<UnitAnnouncementRecord> HostUnitNotifyTarget::Received() const {
  std::lock_guard guard(lock_);
  std::vector<UnitAnnouncementRecord> copies;
  for (const auto& record : received_)
    copies.push_back(*record);
  return copies;
}

HRESULT HostUnitNotifyTarget::Notify(Host::IHostMessageItem* message) noexcept {
  if (!message)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    for (const auto& record : HostApplication::Instance().Announcements())
      if (record->item == message) {
        ++record->notified;
        std::lock_guard guard(lock_);
        received_.push_back(record);
        return S_OK;
      }
    // Not an announcement of this host.
    return E_INVALIDARG;
  });
}

} // namespace Vela

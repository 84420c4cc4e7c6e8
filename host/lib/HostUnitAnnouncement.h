#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// What one announcement object was told, and whether it reached a notify target.
struct UnitAnnouncementRecord {
  int unitCalls = 0;
  std::wstring name;
  std::int32_t prefixIndex = 0;
  std::int32_t unitKind = 0;
  int codeCalls = 0;
  std::uint32_t code = 0;
  int flagCalls = 0;
  std::uint32_t flags = 0;
  int notified = 0;
  const void* item = nullptr; // identity of the message face, to match a notification
};

// The announcement object the registrar makes for class code (code of the announcement class)
// x 65536 + 17. It records what it is told.
class HostUnitAnnouncement final
    : public Tarn::ComObject<HostUnitAnnouncement, Host::IUnitAnnouncement, Host::IHostMessageCode,
                             Host::IHostMessageItem> {
public:
  // A new object asked for `iid`; the caller owns the reference in `out`.
  static HRESULT Create(REFIID iid, void** out, std::shared_ptr<UnitAnnouncementRecord> record);

  HRESULT STDMETHODCALLTYPE SetUnit(ITarnString* name, std::int32_t prefixIndex,
                                    std::int32_t unitKind) noexcept override;
  HRESULT STDMETHODCALLTYPE SetCode(std::uint32_t code) noexcept override;
  HRESULT STDMETHODCALLTYPE SetFlags(std::uint32_t flags) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnitAnnouncement, Host::IUnitAnnouncement,
                               Host::IHostMessageCode, Host::IHostMessageItem>;
  friend Base;
  explicit HostUnitAnnouncement(std::shared_ptr<UnitAnnouncementRecord> record)
      : record_(std::move(record)) {}
  // A later announcement may take this one's address: the record stops naming it.
  ~HostUnitAnnouncement() { record_->item = nullptr; }

  std::shared_ptr<UnitAnnouncementRecord> record_;
};

// A notify target that keeps the announcements handed to it (the host's document window plays
// this part).
class HostUnitNotifyTarget final
    : public Tarn::ComObject<HostUnitNotifyTarget, Host::IUnitNotifyTarget> {
public:
  // A new target with one reference, owned by the caller.
  static HostUnitNotifyTarget* Create() { return new HostUnitNotifyTarget; }

  // Copies of the records of the announcements received, in order.
  std::vector<UnitAnnouncementRecord> Received() const;

  HRESULT STDMETHODCALLTYPE Notify(Host::IHostMessageItem* message) noexcept override;

private:
  using Base = Tarn::ComObject<HostUnitNotifyTarget, Host::IUnitNotifyTarget>;
  friend Base;
  HostUnitNotifyTarget() = default;
  ~HostUnitNotifyTarget() = default;

  mutable std::mutex lock_;
  std::vector<std::shared_ptr<UnitAnnouncementRecord>> received_;
};

} // namespace Vela

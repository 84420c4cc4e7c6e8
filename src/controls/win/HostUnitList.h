#pragma once
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "units/UnitCollection.h"

namespace TarnControls {

// The host's unit collection behind the units control and the unit dialogs. A host that answers
// a missing unit with a failure instead of S_FALSE and -1 is read the same way; a failing call
// otherwise reads as an empty or refusing list.
class HostUnitList final : public Tarn::UnitCollection {
public:
  explicit HostUnitList(Tarn::ComPtr<Host::IUnitCollection> collection) noexcept
      : collection_(std::move(collection)) {}

  Host::IUnitCollection* get() const noexcept { return collection_.get(); }

  // Through Enumerate (items answering IUnitName); by Count and GetAt when the host has none.
  std::vector<Tarn::UnitInfo> Units() override;
  std::optional<int> Find(const Tarn::UnitInfo& unit) override;
  std::optional<int> Add(const Tarn::UnitInfo& unit) override;
  bool Remove(const Tarn::UnitInfo& unit) override;

private:
  Tarn::ComPtr<Host::IUnitCollection> collection_;
};

enum class UnitAnnouncementKind { Defined, Deleted };

// Announces a defined or deleted unit to `target` through an announcement object made by the
// host's registrar. Returns the first failure; nothing is announced without a target.
HRESULT AnnounceUnit(Host::IUnitNotifyTarget* target, const Tarn::UnitInfo& unit,
                     UnitAnnouncementKind kind) noexcept;

} // namespace TarnControls

#include "controls/win/HostUnitList.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "foundation/win/TarnString.h"
#include "units/win/UnitEntry.h"

namespace TarnControls {

namespace {

constexpr std::int32_t kAnnouncementLowWord = 17;
constexpr std::uint32_t kDefinedMessage = 9;
constexpr std::uint32_t kDeletedMessage = 10;
constexpr std::uint32_t kAnnouncementFlags = 0x20000;

bool ReadInto(IUnknown* item, std::vector<Tarn::UnitInfo>& units) {
  Tarn::ComPtr<Host::IUnitName> name;
  if (!item || FAILED(item->QueryInterface(Host::IUnitName::iid, name.put_void())))
    return false;
  Tarn::UnitInfo unit;
  if (FAILED(Tarn::ReadUnit(name.get(), unit)))
    return false;
  units.push_back(std::move(unit));
  return true;
}

} // namespace

std::vector<Tarn::UnitInfo> HostUnitList::Units() {
  std::vector<Tarn::UnitInfo> units;
  if (!collection_)
    return units;
  Tarn::ComPtr<IUnknown> enumeration;
  Tarn::ComPtr<IEnumUnknown> items;
  if (SUCCEEDED(collection_->Enumerate(0, enumeration.put())) && enumeration &&
      SUCCEEDED(enumeration->QueryInterface(IID_IEnumUnknown, items.put_void()))) {
    for (;;) {
      Tarn::ComPtr<IUnknown> item;
      ULONG fetched = 0;
      if (items->Next(1, item.put(), &fetched) != S_OK || fetched != 1)
        return units;
      ReadInto(item.get(), units);
    }
  }
  std::int32_t count = 0;
  if (FAILED(collection_->Count(0, &count)))
    return units;
  for (std::int32_t i = 0; i < count; ++i) {
    Tarn::ComPtr<Host::IUnitName> unit;
    if (SUCCEEDED(collection_->GetAt(0, i, unit.put())))
      ReadInto(unit.get(), units);
  }
  return units;
}

std::optional<int> HostUnitList::Find(const Tarn::UnitInfo& unit) {
  if (!collection_)
    return std::nullopt;
  const Tarn::ComPtr<Host::IUnitName> entry = Tarn::UnitEntry::Create(unit);
  std::int32_t position = -1;
  if (collection_->Find(0, entry.get(), &position) != S_OK || position < 0)
    return std::nullopt;
  return position;
}

std::optional<int> HostUnitList::Add(const Tarn::UnitInfo& unit) {
  if (!collection_)
    return std::nullopt;
  const Tarn::ComPtr<Host::IUnitName> entry = Tarn::UnitEntry::Create(unit);
  std::int32_t position = -1;
  if (FAILED(collection_->Add(0, entry.get(), &position)) || position < 0)
    return std::nullopt;
  return position;
}

bool HostUnitList::Remove(const Tarn::UnitInfo& unit) {
  if (!collection_)
    return false;
  const Tarn::ComPtr<Host::IUnitName> entry = Tarn::UnitEntry::Create(unit);
  return collection_->Remove(0, entry.get()) == S_OK;
}

HRESULT AnnounceUnit(Host::IUnitNotifyTarget* target, const Tarn::UnitInfo& unit,
                     UnitAnnouncementKind kind) noexcept {
  if (!target)
    return S_FALSE;
  return Tarn::Guard([&]() -> HRESULT {
    namespace Services = MPCalibration::HostServices;
    const auto classCode = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(Services::RegistryCode(Host::CLSID_UnitAnnouncement)) << 16) +
        kAnnouncementLowWord);
    Tarn::ComPtr<Host::IUnitAnnouncement> announcement;
    HRESULT hr = Services::Registrar()->CreateAggregated(
        nullptr, classCode, Host::IUnitAnnouncement::iid, announcement.put_void());
    if (FAILED(hr) || !announcement)
      return FAILED(hr) ? hr : E_NOINTERFACE;
    const Tarn::TarnString name(unit.name);
    if (FAILED(hr = announcement->SetUnit(name.get(), unit.prefixIndex, unit.unitKind)))
      return hr;
    Tarn::ComPtr<Host::IHostMessageCode> message;
    if (FAILED(hr = announcement->QueryInterface(Host::IHostMessageCode::iid, message.put_void())))
      return hr;
    const std::uint32_t family =
        static_cast<std::uint32_t>(Services::RegistryCode(Host::CLSID_UnitMessageFamily)) << 16;
    const std::uint32_t number =
        kind == UnitAnnouncementKind::Defined ? kDefinedMessage : kDeletedMessage;
    if (FAILED(hr = message->SetCode(family + number)) ||
        FAILED(hr = message->SetFlags(kAnnouncementFlags)))
      return hr;
    Tarn::ComPtr<Host::IHostMessageItem> item;
    if (FAILED(hr = announcement->QueryInterface(Host::IHostMessageItem::iid, item.put_void())))
      return hr;
    return target->Notify(item.get());
  });
}

} // namespace TarnControls

#include "HostApplication.h"

#include <cstring>

#include "HostChannelCalc.h"
#include "HostDragScaleFactory.h"
#include "HostMessage.h"
#include "HostUnitCollection.h"
#include "HostUnitListService.h"
#include "HostUnitService.h"
#include "foundation/win/HostBoundary.h"

namespace Vela {

HostApplication& HostApplication::Instance() {
  // Deliberately never destroyed: extensions keep the host's services for the life of the
  // process and may release them after static destructors have run.
  static HostApplication* host = new HostApplication;
  return *host;
}

HostApplication::HostApplication() {
  messageFactory_.Attach(static_cast<Host::IMessageFactory*>(HostMessageFactory::Create()));
  unitService_.Attach(static_cast<Host::IUnitService*>(HostUnitService::Create()));
  dragScaleFactory_.Attach(static_cast<Host::IDragScaleFactory*>(HostDragScaleFactory::Create()));
  unitList_.Attach(HostUnitCollection::Create());
  unitListService_.Attach(HostUnitListService::Create(unitList_.get()));
}

HostApplication::~HostApplication() = default;

IUnknown* HostApplication::UnitListServiceObject() noexcept {
  return static_cast<Host::IUnitListService*>(unitListService_.get());
}

std::int32_t HostApplication::CodeOf(REFGUID clsid) {
  std::lock_guard guard(lock_);
  for (const auto& [id, code] : codes_)
    if (IsEqualGUID(id, clsid))
      return code;
  const std::int32_t code = kFirstCode + static_cast<std::int32_t>(codes_.size());
  codes_.emplace_back(clsid, code);
  return code;
}

std::vector<Tarn::ComPtr<IUnknown>> HostApplication::Registered() const {
  std::lock_guard guard(lock_);
  return registered_;
}

std::vector<Delivery> HostApplication::Deliveries() const {
  std::lock_guard guard(lock_);
  return deliveries_;
}

std::vector<std::shared_ptr<const CalcRecord>> HostApplication::Calculations() const {
  std::lock_guard guard(lock_);
  return {calcs_.begin(), calcs_.end()};
}

std::vector<std::shared_ptr<UnitAnnouncementRecord>> HostApplication::Announcements() const {
  std::lock_guard guard(lock_);
  return announcements_;
}

void HostApplication::Clear() {
  std::vector<Tarn::ComPtr<IUnknown>> dropped;
  {
    std::lock_guard guard(lock_);
    dropped.swap(registered_);
    deliveries_.clear();
    calcs_.clear();
    announcements_.clear();
  }
  unitList_->Clear();
  unitListService_->ClearHelpCalls();
}

HRESULT HostApplication::FindRegistered(std::int32_t classCode, REFIID iid, void** out) {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  // Asked outside the lock: a class object may call back into the host for its code. Every
  // module class object derives from IVelaClassObject, but each answers only its own faces.
  static const GUID* const faces[] = {&Host::IID_IVelaClassObject, &Host::IID_ICalculationClass,
                                      &Host::IID_IPersistClassObject, &Host::IID_ICalcEnumClass2};
  for (const auto& object : Registered()) {
    for (const GUID* face : faces) {
      Tarn::ComPtr<Host::IVelaClassObject> classObject;
      if (FAILED(object.QueryTo(*face, classObject)))
        continue;
      std::int32_t code = 0;
      if (SUCCEEDED(classObject->GetClassCode(&code)) && code == classCode)
        return object->QueryInterface(iid, out);
      break;
    }
  }
  return REGDB_E_CLASSNOTREG;
}

HRESULT HostApplication::CreateAggregated(IUnknown* outer, std::int32_t classCode, REFIID riid,
                                          void** out) noexcept {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return Tarn::Guard([&]() -> HRESULT {
    if (classCode == UnitAnnouncementClassCode()) {
      // The announcement is not made to be aggregated.
      if (outer)
        return CLASS_E_NOAGGREGATION;
      auto record = std::make_shared<UnitAnnouncementRecord>();
      const HRESULT hr = HostUnitAnnouncement::Create(riid, out, record);
      if (SUCCEEDED(hr)) {
        std::lock_guard guard(lock_);
        announcements_.push_back(std::move(record));
      }
      return hr;
    }
    if (classCode != HostChannelCalcClassCode())
      return REGDB_E_CLASSNOTREG;
    auto record = std::make_shared<CalcRecord>();
    const HRESULT hr = HostChannelCalc::Create(outer, riid, out, record);
    if (SUCCEEDED(hr)) {
      std::lock_guard guard(lock_);
      calcs_.push_back(std::move(record));
    }
    return hr;
  });
}

HRESULT HostApplication::GetClassObject(std::int32_t classCode, REFIID riid, void** out) noexcept {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  return Tarn::Guard([&]() -> HRESULT {
    if (classCode == Host::kMessageFactoryClassCode)
      return messageFactory_->QueryInterface(riid, out);
    if (classCode == UnitServiceClassCode())
      return unitService_->QueryInterface(riid, out);
    if (classCode == DragScaleFactoryClassCode())
      return dragScaleFactory_->QueryInterface(riid, out);
    return FindRegistered(classCode, riid, out);
  });
}

HRESULT HostApplication::RegisterClassObject(IUnknown* classObject) noexcept {
  if (!classObject)
    return E_INVALIDARG;
  return Tarn::Guard([&] {
    std::lock_guard guard(lock_);
    registered_.emplace_back(classObject);
  });
}

HRESULT HostApplication::GetClassCode(REFGUID clsid, std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  return Tarn::Guard([&] { *code = CodeOf(clsid); });
}

HRESULT HostApplication::Deliver(IUnknown* target, IUnknown* message) noexcept {
  if (!message)
    return E_INVALIDARG;
  return Tarn::Guard([&]() -> HRESULT {
    Tarn::ComPtr<IHostMessage> own;
    if (FAILED(message->QueryInterface(IHostMessage::iid, own.put_void())))
      return E_INVALIDARG;
    Delivery d = own->Contents();
    d.target = target;
    {
      std::lock_guard guard(lock_);
      deliveries_.push_back(std::move(d));
    }
    // A target that receives messages is handed the message; others are only recorded.
    Tarn::ComPtr<Host::IDocumentTarget> receiver;
    if (target && SUCCEEDED(target->QueryInterface(Host::IID_IDocumentTarget, receiver.put_void())))
      return receiver->Receive(message);
    return S_OK;
  });
}

} // namespace Vela

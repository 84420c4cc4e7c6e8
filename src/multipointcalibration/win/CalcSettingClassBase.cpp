#include "multipointcalibration/win/CalcSettingClassBase.h"

namespace MPCalibration {

HRESULT CalcSettingClassBase::QueryInterface(REFIID iid, void** out) noexcept {
  return AnswerFromTable(iid, Host::IID_IPersistClassObject, Host::IID_IGenericClassObject, out);
}

ULONG CalcSettingClassBase::AddRef() noexcept {
  return static_cast<ULONG>(refCount_.fetch_add(1, std::memory_order_relaxed) + 1);
}

ULONG CalcSettingClassBase::Release() noexcept {
  const std::int32_t left = refCount_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

} // namespace MPCalibration

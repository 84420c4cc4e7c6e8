#include "multipointcalibration/win/CalcSettingClassBase.h"

namespace MPCalibration {

HRESULT CalcSettingClassBase::QueryInterface(REFIID iid, void** out) noexcept {
  return AnswerFromTable(iid, Host::IID_IPersistClassObject, Host::IID_IGenericClassObject, out);
}

ULONG CalcSettingClassBase::AddRef() noexcept {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG CalcSettingClassBase::Release() noexcept {
  const LONG left = InterlockedDecrement(&refCount_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

} // namespace MPCalibration

#pragma once
#include <windows.h>

#include <oleauto.h>

#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/win/VelaClassInfo.h"
#include "multipointcalibration/win/VelaClassObject.h"

namespace MPCalibration {

// The slots every class object of the module shares (3 GetClassCode, 4 GetKind, 5 GetName,
// 6 IsKind) over the class-information block, and the registration node that puts the object on
// the module's list as it is constructed.
template <class I> class VelaClassObjectImp : public I {
public:
  VelaClassObjectImp(const VelaClassObjectImp&) = delete;
  VelaClassObjectImp& operator=(const VelaClassObjectImp&) = delete;

  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override {
    if (!code)
      return E_INVALIDARG;
    return Tarn::Guard([&] { *code = info_.ClassCode(); });
  }

  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetKind(const GUID** kind) noexcept override {
    if (!kind)
      return E_INVALIDARG;
    *kind = &info_.Kind();
    return S_OK;
  }

  // The host may hand in a BSTR from an earlier call: it is freed before the new copy is made.
  [[nodiscard]] HRESULT STDMETHODCALLTYPE GetName(BSTR* name) noexcept override {
    if (!name)
      return E_INVALIDARG;
    SysFreeString(*name);
    *name = nullptr;
    const Tarn::TarnString& text = info_.Name();
    if (text.empty())
      return S_OK;
    *name = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // Hosts pass either the address of the identifier they were given by GetKind or a copy of it.
  [[nodiscard]] HRESULT STDMETHODCALLTYPE IsKind(const GUID* kind) noexcept override {
    const GUID& own = info_.Kind();
    return kind && (kind == &own || IsEqualGUID(*kind, own)) ? S_OK : S_FALSE;
  }

  const VelaClassInfo& Info() const noexcept { return info_; }

protected:
  explicit VelaClassObjectImp(const VelaClassInfo& info) noexcept : info_(info), node_(this) {}
  ~VelaClassObjectImp() = default;

  // QueryInterface over a class's table of two identifiers; IUnknown is answered too. Every
  // entry gives the object itself, with a reference.
  HRESULT AnswerFromTable(REFIID iid, const GUID& first, const GUID& second, void** out) noexcept {
    if (!out)
      return I::nullOut;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, first) || IsEqualIID(iid, second)) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

private:
  const VelaClassInfo& info_;
  VelaClassObject node_;
};

} // namespace MPCalibration

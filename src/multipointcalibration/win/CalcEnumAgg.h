#pragma once
#include <windows.h>

#include <unknwn.h>

#include "hostapi/HostInterfaces.h"

namespace CalcEnums {

// The IUnknown of an aggregated object that its outer object holds: answers IUnknown with
// itself, passes every other request to the object's own QueryInterface, and keeps the
// reference count that decides the object's life.
template <class Owner> class NonDelegatingUnknown final : public IUnknown {
public:
  explicit NonDelegatingUnknown(Owner& owner) noexcept : owner_(owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return owner_.InnerQueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return owner_.InnerAddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return owner_.InnerRelease(); }

private:
  Owner& owner_;
};

// An enumerator that can be aggregated: QueryInterface, AddRef and Release of all its faces go
// to the outer object. Without an outer object, `outer` is the enumerator's own non-delegating
// unknown, so the object behaves as a plain enumerator.
template <class Enum> class CalcEnumAgg : public Enum {
public:
  // Like the plain enumerator's constructor; `outer` may be null. The caller owns the one
  // reference, held through NonDelegating() when there is an outer object.
  CalcEnumAgg(IUnknown* params, Host::IVelaClassObject* enumClass, IUnknown* outer)
      : Enum(params, enumClass), nonDelegating_(*this), outer_(outer ? outer : &nonDelegating_) {}

  IUnknown* NonDelegating() noexcept { return &nonDelegating_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    return outer_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return outer_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return outer_->Release(); }

protected:
  CalcEnumAgg(const typename Enum::CopyOf& copy, IUnknown* outer)
      : Enum(copy), nonDelegating_(*this), outer_(outer ? outer : &nonDelegating_) {}

  IUnknown* MakeCopy(IUnknown* outer, Host::IEnumFloatEx* source) override {
    auto* copy = new CalcEnumAgg(typename Enum::CopyOf{*this, source}, outer);
    if (outer)
      return copy->NonDelegating();
    return static_cast<Host::ICalcEnum*>(copy);
  }

private:
  friend class NonDelegatingUnknown<CalcEnumAgg>;

  NonDelegatingUnknown<CalcEnumAgg> nonDelegating_;
  // Not a counted reference: the outer object owns this one, not the other way round.
  IUnknown* outer_;
};

} // namespace CalcEnums

#pragma once
#include <windows.h>

#include <unknwn.h>

namespace Tarn {

// The status QueryInterface gives for a null out-pointer: the one the object's first interface
// names for its out-pointers (`nullOut`, see hostapi/HostInterfaces.h), else COM's E_POINTER.
template <class I> constexpr HRESULT NullOutStatus() noexcept {
  if constexpr (requires { I::nullOut; })
    return I::nullOut;
  else
    return E_POINTER;
}

// IUnknown for the simple COM objects of the module and of the reference host: QueryInterface over
// the listed interfaces, each named by its own `iid` (IUnknown answers with the first), and an
// interlocked reference count.
//
// The count starts at 1: the new object carries its creator's reference, which the creator hands
// on with ComPtr<T>::Adopt or gives back with Release. An object therefore never passes through a
// count of 0 while it is being built, even when its constructor hands itself to other objects.
//
// A class answers further identifiers (base interfaces, aliases) through QueryExtra, which
// returns the interface pointer without a reference. Derived classes declare their destructor
// private and befriend the base; the base adds no virtual destructor, so an interface whose table
// ends in a destructor slot keeps its layout (DeletingDestructor below fills that slot).
template <class Derived, class First, class... Rest>
class ComObject : public First, public Rest... {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out)
      return NullOutStatus<First>();
    *out = nullptr;
    if (iid == IID_IUnknown)
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    else
      Find<First, Rest...>(iid, out);
    if (!*out)
      *out = static_cast<Derived*>(this)->QueryExtra(iid);
    if (!*out)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(InterlockedIncrement(&refCount_));
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const LONG left = InterlockedDecrement(&refCount_);
    if (left == 0) {
      // Held at one while the object is torn down, so that a member releasing a reference back
      // to this object cannot destroy it a second time.
      refCount_ = 1;
      delete static_cast<Derived*>(this);
    }
    return static_cast<ULONG>(left);
  }

  // The host's destructor slot, laid out as a scalar deleting destructor: bit 0 of `flags` frees
  // the memory as well. Returns the object's address. Only the owner of the last reference may
  // call it. For interfaces without such a slot this is an ordinary member that nobody calls.
  void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) noexcept {
    auto* self = static_cast<Derived*>(this);
    if (flags & 1)
      delete self;
    else
      self->~Derived();
    return self;
  }

protected:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  ~ComObject() = default;
  // The interface pointer for an identifier the list does not name, without a reference.
  void* QueryExtra(REFIID) noexcept { return nullptr; }

private:
  template <class I, class... More> void Find(REFIID iid, void** out) noexcept {
    if (iid == I::iid) {
      *out = static_cast<I*>(this);
      return;
    }
    if constexpr (sizeof...(More) > 0)
      Find<More...>(iid, out);
  }

  LONG refCount_ = 1;
};

} // namespace Tarn

#pragma once
#include <windows.h>

#include <unknwn.h>

namespace Vela {

// IUnknown for the host's small COM objects: an interlocked count that starts at 1 (the creator's
// reference) and QueryInterface over the listed interfaces, each named by its own `iid`. A class
// answers further identifiers (base interfaces, aliases) through QueryExtra.
template <class Derived, class First, class... Rest>
class ComObject : public First, public Rest... {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out)
      return E_POINTER;
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
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0)
      delete static_cast<Derived*>(this);
    return static_cast<ULONG>(n);
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

  LONG refs_ = 1;
};

} // namespace Vela

#pragma once
#include <new>
#include <utility>

namespace Tarn {

// A module-wide object that is built once and never destroyed. Code outside the module may still
// reach such objects after the module's static destructors have run: a host that releases its
// documents at exit, or another module's detach that runs after this one's. The holder itself is
// trivially destructible, so no destructor is registered for it at all.
template <class T> class NoDestroy {
public:
  template <class... Args> explicit NoDestroy(Args&&... args) {
    ::new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
  }
  NoDestroy(const NoDestroy&) = delete;
  NoDestroy& operator=(const NoDestroy&) = delete;

  T& get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }
  const T& get() const noexcept { return *std::launder(reinterpret_cast<const T*>(storage_)); }
  T* operator->() noexcept { return &get(); }
  const T* operator->() const noexcept { return &get(); }

private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

} // namespace Tarn

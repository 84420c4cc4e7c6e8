#pragma once
#include <windows.h>

#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace Tarn {

// Holds one reference to a COM interface and releases it when it goes out of scope.
template <class T> class ComPtr {
public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference: the caller keeps its own.
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_)
      p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { reset(); }

  ComPtr& operator=(const ComPtr& other) noexcept {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }

  // Adopts a reference the caller owned: no AddRef.
  [[nodiscard]] static ComPtr Adopt(T* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  void Attach(T* p) noexcept {
    reset();
    p_ = p;
  }

  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr))
      p->Release();
  }
  void reset(T* p) noexcept { ComPtr(p).swap(*this); }

  // Gives up the reference without releasing it; the caller owns it now.
  [[nodiscard]] T* release() noexcept { return std::exchange(p_, nullptr); }

  T* get() const noexcept { return p_; }
  // For out-arguments: drops the current reference, the callee stores a new one.
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  // Hands out one more reference through an out-argument (not null), as an interface the held
  // type derives from; the receiver owns it. An empty holder writes null.
  template <class U> void CopyTo(U** out) const noexcept {
    U* p = p_;
    if (p)
      p->AddRef();
    *out = p;
  }

  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  // QueryInterface into another holder; `out` is released first and stays empty on failure.
  template <class U> HRESULT QueryTo(REFIID iid, ComPtr<U>& out) const noexcept {
    out.reset();
    if (!p_)
      return E_POINTER;
    return p_->QueryInterface(iid, out.put_void());
  }
  // The same with the interface's own identifier.
  template <class U> HRESULT QueryTo(ComPtr<U>& out) const noexcept {
    return QueryTo(__uuidof(U), out);
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
  T* p_ = nullptr;
};

} // namespace Tarn

#include "foundation/win/TarnString.h"

#include "foundation/win/ComPtr.h"
#include "foundation/win/UniqueHandle.h"

#include <oleauto.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

namespace Tarn {
namespace {

constexpr LONG kStringKind = 9;
constexpr std::int32_t kMinCapacity = 8;
// Capacities are stored in 32 bits; keep well below so size arithmetic never overflows.
constexpr std::size_t kMaxCapacity = 0x3FFFFFF0;

// The representation: header, then the characters in the same allocation. The field order is
// what the host expects behind the interface table.
struct TarnStringRep final : ITarnString {
  void* aux = nullptr; // owned auxiliary buffer; the module never makes one
  std::uint32_t word = 0;
  std::atomic<LONG> refs;
  std::int32_t capacity; // code units, terminator included
  std::int32_t used;     // code units, terminator included

  constexpr TarnStringRep(LONG r, std::int32_t cap) noexcept : refs(r), capacity(cap), used(1) {}

  wchar_t* chars() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
  LONG length() const noexcept { return used - 1; }
  std::wstring_view view() noexcept { return {chars(), static_cast<std::size_t>(length())}; }
  bool isSharedEmpty() const noexcept;

  static TarnStringRep* Create(std::size_t capacity);
  static TarnStringRep* FromChars(const wchar_t* chars) noexcept {
    return reinterpret_cast<TarnStringRep*>(reinterpret_cast<char*>(const_cast<wchar_t*>(chars)) -
                                            sizeof(TarnStringRep));
  }
  void Free() noexcept {
    this->~TarnStringRep();
    ::operator delete(static_cast<void*>(this));
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out)
      return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ITarnString || iid == IID_ITarnString2) {
      AddRef();
      *out = static_cast<ITarnString*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(refs.fetch_add(1, std::memory_order_relaxed) + 1);
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const LONG left = refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0 && !isSharedEmpty())
      Free();
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE SetFromBSTR(BSTR text) noexcept override {
    // The shared empty representation is never written, whoever holds it.
    if (isSharedEmpty() || refs.load(std::memory_order_acquire) > 1)
      return E_FAIL;
    const UINT len = text ? SysStringLen(text) : 0;
    if (static_cast<std::uint64_t>(len) + 1 > static_cast<std::uint64_t>(capacity))
      return E_FAIL;
    if (len)
      std::memcpy(chars(), text, len * sizeof(wchar_t));
    chars()[len] = L'\0';
    used = static_cast<std::int32_t>(len + 1);
    word = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBSTR(BSTR* text) noexcept override {
    if (!text)
      return E_POINTER;
    SysFreeString(*text);
    *text = nullptr;
    if (length() == 0)
      return S_OK;
    *text = SysAllocStringLen(chars(), static_cast<UINT>(length()));
    return *text ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE IsEmpty(VARIANT_BOOL* empty) noexcept override {
    if (!empty)
      return E_POINTER;
    *empty = length() == 0 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLength(LONG* len) noexcept override {
    if (!len)
      return E_POINTER;
    *len = length();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsEqual(ITarnString* other, VARIANT_BOOL* equal) noexcept override;
  HRESULT STDMETHODCALLTYPE IsShared(VARIANT_BOOL* shared) noexcept override {
    if (!shared)
      return E_POINTER;
    *shared = refs.load(std::memory_order_acquire) > 1 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  LONG STDMETHODCALLTYPE GetKind() noexcept override { return kStringKind; }
  HRESULT STDMETHODCALLTYPE CopyTo(WCHAR* buffer, ULONG byteSize) noexcept override {
    if (!buffer)
      return E_POINTER;
    const std::size_t bytes = static_cast<std::size_t>(used) * sizeof(wchar_t);
    if (byteSize < bytes)
      return E_FAIL;
    std::memcpy(buffer, chars(), bytes);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLengthAndCharSize(LONG* len, LONG* charSize) noexcept override {
    if (!len || !charSize)
      return E_POINTER;
    *len = length();
    *charSize = sizeof(wchar_t);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCapacity(LONG* cap) noexcept override {
    if (!cap)
      return E_POINTER;
    *cap = capacity - 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateEmpty(LONG hint, ITarnString** created) noexcept override {
    if (!created)
      return E_POINTER;
    *created = nullptr;
    const std::size_t wanted = hint > 0 ? static_cast<std::size_t>(hint) + 1 : 1;
    if (wanted > kMaxCapacity)
      return E_OUTOFMEMORY;
    try {
      *created = Create(std::max<std::size_t>(wanted, kMinCapacity)); // the caller owns it
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE GetVariant(VARIANT* value) noexcept override {
    if (!value)
      return E_POINTER;
    VariantInit(value);
    BSTR copy = nullptr;
    const HRESULT hr = GetBSTR(&copy);
    if (FAILED(hr))
      return hr;
    value->vt = VT_BSTR;
    value->bstrVal = copy;
    return S_OK;
  }
  LONG STDMETHODCALLTYPE Length() noexcept override { return length(); }
  HRESULT STDMETHODCALLTYPE Destroy() noexcept override {
    if (isSharedEmpty())
      return S_OK;
    if (refs.load(std::memory_order_acquire) > 1)
      return E_FAIL;
    Free();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetChars(const WCHAR** out) noexcept override {
    if (!out)
      return E_POINTER;
    *out = chars();
    return S_OK;
  }
  void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) noexcept override {
    if (!isSharedEmpty() && (flags & 1))
      Free();
    return this;
  }
};
static_assert(sizeof(TarnStringRep) == 32, "the characters follow a 32-byte header");

// The one empty representation of the process. Its own reference keeps it from ever reaching
// zero; it is constant-initialised so strings made during static initialisation can use it.
struct EmptyStorage {
  TarnStringRep rep{1, 1};
  wchar_t chars[4] = {};
};
constinit EmptyStorage g_empty;

bool TarnStringRep::isSharedEmpty() const noexcept {
  return this == &g_empty.rep;
}

TarnStringRep* TarnStringRep::Create(std::size_t capacity) {
  if (capacity > kMaxCapacity)
    throw std::length_error("string too long");
  void* memory = ::operator new(sizeof(TarnStringRep) + capacity * sizeof(wchar_t));
  auto* rep = new (memory) TarnStringRep(1, static_cast<std::int32_t>(capacity));
  rep->chars()[0] = L'\0';
  return rep;
}

bool IsModuleString(ITarnString* s) noexcept {
  // Same interface table as ours: no call into a foreign object is needed to know.
  return *reinterpret_cast<void* const*>(s) ==
         *reinterpret_cast<void* const*>(static_cast<ITarnString*>(&g_empty.rep));
}

std::wstring_view BstrView(BSTR text) noexcept {
  return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
}

HRESULT STDMETHODCALLTYPE TarnStringRep::IsEqual(ITarnString* other, VARIANT_BOOL* equal) noexcept {
  if (!equal)
    return E_POINTER;
  if (!other) {
    *equal = length() == 0 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  if (IsModuleString(other)) {
    *equal = view() == static_cast<TarnStringRep*>(other)->view() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  unique_bstr text;
  const HRESULT hr = other->GetBSTR(text.put());
  if (FAILED(hr))
    return hr;
  *equal = view() == BstrView(text.get()) ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

TarnStringRep* RepOf(const wchar_t* chars) noexcept {
  return TarnStringRep::FromChars(chars);
}

wchar_t* EmptyChars() noexcept {
  g_empty.rep.AddRef();
  return g_empty.rep.chars();
}

wchar_t* NewChars(std::wstring_view text, std::size_t capacity) {
  TarnStringRep* rep = TarnStringRep::Create(capacity);
  if (!text.empty())
    std::memcpy(rep->chars(), text.data(), text.size() * sizeof(wchar_t));
  rep->chars()[text.size()] = L'\0';
  rep->used = static_cast<std::int32_t>(text.size() + 1);
  return rep->chars();
}

wchar_t* CharsFor(std::wstring_view text) {
  if (text.empty())
    return EmptyChars();
  if (text.size() >= kMaxCapacity)
    throw std::length_error("string too long");
  return NewChars(text, std::max<std::size_t>(text.size() + 1, kMinCapacity));
}

} // namespace

TarnString::TarnString() noexcept : chars_(EmptyChars()) {}
TarnString::TarnString(const wchar_t* text)
    : chars_(CharsFor(text ? std::wstring_view(text) : std::wstring_view())) {}
TarnString::TarnString(std::wstring_view text) : chars_(CharsFor(text)) {}
TarnString::TarnString(const TarnString& other) noexcept : chars_(other.chars_) {
  RepOf(chars_)->AddRef();
}
TarnString::TarnString(TarnString&& other) noexcept : chars_(other.chars_) {
  other.chars_ = EmptyChars();
}
TarnString::~TarnString() {
  RepOf(chars_)->Release();
}

TarnString& TarnString::operator=(const TarnString& other) noexcept {
  RepOf(other.chars_)->AddRef();
  RepOf(chars_)->Release();
  chars_ = other.chars_;
  return *this;
}
TarnString& TarnString::operator=(TarnString&& other) noexcept {
  if (this != &other) {
    RepOf(chars_)->Release();
    chars_ = other.chars_;
    other.chars_ = EmptyChars();
  }
  return *this;
}
TarnString& TarnString::operator=(std::wstring_view text) {
  wchar_t* fresh = CharsFor(text); // before releasing: text may point into this string
  RepOf(chars_)->Release();
  chars_ = fresh;
  return *this;
}

TarnString TarnString::FromHost(ITarnString* host) {
  if (!host)
    return {};
  if (IsModuleString(host)) {
    host->AddRef();
    return TarnString(static_cast<TarnStringRep*>(host)->chars());
  }
  unique_bstr text;
  const HRESULT hr = host->GetBSTR(text.put());
  if (FAILED(hr)) {
    if (hr == E_OUTOFMEMORY)
      throw std::bad_alloc();
    return {};
  }
  return TarnString(BstrView(text.get()));
}

TarnString TarnString::AdoptHost(ITarnString* host) {
  if (!host)
    return {};
  if (IsModuleString(host))
    return TarnString(static_cast<TarnStringRep*>(host)->chars()); // the handle owns it now
  const auto owner = ComPtr<ITarnString>::Adopt(host);
  return FromHost(host);
}

std::size_t TarnString::size() const noexcept {
  return static_cast<std::size_t>(RepOf(chars_)->length());
}
std::size_t TarnString::capacity() const noexcept {
  return static_cast<std::size_t>(RepOf(chars_)->capacity - 1);
}
bool TarnString::shared() const noexcept {
  TarnStringRep* rep = RepOf(chars_);
  return rep->isSharedEmpty() || rep->refs.load(std::memory_order_acquire) > 1;
}

TarnString& TarnString::append(std::wstring_view text) {
  if (text.empty())
    return *this;
  const std::size_t oldSize = size();
  if (text.size() >= kMaxCapacity - oldSize)
    throw std::length_error("string too long");
  const std::size_t needed = oldSize + text.size() + 1;
  TarnStringRep* rep = RepOf(chars_);
  if (shared() || needed > static_cast<std::size_t>(rep->capacity)) {
    const std::size_t grown = needed > static_cast<std::size_t>(rep->capacity)
                                  ? needed + needed / 2
                                  : static_cast<std::size_t>(rep->capacity);
    wchar_t* fresh = NewChars(view(), std::clamp<std::size_t>(grown, kMinCapacity, kMaxCapacity));
    // The new text is copied before the old representation may go: `text` can point into it.
    std::memcpy(fresh + oldSize, text.data(), text.size() * sizeof(wchar_t));
    RepOf(chars_)->Release();
    chars_ = fresh;
  } else {
    std::memcpy(chars_ + oldSize, text.data(), text.size() * sizeof(wchar_t));
  }
  setLength(needed - 1);
  return *this;
}

void TarnString::clear() noexcept {
  RepOf(chars_)->Release();
  chars_ = EmptyChars();
}

wchar_t* TarnString::reserve(std::size_t cap) {
  if (cap >= kMaxCapacity)
    throw std::length_error("string too long");
  const std::size_t needed = std::max<std::size_t>(cap + 1, size() + 1);
  if (shared() || needed > static_cast<std::size_t>(RepOf(chars_)->capacity)) {
    wchar_t* fresh = NewChars(view(), std::max<std::size_t>(needed, kMinCapacity));
    RepOf(chars_)->Release();
    chars_ = fresh;
  }
  return chars_;
}

void TarnString::setLength(std::size_t length) noexcept {
  TarnStringRep* rep = RepOf(chars_);
  if (rep->isSharedEmpty() || length >= static_cast<std::size_t>(rep->capacity))
    return;
  chars_[length] = L'\0';
  rep->used = static_cast<std::int32_t>(length + 1);
  rep->word = 0;
}

ITarnString* TarnString::get() const noexcept {
  return RepOf(chars_);
}

ITarnString* TarnString::release() noexcept {
  ITarnString* rep = RepOf(chars_);
  chars_ = EmptyChars();
  return rep;
}

} // namespace Tarn

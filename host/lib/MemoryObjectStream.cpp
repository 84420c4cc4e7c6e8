#include "MemoryObjectStream.h"

#include <new>

#include "foundation/win/TarnString.h"

namespace Vela {

MemoryObjectStream* MemoryObjectStream::Create(std::vector<StreamItem> items) {
  auto* s = new MemoryObjectStream;
  s->items_ = std::move(items);
  return s;
}

void MemoryObjectStream::SetItems(std::vector<StreamItem> items) {
  items_ = std::move(items);
  Rewind();
}

void MemoryObjectStream::Rewind() noexcept {
  next_ = 0;
  operations_ = 0;
  status_ = S_OK;
}

HRESULT MemoryObjectStream::QueryInterface(REFIID iid, void** out) {
  if (!out)
    return E_POINTER;
  if (iid == IID_IUnknown || iid == Host::IObjectStream::iid) {
    *out = static_cast<Host::IObjectStream*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG MemoryObjectStream::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG MemoryObjectStream::Release() {
  const long n = InterlockedDecrement(&refs_);
  if (n == 0)
    delete this;
  return static_cast<ULONG>(n);
}

bool MemoryObjectStream::Begin() noexcept {
  const long index = operations_++;
  if (status_ < 0)
    return false;
  if (index == failAt_) {
    status_ = STG_E_READFAULT;
    return false;
  }
  return true;
}

HRESULT MemoryObjectStream::Fail() noexcept {
  if (status_ >= 0)
    status_ = STG_E_READFAULT;
  return status_;
}

template <class T> HRESULT MemoryObjectStream::ReadAs(T* value) {
  if (!value)
    return E_POINTER;
  if (!Begin())
    return status_;
  if (next_ >= items_.size())
    return Fail();
  const T* item = std::get_if<T>(&items_[next_]);
  if (!item)
    return Fail();
  *value = *item;
  ++next_;
  return S_OK;
}

HRESULT MemoryObjectStream::Append(StreamItem item) {
  if (!Begin())
    return status_;
  try {
    items_.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    status_ = E_OUTOFMEMORY;
    return status_;
  }
  return S_OK;
}

HRESULT MemoryObjectStream::GetStatus() {
  return status_;
}

HRESULT MemoryObjectStream::ReadInt(std::int32_t* value) {
  return ReadAs(value);
}
HRESULT MemoryObjectStream::WriteInt(std::int32_t value) {
  return Append(value);
}
HRESULT MemoryObjectStream::ReadLong(std::int32_t* value) {
  return ReadAs(value);
}
HRESULT MemoryObjectStream::ReadDouble(double* value) {
  return ReadAs(value);
}
HRESULT MemoryObjectStream::WriteDouble(double value) {
  return Append(value);
}

HRESULT MemoryObjectStream::ReadString(ITarnString** value) {
  if (!value)
    return E_POINTER;
  *value = nullptr;
  std::wstring text;
  const HRESULT hr = ReadAs(&text);
  if (FAILED(hr))
    return hr;
  try {
    // The caller owns the reference now.
    *value = Tarn::TarnString(text).release();
  } catch (const std::bad_alloc&) {
    status_ = E_OUTOFMEMORY;
    return status_;
  }
  return S_OK;
}

HRESULT MemoryObjectStream::WriteString(ITarnString* value) {
  try {
    return Append(Tarn::TarnString::FromHost(value).str());
  } catch (const std::bad_alloc&) {
    status_ = E_OUTOFMEMORY;
    return status_;
  }
}

// The remaining item kinds are not used by the module; they fail like a read of the wrong type.
HRESULT MemoryObjectStream::ReadByte(std::uint8_t*) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteByte(std::uint8_t) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::ReadShort(std::int16_t*) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteShort(std::int16_t) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::ReadFloat(float*) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteFloat(float) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::ReadInt64(std::int64_t*) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteInt64(std::int64_t) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::ReadGuid(GUID*) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteGuid(REFGUID) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::ReadObject(Host::IPersistObject**) {
  return Begin() ? Fail() : status_;
}
HRESULT MemoryObjectStream::WriteObject(Host::IPersistObject*) {
  return Begin() ? Fail() : status_;
}

} // namespace Vela

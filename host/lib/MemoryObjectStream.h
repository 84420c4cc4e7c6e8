#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "hostapi/HostInterfaces.h"

namespace Vela {

// One typed item of an object stream.
using StreamItem = std::variant<std::int32_t, double, std::wstring>;

// The host's object stream over memory: a sequence of typed items. A read of the wrong type, a
// read past the end, or an injected fault turns the status negative, and it stays negative. For
// fault-injection tests, FailAtItem(k) makes the k-th item operation (0-based) fail.
class MemoryObjectStream final : public Host::IObjectStream {
public:
  // A new stream with one reference, owned by the caller.
  static MemoryObjectStream* Create(std::vector<StreamItem> items = {});

  const std::vector<StreamItem>& Items() const noexcept { return items_; }
  void SetItems(std::vector<StreamItem> items);
  void Rewind() noexcept;
  void FailAtItem(long index) noexcept { failAt_ = index; }
  long Operations() const noexcept { return operations_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetStatus() override;
  HRESULT STDMETHODCALLTYPE ReadByte(std::uint8_t* value) override;
  HRESULT STDMETHODCALLTYPE WriteByte(std::uint8_t value) override;
  HRESULT STDMETHODCALLTYPE ReadShort(std::int16_t* value) override;
  HRESULT STDMETHODCALLTYPE WriteShort(std::int16_t value) override;
  HRESULT STDMETHODCALLTYPE ReadInt(std::int32_t* value) override;
  HRESULT STDMETHODCALLTYPE WriteInt(std::int32_t value) override;
  HRESULT STDMETHODCALLTYPE ReadDouble(double* value) override;
  HRESULT STDMETHODCALLTYPE WriteDouble(double value) override;
  HRESULT STDMETHODCALLTYPE ReadFloat(float* value) override;
  HRESULT STDMETHODCALLTYPE WriteFloat(float value) override;
  HRESULT STDMETHODCALLTYPE ReadInt64(std::int64_t* value) override;
  HRESULT STDMETHODCALLTYPE WriteInt64(std::int64_t value) override;
  HRESULT STDMETHODCALLTYPE ReadGuid(GUID* value) override;
  HRESULT STDMETHODCALLTYPE WriteGuid(REFGUID value) override;
  HRESULT STDMETHODCALLTYPE ReadString(ITarnString** value) override;
  HRESULT STDMETHODCALLTYPE WriteString(ITarnString* value) override;
  HRESULT STDMETHODCALLTYPE ReadObject(Host::IPersistObject** value) override;
  HRESULT STDMETHODCALLTYPE ReadLong(std::int32_t* value) override;
  HRESULT STDMETHODCALLTYPE WriteObject(Host::IPersistObject* value) override;

private:
  MemoryObjectStream() = default;
  ~MemoryObjectStream() = default;
  // Counts the operation; false (and a negative status) when it is the injected fault or the
  // stream has already failed.
  bool Begin() noexcept;
  HRESULT Fail() noexcept;
  template <class T> HRESULT ReadAs(T* value);
  HRESULT Append(StreamItem item);

  long refs_ = 1;
  std::vector<StreamItem> items_;
  std::size_t next_ = 0;
  long operations_ = 0;
  long failAt_ = -1;
  HRESULT status_ = S_OK;
};

} // namespace Vela

#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Tarn {
class ItemFileReader;
class ItemFileWriter;
} // namespace Tarn

namespace Vela {

// The host's object stream over a file in the typed-item file form (ItemFile.h): integers,
// doubles and strings. A stream for reading takes the whole file at Open; a stream for writing
// collects the items and writes the file at Commit. The status rules are those of
// MemoryObjectStream: a read of the wrong type, a read past the end, a damaged item, a write to
// a reading stream or the other way round, an item kind the file form does not have, or an
// injected fault (FailAtItem(k): the k-th item operation, 0-based) turns the status negative,
// and it stays negative.
class FileObjectStream final : public Tarn::ComObject<FileObjectStream, Host::IObjectStream> {
public:
  enum class Mode { Read, Write };
  // A stream over `path` with one reference for the caller; null with the reason in *status
  // when a file to read cannot be read.
  static FileObjectStream* Open(const std::wstring& path, Mode mode, HRESULT* status = nullptr);

  void FailAtItem(long index) noexcept { failAt_ = index; }
  long Operations() const noexcept { return operations_; }
  // True when a reading stream has read every item and no read failed.
  bool AtEnd() const noexcept;
  // The bound on the items left to read (the bytes left over the smallest item's size).
  std::size_t RemainingItemsBound() const noexcept;
  // Writes the collected items to the file (write mode); the final status. Nothing is written
  // when the status is already negative.
  HRESULT Commit() noexcept;

  HRESULT STDMETHODCALLTYPE GetStatus() noexcept override;
  HRESULT STDMETHODCALLTYPE ReadByte(std::uint8_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteByte(std::uint8_t value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadShort(std::int16_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteShort(std::int16_t value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadInt(std::int32_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteInt(std::int32_t value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadDouble(double* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteDouble(double value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadFloat(float* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteFloat(float value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadInt64(std::int64_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteInt64(std::int64_t value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadGuid(GUID* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteGuid(REFGUID value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadString(ITarnString** value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteString(ITarnString* value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadObject(Host::IPersistObject** value) noexcept override;
  HRESULT STDMETHODCALLTYPE ReadLong(std::int32_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE WriteObject(Host::IPersistObject* value) noexcept override;

private:
  using Base = Tarn::ComObject<FileObjectStream, Host::IObjectStream>;
  friend Base;
  FileObjectStream();
  ~FileObjectStream();

  // Counts the operation; false (with a negative status) when it is the injected fault, the
  // stream has failed, or the stream is not open in `mode`.
  bool Begin(Mode mode) noexcept;
  HRESULT Fail(HRESULT code) noexcept;
  // Takes over the reader's or writer's status after an item.
  HRESULT Settle(std::int32_t itemStatus) noexcept;
  HRESULT Unsupported(Mode mode) noexcept;

  std::wstring path_;
  Mode mode_ = Mode::Read;
  std::vector<std::uint8_t> bytes_;
  std::unique_ptr<Tarn::ItemFileReader> reader_;
  std::unique_ptr<Tarn::ItemFileWriter> writer_;
  long operations_ = 0;
  long failAt_ = -1;
  HRESULT status_ = S_OK;
};

} // namespace Vela

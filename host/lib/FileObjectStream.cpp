#include "FileObjectStream.h"

#include <cstdio>
#include <new>

#include "foundation/ItemFile.h"
#include "foundation/win/TarnString.h"
#include "foundation/win/UniqueHandle.h"

namespace Vela {
namespace {

// Reads a whole file; false with the reason in `status`.
bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HRESULT& status) {
  const Tarn::unique_file f(_wfopen(path.c_str(), L"rb"));
  if (!f) {
    status = STG_E_FILENOTFOUND;
    return false;
  }
  bool ok = _fseeki64(f.get(), 0, SEEK_END) == 0;
  const long long size = ok ? _ftelli64(f.get()) : -1;
  ok = ok && size >= 0 && _fseeki64(f.get(), 0, SEEK_SET) == 0;
  if (ok) {
    try {
      bytes.resize(static_cast<std::size_t>(size));
      ok = std::fread(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    } catch (const std::bad_alloc&) {
      status = E_OUTOFMEMORY;
      return false;
    }
  }
  status = ok ? S_OK : STG_E_READFAULT;
  return ok;
}

} // namespace

FileObjectStream::FileObjectStream() = default;
FileObjectStream::~FileObjectStream() = default;

FileObjectStream* FileObjectStream::Open(const std::wstring& path, Mode mode, HRESULT* status) {
  HRESULT result = S_OK;
  FileObjectStream* s = nullptr;
  try {
    s = new FileObjectStream;
    s->path_ = path;
    s->mode_ = mode;
    if (mode == Mode::Read) {
      if (ReadWholeFile(path, s->bytes_, result))
        s->reader_ = std::make_unique<Tarn::ItemFileReader>(s->bytes_);
    } else {
      s->writer_ = std::make_unique<Tarn::ItemFileWriter>(s->bytes_);
    }
  } catch (const std::bad_alloc&) {
    result = E_OUTOFMEMORY;
  }
  if (FAILED(result) && s) {
    s->Release();
    s = nullptr;
  }
  if (status)
    *status = result;
  return s;
}

bool FileObjectStream::AtEnd() const noexcept {
  return status_ >= 0 && reader_ && reader_->AtEnd();
}

std::size_t FileObjectStream::RemainingItemsBound() const noexcept {
  return reader_ ? reader_->RemainingItemsBound().value_or(0) : 0;
}

HRESULT FileObjectStream::Commit() noexcept {
  if (!writer_)
    return Fail(STG_E_WRITEFAULT);
  if (status_ < 0)
    return status_;
  Tarn::unique_file f(_wfopen(path_.c_str(), L"wb"));
  if (!f)
    return Fail(STG_E_ACCESSDENIED);
  const bool written = std::fwrite(bytes_.data(), 1, bytes_.size(), f.get()) == bytes_.size();
  // A failed close loses buffered bytes: its result decides, so the holder lets go first.
  const bool closed = std::fclose(f.release()) == 0;
  return written && closed ? status_ : Fail(STG_E_WRITEFAULT);
}

bool FileObjectStream::Begin(Mode mode) noexcept {
  const long index = operations_++;
  if (status_ < 0)
    return false;
  const bool open = mode == Mode::Read ? reader_ != nullptr : writer_ != nullptr;
  if (index == failAt_ || !open) {
    status_ = mode == Mode::Read ? STG_E_READFAULT : STG_E_WRITEFAULT;
    return false;
  }
  return true;
}

HRESULT FileObjectStream::Fail(HRESULT code) noexcept {
  if (status_ >= 0)
    status_ = code;
  return status_;
}

HRESULT FileObjectStream::Settle(std::int32_t itemStatus) noexcept {
  if (itemStatus < 0)
    return Fail(mode_ == Mode::Read ? STG_E_READFAULT : STG_E_WRITEFAULT);
  return S_OK;
}

HRESULT FileObjectStream::Unsupported(Mode mode) noexcept {
  if (!Begin(mode))
    return status_;
  return Fail(mode == Mode::Read ? STG_E_READFAULT : STG_E_WRITEFAULT);
}

HRESULT FileObjectStream::GetStatus() noexcept {
  return status_;
}

HRESULT FileObjectStream::ReadInt(std::int32_t* value) noexcept {
  if (!value)
    return E_POINTER;
  if (!Begin(Mode::Read))
    return status_;
  return Settle(reader_->ReadInt(*value));
}
HRESULT FileObjectStream::ReadLong(std::int32_t* value) noexcept {
  return ReadInt(value);
}
HRESULT FileObjectStream::WriteInt(std::int32_t value) noexcept {
  if (!Begin(Mode::Write))
    return status_;
  return Settle(writer_->WriteInt(value));
}
HRESULT FileObjectStream::ReadDouble(double* value) noexcept {
  if (!value)
    return E_POINTER;
  if (!Begin(Mode::Read))
    return status_;
  return Settle(reader_->ReadDouble(*value));
}
HRESULT FileObjectStream::WriteDouble(double value) noexcept {
  if (!Begin(Mode::Write))
    return status_;
  return Settle(writer_->WriteDouble(value));
}

HRESULT FileObjectStream::ReadString(ITarnString** value) noexcept {
  if (!value)
    return E_POINTER;
  *value = nullptr;
  if (!Begin(Mode::Read))
    return status_;
  try {
    std::wstring text;
    const HRESULT hr = Settle(reader_->ReadString(text));
    if (FAILED(hr))
      return hr;
    // The caller owns the reference now.
    *value = Tarn::TarnString(text).release();
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY);
  }
  return S_OK;
}

HRESULT FileObjectStream::WriteString(ITarnString* value) noexcept {
  if (!Begin(Mode::Write))
    return status_;
  try {
    return Settle(writer_->WriteString(Tarn::TarnString::FromHost(value).view()));
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY);
  }
}

// The file form has only integers, doubles and strings.
HRESULT FileObjectStream::ReadByte(std::uint8_t*) noexcept {
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteByte(std::uint8_t) noexcept {
  return Unsupported(Mode::Write);
}
HRESULT FileObjectStream::ReadShort(std::int16_t*) noexcept {
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteShort(std::int16_t) noexcept {
  return Unsupported(Mode::Write);
}
HRESULT FileObjectStream::ReadFloat(float*) noexcept {
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteFloat(float) noexcept {
  return Unsupported(Mode::Write);
}
HRESULT FileObjectStream::ReadInt64(std::int64_t*) noexcept {
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteInt64(std::int64_t) noexcept {
  return Unsupported(Mode::Write);
}
HRESULT FileObjectStream::ReadGuid(GUID*) noexcept {
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteGuid(REFGUID) noexcept {
  return Unsupported(Mode::Write);
}
HRESULT FileObjectStream::ReadObject(Host::IPersistObject** value) noexcept {
  if (value)
    *value = nullptr;
  return Unsupported(Mode::Read);
}
HRESULT FileObjectStream::WriteObject(Host::IPersistObject*) noexcept {
  return Unsupported(Mode::Write);
}

} // namespace Vela

#include "foundation/win/ObjectStreamItemReader.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Tarn {

// Each read goes into a local first: a failed read stores nothing, whatever the stream left in
// its out-argument.
HResult ObjectStreamItemReader::ReadInt(std::int32_t& value) noexcept {
  std::int32_t read = 0;
  const HRESULT status = stream_.ReadInt(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

HResult ObjectStreamItemReader::ReadLong(std::int32_t& value) noexcept {
  std::int32_t read = 0;
  const HRESULT status = stream_.ReadLong(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

HResult ObjectStreamItemReader::ReadDouble(double& value) noexcept {
  double read = 0.0;
  const HRESULT status = stream_.ReadDouble(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

HResult ObjectStreamItemReader::ReadString(std::wstring& value) noexcept {
  ITarnString* raw = nullptr;
  const HRESULT status = stream_.ReadString(&raw);
  try {
    // Adopted whatever the status, so that a string handed out with a failure is not leaked.
    const TarnString text = TarnString::AdoptHost(raw);
    if (SUCCEEDED(status))
      value = text.str();
    return status;
  } catch (...) {
    ownFailure_ = HResultFromCaught();
    return ownFailure_;
  }
}

HResult ObjectStreamItemReader::Status() noexcept {
  return FAILED(ownFailure_) ? ownFailure_ : stream_.GetStatus();
}

} // namespace Tarn

#include "multipointcalibration/win/ObjectStreamItemReader.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace MPCalibration {

// Each read goes into a local first: a failed read stores nothing, whatever the stream left in
// its out-argument.
Tarn::HResult ObjectStreamItemReader::ReadInt(std::int32_t& value) noexcept {
  std::int32_t read = 0;
  const HRESULT status = stream_.ReadInt(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

Tarn::HResult ObjectStreamItemReader::ReadLong(std::int32_t& value) noexcept {
  std::int32_t read = 0;
  const HRESULT status = stream_.ReadLong(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

Tarn::HResult ObjectStreamItemReader::ReadDouble(double& value) noexcept {
  double read = 0.0;
  const HRESULT status = stream_.ReadDouble(&read);
  if (SUCCEEDED(status))
    value = read;
  return status;
}

Tarn::HResult ObjectStreamItemReader::ReadString(std::wstring& value) noexcept {
  ITarnString* raw = nullptr;
  const HRESULT status = stream_.ReadString(&raw);
  try {
    // Adopted whatever the status, so that a string handed out with a failure is not leaked.
    const Tarn::TarnString text = Tarn::TarnString::AdoptHost(raw);
    if (SUCCEEDED(status))
      value = text.str();
    return status;
  } catch (...) {
    ownFailure_ = Tarn::HResultFromCaught();
    return ownFailure_;
  }
}

Tarn::HResult ObjectStreamItemReader::Status() noexcept {
  return FAILED(ownFailure_) ? ownFailure_ : stream_.GetStatus();
}

} // namespace MPCalibration

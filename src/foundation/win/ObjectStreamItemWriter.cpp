#include "multipointcalibration/win/ObjectStreamItemWriter.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace MPCalibration {

Tarn::HResult ObjectStreamItemWriter::WriteInt(std::int32_t value) noexcept {
  return stream_.WriteInt(value);
}

Tarn::HResult ObjectStreamItemWriter::WriteDouble(double value) noexcept {
  return stream_.WriteDouble(value);
}

Tarn::HResult ObjectStreamItemWriter::WriteString(std::wstring_view value) noexcept {
  try {
    const Tarn::TarnString text(value);
    return stream_.WriteString(text.get());
  } catch (...) {
    ownFailure_ = Tarn::HResultFromCaught();
    return ownFailure_;
  }
}

Tarn::HResult ObjectStreamItemWriter::Status() noexcept {
  return FAILED(ownFailure_) ? ownFailure_ : stream_.GetStatus();
}

} // namespace MPCalibration

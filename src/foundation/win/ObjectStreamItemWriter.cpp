#include "foundation/win/ObjectStreamItemWriter.h"

#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Tarn {

HResult ObjectStreamItemWriter::WriteInt(std::int32_t value) noexcept {
  return stream_.WriteInt(value);
}

HResult ObjectStreamItemWriter::WriteDouble(double value) noexcept {
  return stream_.WriteDouble(value);
}

HResult ObjectStreamItemWriter::WriteString(std::wstring_view value) noexcept {
  try {
    const TarnString text(value);
    return stream_.WriteString(text.get());
  } catch (...) {
    ownFailure_ = HResultFromCaught();
    return ownFailure_;
  }
}

HResult ObjectStreamItemWriter::Status() noexcept {
  return FAILED(ownFailure_) ? ownFailure_ : stream_.GetStatus();
}

} // namespace Tarn

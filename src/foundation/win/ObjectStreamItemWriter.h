#pragma once
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/PersistItems.h"

namespace MPCalibration {

// Writes items into the host's object stream (borrowed: it must outlive the writer). Strings
// go to the host as the module's own host strings; an empty one is the shared empty string.
class ObjectStreamItemWriter final : public ItemWriter {
public:
  explicit ObjectStreamItemWriter(Host::IObjectStream& stream) noexcept : stream_(stream) {}

  Tarn::HResult WriteInt(std::int32_t value) noexcept override;
  Tarn::HResult WriteDouble(double value) noexcept override;
  Tarn::HResult WriteString(std::wstring_view value) noexcept override;
  Tarn::HResult Status() noexcept override;

private:
  Host::IObjectStream& stream_;
  // A failure of the module's own (memory for a string), which the stream cannot know about;
  // Status() reports it so that the caller's final status check sees it.
  Tarn::HResult ownFailure_ = Tarn::hr::ok;
};

} // namespace MPCalibration

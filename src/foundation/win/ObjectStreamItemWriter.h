#pragma once
#include "foundation/PersistItems.h"
#include "hostapi/HostInterfaces.h"

namespace Tarn {

// Writes items into the host's object stream (borrowed: it must outlive the writer). Strings
// go to the host as the module's own host strings; an empty one is the shared empty string.
class ObjectStreamItemWriter final : public ItemWriter {
public:
  explicit ObjectStreamItemWriter(Host::IObjectStream& stream) noexcept : stream_(stream) {}

  HResult WriteInt(std::int32_t value) noexcept override;
  HResult WriteDouble(double value) noexcept override;
  HResult WriteString(std::wstring_view value) noexcept override;
  HResult Status() noexcept override;

private:
  Host::IObjectStream& stream_;
  // A failure of the module's own (memory for a string), which the stream cannot know about;
  // Status() reports it so that the caller's final status check sees it.
  HResult ownFailure_ = hr::ok;
};

} // namespace Tarn

#pragma once
#include "foundation/PersistItems.h"
#include "hostapi/HostInterfaces.h"

namespace Tarn {

// Reads items from the host's object stream (borrowed: it must outlive the reader). The host's
// stream does not tell how much is left, so RemainingItemsBound() has no value.
class ObjectStreamItemReader final : public ItemReader {
public:
  explicit ObjectStreamItemReader(Host::IObjectStream& stream) noexcept : stream_(stream) {}

  HResult ReadInt(std::int32_t& value) noexcept override;
  HResult ReadLong(std::int32_t& value) noexcept override;
  HResult ReadDouble(double& value) noexcept override;
  HResult ReadString(std::wstring& value) noexcept override;
  HResult Status() noexcept override;

private:
  Host::IObjectStream& stream_;
  // A failure of the module's own (memory for a string), which the stream cannot know about;
  // Status() reports it so that the caller's final status check sees it.
  HResult ownFailure_ = hr::ok;
};

} // namespace Tarn

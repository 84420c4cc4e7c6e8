#include "HostChannelInfo.h"

#include "foundation/win/HostBoundary.h"

namespace Vela {

HRESULT HostChannelInfo::NoteOutputInfo(std::int32_t zero, std::int32_t a, void* b) noexcept {
  return Tarn::Guard([&] { notes_.push_back({zero, a, b}); });
}

} // namespace Vela

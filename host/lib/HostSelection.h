#pragma once
#include <memory>

#include "Recording.h"
#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The document's selection object over the recording's selection, which the host program and
// the extension share: what one writes the other reads.
class HostSelection final : public Tarn::ComObject<HostSelection, Host::IHostSelection> {
public:
  // A new selection object with one reference, owned by the caller.
  static HostSelection* Create(std::shared_ptr<Recording> recording);

  // Calls of SetExtent that changed the selection, for tests of what an extension wrote back.
  int Writes() const noexcept { return writes_; }

  HRESULT STDMETHODCALLTYPE HasSelection(BOOL* exists) noexcept override;
  HRESULT STDMETHODCALLTYPE GetExtent(std::int32_t* startPosition, std::int32_t* startBlock,
                                      std::int32_t* endPosition,
                                      std::int32_t* endBlock) noexcept override;
  HRESULT STDMETHODCALLTYPE SetExtent(std::int32_t startPosition, std::int32_t startBlock,
                                      std::int32_t endPosition,
                                      std::int32_t endBlock) noexcept override;

private:
  using Base = Tarn::ComObject<HostSelection, Host::IHostSelection>;
  friend Base;
  HostSelection() = default;
  ~HostSelection() = default;

  std::shared_ptr<Recording> recording_;
  int writes_ = 0;
};

} // namespace Vela

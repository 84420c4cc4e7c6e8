#pragma once
#include <windows.h>

#include "foundation/win/ComObject.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The controls library's factory of scales, one per host, reached through the registrar.
class HostDragScaleFactory final
    : public Tarn::ComObject<HostDragScaleFactory, Host::IDragScaleFactory> {
public:
  static HostDragScaleFactory* Create() { return new HostDragScaleFactory; }

  HRESULT STDMETHODCALLTYPE CreateScale(HWND parent, const RECT* rect, std::int32_t startOffset,
                                        std::int32_t endOffset, std::int32_t minimumThickness,
                                        std::int32_t orientation,
                                        Host::IDragScale** scale) noexcept override;

private:
  friend Tarn::ComObject<HostDragScaleFactory, Host::IDragScaleFactory>;
  HostDragScaleFactory() = default;
  ~HostDragScaleFactory() = default;
};

} // namespace Vela

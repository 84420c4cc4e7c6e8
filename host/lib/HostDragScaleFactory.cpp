#include "HostDragScaleFactory.h"

#include "HostDragScale.h"

namespace Vela {

HRESULT HostDragScaleFactory::CreateScale(HWND parent, const RECT* rect, std::int32_t startOffset,
                                          std::int32_t endOffset, std::int32_t minimumThickness,
                                          std::int32_t orientation,
                                          Host::IDragScale** scale) noexcept {
  if (!scale)
    return E_INVALIDARG;
  *scale = nullptr;
  if (orientation != 0 && orientation != 1)
    return E_INVALIDARG;
  if (parent && !::IsWindow(parent))
    return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
  HostDragScale::Creation creation;
  if (rect)
    creation.rect = *rect;
  creation.startOffset = startOffset;
  creation.endOffset = endOffset;
  creation.minimumThickness = minimumThickness;
  creation.orientation =
      orientation == 0 ? ScaleMath::Orientation::Vertical : ScaleMath::Orientation::Horizontal;
  return HostDragScale::Create(parent, creation, scale);
}

} // namespace Vela

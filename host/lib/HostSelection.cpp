#include "HostSelection.h"

namespace Vela {

HostSelection* HostSelection::Create(std::shared_ptr<Recording> recording) {
  auto* s = new HostSelection;
  s->recording_ = std::move(recording);
  return s;
}

HRESULT HostSelection::HasSelection(BOOL* exists) noexcept {
  if (!exists)
    return E_INVALIDARG;
  *exists = recording_->selection.exists ? TRUE : FALSE;
  return S_OK;
}

HRESULT HostSelection::GetExtent(std::int32_t* startPosition, std::int32_t* startBlock,
                                 std::int32_t* endPosition, std::int32_t* endBlock) noexcept {
  if (!startPosition || !startBlock || !endPosition || !endBlock)
    return E_INVALIDARG;
  const Recording::Selection& s = recording_->selection;
  if (!s.exists)
    return S_FALSE;
  *startPosition = s.startPosition;
  *startBlock = s.startBlock;
  *endPosition = s.endPosition;
  *endBlock = s.endBlock;
  return S_OK;
}

HRESULT HostSelection::SetExtent(std::int32_t startPosition, std::int32_t startBlock,
                                 std::int32_t endPosition, std::int32_t endBlock) noexcept {
  const Recording& r = *recording_;
  const auto inside = [&r](std::int32_t position, std::int32_t block) {
    return block >= 0 && static_cast<std::size_t>(block) < r.BlockCount() && position >= 0 &&
           static_cast<std::size_t>(position) < r.BlockAt(static_cast<std::size_t>(block)).length;
  };
  // A caller that cuts a selection "to the end of the block" may pass the block's length.
  if (endBlock >= 0 && static_cast<std::size_t>(endBlock) < r.BlockCount() && endPosition > 0 &&
      static_cast<std::size_t>(endPosition) == r.BlockAt(static_cast<std::size_t>(endBlock)).length)
    --endPosition;
  if (!inside(startPosition, startBlock) || !inside(endPosition, endBlock) ||
      endBlock < startBlock || (endBlock == startBlock && endPosition < startPosition))
    return E_INVALIDARG;
  const Recording::Selection next{true, startPosition, startBlock, endPosition, endBlock};
  if (!(next == recording_->selection)) {
    recording_->selection = next;
    ++writes_;
  }
  return S_OK;
}

} // namespace Vela

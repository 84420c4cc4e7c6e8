#include "window/PrintoutPages.h"

#include <algorithm>

namespace Tarn::Window {

bool PrintoutPages::IsExcluded(std::int32_t page) const noexcept {
  if (std::all_of(mChosen.begin(), mChosen.end(), [](std::uint32_t w) { return w == 0; }))
    return false;
  if (page < 0)
    return true;
  const auto word = static_cast<std::size_t>(page) / 32;
  return word >= mChosen.size() || !(mChosen[word] & (1u << (page % 32)));
}

} // namespace Tarn::Window

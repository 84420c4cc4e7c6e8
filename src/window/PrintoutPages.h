#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace Tarn::Window {

// What a printout tells its print job about its pages: how many there are, which of them are
// chosen for printing, and its option bits.
class PrintoutPages {
public:
  // The pages chosen for printing, replacing the earlier choice: bit p of words[p / 32] for page
  // p. A choice without a set bit chooses every page.
  void Choose(std::span<const std::uint32_t> words) { mChosen.assign(words.begin(), words.end()); }
  bool IsExcluded(std::int32_t page) const noexcept;

  // Remembers the count last reported, which the end test compares with.
  void SetCount(std::int32_t count) noexcept { mCount = count; }
  bool IsPastEnd(std::int32_t page) const noexcept { return page >= mCount; }

  // The bits under `mask` are replaced by those of `bits`; the bits outside it are kept, unless
  // `bits` sets them.
  void SetOptions(std::int32_t bits, std::int32_t mask) noexcept {
    mOptions = bits | (mOptions & ~mask);
  }
  std::int32_t Options() const noexcept { return mOptions; }

private:
  std::vector<std::uint32_t> mChosen;
  std::int32_t mCount = 0;
  std::int32_t mOptions = 0;
};

} // namespace Tarn::Window

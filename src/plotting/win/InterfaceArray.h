#pragma once
#include <unknwn.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "foundation/win/ComPtr.h"

namespace GUILib {

// A growable array of interface pointers holding one reference to each entry; observer lists use
// it. When full it grows to max(minimum growth, (capacity x 3 + 1) / 2) with proportional growth,
// else by the growth step. Removal releases the entry and closes the gap.
template <class I> class InterfaceArray {
public:
  explicit InterfaceArray(std::size_t growth = 4, bool proportional = true) noexcept
      : growth_(std::max<std::size_t>(growth, 1)), proportional_(proportional) {}
  InterfaceArray(const InterfaceArray&) = delete;
  InterfaceArray& operator=(const InterfaceArray&) = delete;
  ~InterfaceArray() { Clear(); }

  // Throws std::bad_alloc when the array cannot grow; the pointer is then not kept.
  void Add(I* item) {
    if (size_ == capacity_)
      Grow();
    if (item)
      item->AddRef();
    items_[size_++] = item;
  }
  // False when the pointer is not in the array.
  bool Remove(I* item) noexcept {
    I** end = items_.get() + size_;
    I** found = std::find(items_.get(), end, item);
    if (found == end)
      return false;
    std::move(found + 1, end, found);
    --size_;
    if (item)
      item->Release();
    return true;
  }
  void Clear() noexcept {
    while (size_ > 0) {
      if (I* item = items_[--size_])
        item->Release();
    }
  }
  std::size_t Size() const noexcept { return size_; }
  std::size_t Capacity() const noexcept { return capacity_; }
  I* operator[](std::size_t i) const noexcept { return items_[i]; }
  // The entries with a reference each, for calling out while the array may change.
  std::vector<Tarn::ComPtr<I>> Snapshot() const {
    std::vector<Tarn::ComPtr<I>> copy;
    copy.reserve(size_);
    for (std::size_t i = 0; i < size_; ++i)
      copy.emplace_back(items_[i]);
    return copy;
  }

private:
  void Grow() {
    const std::size_t next =
        proportional_ ? std::max(growth_, (capacity_ * 3 + 1) / 2) : capacity_ + growth_;
    auto bigger = std::make_unique<I*[]>(next);
    std::copy_n(items_.get(), size_, bigger.get());
    items_ = std::move(bigger);
    capacity_ = next;
  }

  std::unique_ptr<I*[]> items_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t growth_;
  bool proportional_;
};

} // namespace GUILib

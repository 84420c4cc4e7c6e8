#pragma once
#include <mutex>
#include <unordered_set>

namespace Tarn {

// The addresses of the live objects of one kind, so that a pointer handed in from elsewhere is
// never taken for one of them. Thread-safe.
class LiveObjectSet {
public:
  void Add(const void* object);
  void Remove(const void* object) noexcept;
  [[nodiscard]] bool Contains(const void* object) const noexcept;

private:
  mutable std::mutex mutex_;
  std::unordered_set<const void*> objects_;
};

} // namespace Tarn

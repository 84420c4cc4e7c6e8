#include "foundation/LiveObjectSet.h"

namespace Tarn {

void LiveObjectSet::Add(const void* object) {
  const std::lock_guard lock(mutex_);
  objects_.insert(object);
}

void LiveObjectSet::Remove(const void* object) noexcept {
  const std::lock_guard lock(mutex_);
  objects_.erase(object);
}

bool LiveObjectSet::Contains(const void* object) const noexcept {
  const std::lock_guard lock(mutex_);
  return objects_.count(object) != 0;
}

} // namespace Tarn

#pragma once
#include <cstdint>

namespace MPCalibration {

// Counts the module's live host-facing objects (extension objects, settings objects,
// enumerators) so that tests can check that the host and the module released everything. A
// class takes part by holding one LiveObjectCounter member. Without MPCAL_COUNT_OBJECTS the
// member is empty and costs nothing.
class LiveObjectCounter {
public:
#ifdef MPCAL_COUNT_OBJECTS
  LiveObjectCounter() noexcept {
    Adjust(1);
  }
  LiveObjectCounter(const LiveObjectCounter&) noexcept {
    Adjust(1);
  }
  ~LiveObjectCounter() {
    Adjust(-1);
  }
#else
  LiveObjectCounter() noexcept = default;
  LiveObjectCounter(const LiveObjectCounter&) noexcept = default;
#endif
  // Assignment copies the owner's state, not its identity: the count stays as it is.
  LiveObjectCounter& operator=(const LiveObjectCounter&) noexcept {
    return *this;
  }

  // The number of counted objects alive now; always 0 without MPCAL_COUNT_OBJECTS.
  static std::int32_t Count() noexcept;

private:
  static void Adjust(std::int32_t delta) noexcept;
};

} // namespace MPCalibration

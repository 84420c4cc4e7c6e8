#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "foundation/win/TarnString.h"

namespace MPCalibration {

// What a class object tells the host about its class: name, description, class identifier,
// kind identifier and the low word of its class code. The class code itself is the host's
// registry code of the class identifier in the high word, and is looked up on first use.
class VelaClassInfo {
public:
  VelaClassInfo(Tarn::TarnString name, Tarn::TarnString description, const GUID& clsid,
                const GUID& kind, std::uint16_t lowWord)
      : name_(std::move(name)), description_(std::move(description)), clsid_(clsid), kind_(kind),
        lowWord_(lowWord) {}
  VelaClassInfo(const VelaClassInfo&) = delete;
  VelaClassInfo& operator=(const VelaClassInfo&) = delete;

  const Tarn::TarnString& Name() const noexcept { return name_; }
  const Tarn::TarnString& Description() const noexcept { return description_; }
  const GUID& ClassId() const noexcept { return clsid_; }
  const GUID& Kind() const noexcept { return kind_; }
  std::uint16_t LowWord() const noexcept { return lowWord_; }

  // (registry code << 16) | low word. The first successful lookup is cached for the life of the
  // module; a failed one raises Tarn::XHResult and is tried again next time.
  std::int32_t ClassCode() const;

private:
  Tarn::TarnString name_;
  Tarn::TarnString description_;
  GUID clsid_;
  const GUID& kind_;
  std::uint16_t lowWord_;
  // -1 until looked up; every class code fits in 32 bits, so -1 cannot be a cached value.
  mutable std::atomic<std::int64_t> code_{-1};
};

} // namespace MPCalibration

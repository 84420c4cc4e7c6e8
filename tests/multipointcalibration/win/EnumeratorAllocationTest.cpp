// Running out of memory while the host creates or clones an enumerator must come back as a
// status, never as a terminated host process. The global allocation functions of this test
// program are replaced by ones that can be told to fail from a given allocation on.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>

#include "InProcessHost.h"
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostServices.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/win/LiveObjectCounter.h"
#include "multipointcalibration/win/MPCalibrationEnum.h"
#include "multipointcalibration/win/ModuleObjects.h"

namespace {

// Allocations left before every further one fails; negative: no failures.
std::atomic<std::int64_t> allocationsLeft{-1};

void* Allocate(std::size_t size) {
  std::int64_t left = allocationsLeft.load();
  while (left >= 0 && !allocationsLeft.compare_exchange_weak(left, left > 0 ? left - 1 : 0)) {
  }
  if (left == 0)
    throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

using Tarn::ComPtr;

// Runs `attempt` with the n-th allocation failing, for n = 0, 1, ... until it succeeds: every
// failure must be E_OUTOFMEMORY with nothing handed out and nothing left alive.
void EveryAllocationFails(const char* what, const std::function<HRESULT(IUnknown**)>& attempt) {
  const std::int32_t liveAtStart = MPCalibration::LiveObjectCounter::Count();
  for (std::int64_t n = 0;; ++n) {
    ASSERT_LT(n, 100) << what << ": never succeeded";
    IUnknown* made = reinterpret_cast<IUnknown*>(1);
    allocationsLeft = n;
    const HRESULT status = attempt(&made);
    allocationsLeft = -1;
    if (status == S_OK) {
      ASSERT_NE(made, nullptr) << what;
      made->Release();
      EXPECT_GT(n, 0) << what << ": nothing was allocated";
      break;
    }
    EXPECT_EQ(status, E_OUTOFMEMORY) << what << ", allocation " << n;
    EXPECT_EQ(made, nullptr) << what << ", allocation " << n;
    EXPECT_EQ(MPCalibration::LiveObjectCounter::Count(), liveAtStart)
        << what << ", allocation " << n;
  }
}

TEST(EnumeratorAllocation, CreateAndCloneReportOutOfMemory) {
  Vela::InProcessHost host;
  ASSERT_EQ(host.Status(), S_OK);
  MPCalibration::HostServices::ResetForTesting();
  Host::ICalcEnumClass2* enumClass = MPCalibration::ModuleObjects::EnumeratorClass();
  ASSERT_NE(enumClass, nullptr);

  EveryAllocationFails("CreateEnum", [&](IUnknown** out) {
    return enumClass->CreateEnum(nullptr, reinterpret_cast<Host::ICalcEnum**>(out));
  });

  Host::ICalcEnum* made = nullptr;
  ASSERT_EQ(enumClass->CreateEnum(nullptr, &made), S_OK);
  const auto original = ComPtr<Host::ICalcEnum>::Adopt(made);
  EveryAllocationFails("ICalcEnum::Clone", [&](IUnknown** out) {
    return original->Clone(nullptr, reinterpret_cast<Host::ICalcEnum**>(out));
  });
  ComPtr<Host::IEnumFloatEx> floatFace;
  ASSERT_EQ(original.QueryTo(Host::IID_IEnumFloatEx, floatFace), S_OK);
  EveryAllocationFails("IEnumFloatEx::Clone", [&](IUnknown** out) {
    return floatFace->Clone(reinterpret_cast<Host::IEnumFloatEx**>(out));
  });
}

} // namespace

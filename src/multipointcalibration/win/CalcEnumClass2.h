#pragma once
#include "foundation/win/ComPtr.h"
#include "foundation/win/HostBoundary.h"
#include "multipointcalibration/win/CalcEnumAgg.h"
#include "multipointcalibration/win/CalcEnumClassBase2.h"

namespace CalcEnums {

// The class object of a calculation enumerator T. T is constructed from (params, class object)
// with one reference; CalcEnumAgg<T> is its aggregatable variant.
template <class T> class CalcEnumClass2 final : public CalcEnumClassBase2 {
public:
  explicit CalcEnumClass2(const MPCalibration::VelaClassInfo& info) noexcept
      : CalcEnumClassBase2(info) {}

  [[nodiscard]] HRESULT STDMETHODCALLTYPE CreateEnum(IUnknown* params,
                                                     Host::ICalcEnum** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    *out = nullptr;
    return Tarn::Guard([&] {
      const auto enumerator = Tarn::ComPtr<T>::Adopt(new T(params, this));
      return enumerator->QueryInterface(Host::IID_ICalcEnum, reinterpret_cast<void**>(out));
    });
  }

  // With an outer object the caller receives the enumerator's non-delegating IUnknown, which
  // holds the object's only reference.
  [[nodiscard]] HRESULT STDMETHODCALLTYPE CreateEnumAggregated(IUnknown* outer, IUnknown* params,
                                                               IUnknown** out) noexcept override {
    if (!out)
      return E_INVALIDARG;
    *out = nullptr;
    return Tarn::Guard([&] {
      if (!outer) {
        const auto enumerator = Tarn::ComPtr<T>::Adopt(new T(params, this));
        return enumerator->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
      }
      // The caller owns the creation reference now.
      *out = (new CalcEnumAgg<T>(params, this, outer))->NonDelegating();
      return S_OK;
    });
  }
};

} // namespace CalcEnums

#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/win/ComPtr.h"
#include "foundation/win/TarnString.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/BlockCalibrator.h"
#include "multipointcalibration/win/LiveObjectCounter.h"

namespace MPCalibration {

// The calculated channel's enumerator: pulls raw samples from one source enumerator and hands
// back calibrated samples, evaluating the coefficients carried by the parameter text. The host
// creates one per place that shows or exports the channel; the main dialog runs a private one
// (without a class object) for its preview.
//
// Faces: ICalcEnum (the main one, also IUnknown), IEnumFloatEx (with IEnumExBase) and
// ITarnSetCalcVariables. Interface requests the object does not answer go to the host's
// calculation-variables object when one was set. CalcEnums::CalcEnumAgg adds aggregation.
class MPCalibrationEnum : public Host::ICalcEnum,
                          public Host::IEnumFloatEx,
                          public Host::ITarnSetCalcVariables {
public:
  // `params` is the host object given to CreateEnum, kept but not interpreted; `enumClass` the
  // class object that created the enumerator, or null. The new object holds one reference,
  // which the caller owns. Raises std::bad_alloc when memory runs out (the identity line is
  // allocated); the class object's Guard turns that into E_OUTOFMEMORY.
  MPCalibrationEnum(IUnknown* params, Host::IVelaClassObject* enumClass);
  MPCalibrationEnum(const MPCalibrationEnum&) = delete;
  MPCalibrationEnum& operator=(const MPCalibrationEnum&) = delete;

  // IUnknown, shared by the three faces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // ICalcEnum
  HRESULT STDMETHODCALLTYPE GetClassCode(std::int32_t* code) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClass(IUnknown** classObject) noexcept override;
  HRESULT STDMETHODCALLTYPE SetParameters(ITarnString* text, std::int32_t* flags) noexcept override;
  HRESULT STDMETHODCALLTYPE GetParameters(ITarnString** text) noexcept override;
  HRESULT STDMETHODCALLTYPE Clone(IUnknown* outer, Host::ICalcEnum** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE SetSources(void* unused, std::int32_t count, IUnknown** sources,
                                       IUnknown** extras, void* context) noexcept override;
  HRESULT STDMETHODCALLTYPE Seek(std::int32_t position) noexcept override;
  HRESULT STDMETHODCALLTYPE ReleaseSource() noexcept override;
  HRESULT STDMETHODCALLTYPE GetCapabilities(void* unused, std::int32_t flag,
                                            std::int32_t* capabilities) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved12() noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved13() noexcept override;
  HRESULT STDMETHODCALLTYPE GetOutput(void** context, IUnknown** unit) noexcept override;
  HRESULT STDMETHODCALLTYPE GetBufferHint(std::int32_t* samples) noexcept override;
  HRESULT STDMETHODCALLTYPE GetKindCode(std::int32_t* code) noexcept override;
  // Also IEnumExBase slot 7.
  HRESULT STDMETHODCALLTYPE GetRate(Host::RateInfo* rate) noexcept override;
  void* STDMETHODCALLTYPE DeletingDestructor(UINT flags) noexcept override;

  // IEnumFloatEx
  HRESULT STDMETHODCALLTYPE Clone(Host::IEnumFloatEx** copy) noexcept override;
  HRESULT STDMETHODCALLTYPE SkipEx(std::int32_t count, std::int32_t* skipped) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPosition(std::int32_t* position) noexcept override;
  HRESULT STDMETHODCALLTYPE GetState16(std::int16_t* value) noexcept override;
  HRESULT STDMETHODCALLTYPE Next(std::uint32_t count, float* values,
                                 std::uint32_t* fetched) noexcept override;

  // ITarnSetCalcVariables
  HRESULT STDMETHODCALLTYPE SetCalcVariables(IUnknown* variables) noexcept override;

  // The running total of samples returned by Next.
  std::int32_t SamplesDelivered() const noexcept { return samplesDelivered_; }

  // Constants the host reads back.
  static constexpr std::int32_t kParameterFlags = 0x40000000;
  static constexpr std::int32_t kBufferHint = 0x8000;
  static constexpr std::int32_t kKindCode = static_cast<std::int32_t>(0x801B0001u);

protected:
  virtual ~MPCalibrationEnum();

  // What Clone copies: every field of `original` except the source, which is `source` (a clone
  // of the original's, or null), and the calculation variables, which are not copied.
  struct CopyOf {
    const MPCalibrationEnum& original;
    Host::IEnumFloatEx* source;
  };
  explicit MPCalibrationEnum(const CopyOf& copy);

  // Creates the copy for Clone and returns what Clone hands out, with the copy's one reference:
  // its ICalcEnum face, or, from the aggregatable variant given an outer object, the copy's
  // non-delegating unknown.
  virtual IUnknown* MakeCopy(IUnknown* outer, Host::IEnumFloatEx* source);

  // The object's own interfaces and reference count. The aggregatable variant routes its faces
  // to the outer object, which reaches these through the non-delegating unknown.
  HRESULT InnerQueryInterface(REFIID iid, void** out) noexcept;
  ULONG InnerAddRef() noexcept;
  ULONG InnerRelease() noexcept;

private:
  // Clones the source and makes the copy; shared by both Clone slots.
  HRESULT CloneWith(IUnknown* outer, IUnknown** copy) noexcept;
  void ReadParameterHead(std::wstring_view text);
  void MakeOutputUnit(const std::wstring& name);

  LONG refCount_ = 1;
  Tarn::ComPtr<IUnknown> params_;
  Tarn::ComPtr<Host::IVelaClassObject> enumClass_;
  Tarn::ComPtr<IUnknown> calcVariables_;
  void* context_ = nullptr;
  Tarn::ComPtr<Host::IEnumFloatEx> source_;
  Tarn::ComPtr<IUnknown> sourceExtra_;
  Tarn::ComPtr<Host::IUnitName> outputUnit_;
  Tarn::TarnString parameterText_;
  bool positioned_ = false;
  std::int32_t samplesDelivered_ = 0;
  bool forceOrigin_ = false;
  std::int32_t fitType_ = 0;
  std::vector<double> coefficients_{0.0, 1.0};
  double placeholder_ = 0.0;
  double sumSquaredError_ = 0.0;
  // Prepared from fitType_ and coefficients_ whenever the parameter text changes.
  BlockCalibrator calibrator_;
  LiveObjectCounter liveObject_;
};

} // namespace MPCalibration

#include "multipointcalibration/win/MPCalibrationEnum.h"

#include <limits>
#include <new>

#include "foundation/XHResult.h"
#include "foundation/XTarn.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "multipointcalibration/ParameterText.h"

namespace MPCalibration {

using Tarn::ComPtr;

namespace {

// The unit object made from the parameter text's unit token has no prefix and kind 0.
constexpr std::int32_t kNoPrefix = 1;
constexpr std::int32_t kUnitKind = 0;

// The enumerator's rate when it has no source to ask.
constexpr Host::RateInfo kOwnRate = {1, 1, 0.0};

template <class T> void SetIfNotNull(T* out, T value) noexcept {
  if (out)
    *out = value;
}

} // namespace

MPCalibrationEnum::MPCalibrationEnum(IUnknown* params, Host::IVelaClassObject* enumClass)
    : params_(params), enumClass_(enumClass) {}

MPCalibrationEnum::MPCalibrationEnum(const CopyOf& copy)
    : params_(copy.original.params_), enumClass_(copy.original.enumClass_),
      context_(copy.original.context_), source_(copy.source),
      sourceExtra_(copy.original.sourceExtra_), outputUnit_(copy.original.outputUnit_),
      parameterText_(copy.original.parameterText_), positioned_(copy.original.positioned_),
      samplesDelivered_(copy.original.samplesDelivered_), forceOrigin_(copy.original.forceOrigin_),
      fitType_(copy.original.fitType_), placeholder_(copy.original.placeholder_),
      sumSquaredError_(copy.original.sumSquaredError_) {
  // The vectors are copied here, where a failed allocation cannot leave a half-made object:
  // MakeCopy's caller turns it into E_OUTOFMEMORY before anything is handed out.
  coefficients_ = copy.original.coefficients_;
  calibrator_ = copy.original.calibrator_;
}

MPCalibrationEnum::~MPCalibrationEnum() = default;

HRESULT MPCalibrationEnum::InnerQueryInterface(REFIID iid, void** out) noexcept {
  if (!out)
    return E_INVALIDARG;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == Host::IID_ICalcEnum) {
    *out = static_cast<Host::ICalcEnum*>(this);
  } else if (iid == Host::IID_IEnumFloatEx || iid == Host::IID_IEnumExBase) {
    *out = static_cast<Host::IEnumFloatEx*>(this);
  } else if (iid == Host::IID_ITarnSetCalcVariables) {
    *out = static_cast<Host::ITarnSetCalcVariables*>(this);
  } else if (calcVariables_) {
    return calcVariables_->QueryInterface(iid, out);
  } else {
    return E_NOINTERFACE;
  }
  // Through the face, so that an aggregated object counts the reference on its outer object.
  static_cast<IUnknown*>(*out)->AddRef();
  return S_OK;
}

ULONG MPCalibrationEnum::InnerAddRef() noexcept {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG MPCalibrationEnum::InnerRelease() noexcept {
  const LONG left = InterlockedDecrement(&refCount_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

HRESULT MPCalibrationEnum::QueryInterface(REFIID iid, void** out) noexcept {
  return InnerQueryInterface(iid, out);
}

ULONG MPCalibrationEnum::AddRef() noexcept {
  return InnerAddRef();
}

ULONG MPCalibrationEnum::Release() noexcept {
  return InnerRelease();
}

HRESULT MPCalibrationEnum::GetClassCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  *code = 0;
  // A class object that cannot tell its code leaves 0.
  if (enumClass_)
    (void)enumClass_->GetClassCode(code);
  return S_OK;
}

HRESULT MPCalibrationEnum::GetClass(IUnknown** classObject) noexcept {
  if (classObject)
    enumClass_.CopyTo(classObject);
  return S_OK;
}

HRESULT MPCalibrationEnum::SetParameters(ITarnString* text, std::int32_t* flags) noexcept {
  SetIfNotNull(flags, kParameterFlags);
  return Tarn::Guard([&] {
    parameterText_ = Tarn::TarnString::FromHost(text);
    ReadParameterHead(parameterText_.view());
  });
}

void MPCalibrationEnum::ReadParameterHead(std::wstring_view text) {
  // Only the head of the text matters here: the points that follow are the dialog's. Each
  // item is stored only when it was read, and after a failed item nothing more is read.
  ParameterTextReader reader(text);
  reader.ReadInt(fitType_);
  reader.ReadBool(forceOrigin_);
  std::wstring unitName;
  const bool haveUnit = reader.ReadUnitToken(unitName);
  reader.ReadNumber(placeholder_);
  reader.ReadNumber(sumSquaredError_);
  std::size_t count = 0;
  if (reader.ReadCount(count))
    reader.ReadNumberList(coefficients_, count);
  calibrator_ = BlockCalibrator(fitType_, coefficients_);
  if (haveUnit)
    MakeOutputUnit(unitName);
}

void MPCalibrationEnum::MakeOutputUnit(const std::wstring& name) {
  // Without the host's unit service the enumerator still calibrates; it just has no unit.
  outputUnit_.reset();
  try {
    const ComPtr<Host::IUnitService> units = HostServices::UnitService();
    const Tarn::TarnString hostName(name);
    ComPtr<Host::IUnitName> unit;
    if (SUCCEEDED(units->MakeUnit(kNoPrefix, hostName.get(), kUnitKind, unit.put())))
      outputUnit_ = std::move(unit);
  } catch (const Tarn::XHResult&) {
  } catch (const Tarn::XTarn&) {
  }
}

HRESULT MPCalibrationEnum::GetParameters(ITarnString** text) noexcept {
  if (!text)
    return E_INVALIDARG;
  *text = Tarn::TarnString(parameterText_).release(); // the caller owns this reference now
  return S_OK;
}

IUnknown* MPCalibrationEnum::MakeCopy(IUnknown*, Host::IEnumFloatEx* source) {
  return static_cast<Host::ICalcEnum*>(new MPCalibrationEnum(CopyOf{*this, source}));
}

HRESULT MPCalibrationEnum::CloneWith(IUnknown* outer, IUnknown** copy) noexcept {
  *copy = nullptr;
  return Tarn::Guard([&]() -> HRESULT {
    ComPtr<Host::IEnumFloatEx> sourceCopy;
    if (source_) {
      const HRESULT status = source_->Clone(sourceCopy.put());
      if (FAILED(status))
        return status;
    }
    *copy = MakeCopy(outer, sourceCopy.get());
    return S_OK;
  });
}

HRESULT MPCalibrationEnum::Clone(IUnknown* outer, Host::ICalcEnum** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  IUnknown* made = nullptr;
  const HRESULT status = CloneWith(outer, &made);
  // An aggregated copy is handed out as its non-delegating unknown through the same slot, as
  // the host expects; the caller owns the reference.
  *copy = reinterpret_cast<Host::ICalcEnum*>(made);
  return status;
}

HRESULT MPCalibrationEnum::Clone(Host::IEnumFloatEx** copy) noexcept {
  if (!copy)
    return E_INVALIDARG;
  *copy = nullptr;
  IUnknown* made = nullptr;
  const HRESULT status = CloneWith(nullptr, &made);
  if (made) {
    // Without an outer object MakeCopy returns the copy's ICalcEnum face; its reference
    // passes to the caller through the IEnumFloatEx face.
    auto* object = static_cast<MPCalibrationEnum*>(static_cast<Host::ICalcEnum*>(made));
    *copy = static_cast<Host::IEnumFloatEx*>(object);
  }
  return status;
}

HRESULT MPCalibrationEnum::SetSources(void*, std::int32_t count, IUnknown** sources,
                                      IUnknown** extras, void* context) noexcept {
  if (count > 0 && sources) {
    ComPtr<Host::IEnumFloatEx> source;
    if (sources[0] &&
        SUCCEEDED(sources[0]->QueryInterface(Host::IID_IEnumFloatEx, source.put_void())))
      source_ = std::move(source);
    sourceExtra_.reset(extras ? extras[0] : nullptr);
  }
  context_ = context;
  positioned_ = false;
  return source_ ? S_OK : E_FAIL;
}

HRESULT MPCalibrationEnum::Seek(std::int32_t position) noexcept {
  positioned_ = true;
  if (!source_)
    return E_FAIL;
  ComPtr<Host::ICalcEnum> calculated;
  if (SUCCEEDED(source_.QueryTo(Host::IID_ICalcEnum, calculated)))
    return calculated->Seek(position);
  std::int32_t current = 0;
  const HRESULT status = source_->GetPosition(&current);
  if (FAILED(status))
    return status;
  if (position == current)
    return S_OK;
  const std::int64_t distance = std::int64_t{position} - current;
  if (distance < std::numeric_limits<std::int32_t>::min() ||
      distance > std::numeric_limits<std::int32_t>::max())
    return E_INVALIDARG;
  std::int32_t skipped = 0;
  return source_->SkipEx(static_cast<std::int32_t>(distance), &skipped);
}

HRESULT MPCalibrationEnum::ReleaseSource() noexcept {
  source_.reset();
  return S_OK;
}

HRESULT MPCalibrationEnum::GetCapabilities(void*, std::int32_t flag,
                                           std::int32_t* capabilities) noexcept {
  if (!capabilities)
    return E_INVALIDARG;
  *capabilities = flag ? kParameterFlags : 0;
  return S_OK;
}

HRESULT MPCalibrationEnum::Reserved12() noexcept {
  return S_OK;
}

HRESULT MPCalibrationEnum::Reserved13() noexcept {
  return S_OK;
}

HRESULT MPCalibrationEnum::GetOutput(void** context, IUnknown** unit) noexcept {
  SetIfNotNull(context, context_);
  if (unit)
    outputUnit_.CopyTo(unit);
  return S_OK;
}

HRESULT MPCalibrationEnum::GetBufferHint(std::int32_t* samples) noexcept {
  if (!samples)
    return E_INVALIDARG;
  *samples = kBufferHint;
  return S_OK;
}

HRESULT MPCalibrationEnum::GetKindCode(std::int32_t* code) noexcept {
  if (!code)
    return E_INVALIDARG;
  *code = kKindCode;
  return S_OK;
}

HRESULT MPCalibrationEnum::GetRate(Host::RateInfo* rate) noexcept {
  if (source_)
    return source_->GetRate(rate);
  if (!rate)
    return E_INVALIDARG;
  *rate = kOwnRate;
  return E_FAIL;
}

void* MPCalibrationEnum::DeletingDestructor(UINT flags) noexcept {
  // Only the owner of the last reference may call this slot.
  if (flags & 1)
    delete this;
  else
    this->~MPCalibrationEnum();
  return this;
}

HRESULT MPCalibrationEnum::SkipEx(std::int32_t count, std::int32_t* skipped) noexcept {
  if (source_)
    return source_->SkipEx(count, skipped);
  SetIfNotNull(skipped, 0);
  return E_FAIL;
}

HRESULT MPCalibrationEnum::GetPosition(std::int32_t* position) noexcept {
  if (source_)
    return source_->GetPosition(position);
  SetIfNotNull(position, -1);
  return E_FAIL;
}

HRESULT MPCalibrationEnum::GetState16(std::int16_t* value) noexcept {
  if (source_)
    return source_->GetState16(value);
  SetIfNotNull<std::int16_t>(value, -1);
  return E_FAIL;
}

HRESULT MPCalibrationEnum::Next(std::uint32_t count, float* values,
                                std::uint32_t* fetched) noexcept {
  SetIfNotNull(fetched, 0u);
  if (!source_)
    return E_FAIL;
  std::uint32_t got = 0;
  const HRESULT status = source_->Next(count, values, &got);
  // A source that claims more than it was asked for is not trusted beyond the buffer.
  if (got > count)
    got = count;
  if (values)
    calibrator_.Apply(values, got);
  samplesDelivered_ =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(samplesDelivered_) + got);
  SetIfNotNull(fetched, got);
  return got == count ? S_OK : status;
}

HRESULT MPCalibrationEnum::SetCalcVariables(IUnknown* variables) noexcept {
  calcVariables_.reset(variables);
  return S_OK;
}

} // namespace MPCalibration

#include "multipointcalibration/win/MPCalibrationExt.h"

#include <cmath>
#include <limits>

#include "foundation/XHResult.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/HostServices.h"
#include "multipointcalibration/win/MPCalibrationExtSettings.h"
#include "multipointcalibration/win/ModuleObjects.h"
#include "units/UnitPrefixes.h"

namespace MPCalibration {
namespace {

constexpr std::int32_t kFlags = 0x10000000;
constexpr std::uint32_t kOwnChannelSource = 0x80005001u;
constexpr std::uint32_t kOtherChannelSource = 0xC0005000u;
constexpr std::uint32_t kSourceReserved = 0x80000000u;
constexpr std::uint32_t kChannelChangedFlags = 0x40000000u;

// The display range maps onto 64000 steps of the host's display; 32000 is its middle.
constexpr float kDisplaySteps = 64000.0f;
constexpr double kDisplayMiddle = 32000.0;
constexpr float kRangeLimit = 1e24f;
constexpr double kLargestFloat = 3.4028234663852886e38;

float ClampToRange(float value) noexcept {
  if (value > kRangeLimit || std::isnan(value))
    return kRangeLimit;
  if (value < -kRangeLimit)
    return -kRangeLimit;
  return value;
}

} // namespace

MPCalibrationExt::MPCalibrationExt(IUnknown* creator, IUnknown* dataSource, std::int32_t channel)
    : ChannelCalcBase(creator, dataSource, channel) {
  CalibrationSettings fresh;
  fresh.sourceChannel = channel;
  settings = Settings::Create(fresh);
  Connect();
}

MPCalibrationExt::~MPCalibrationExt() {
  hostString.clear();
  settings.reset();
}

void* MPCalibrationExt::DeletingDestructor(UINT flags) noexcept {
  if (flags & 1) {
    delete this;
  } else {
    this->~MPCalibrationExt();
  }
  return this;
}

HRESULT MPCalibrationExt::GetOutputInfo(std::int32_t a, void*, Host::IUnitName** unit,
                                        Host::RateInfo* rate, void* b,
                                        std::int32_t* extra) noexcept {
  return Tarn::Guard([&] {
    if (!outputUnit && dataSource) {
      const Tarn::TarnString unitName(settings->Record().unit.name);
      // A refusal leaves the unit empty; the host asks again next time.
      (void)dataSource->GetOutputUnit(&outputFields, unitName.get(), 0, 0, outputUnit.put());
    }
    if (unit)
      outputUnit.CopyTo(unit);
    if (rate)
      *rate = Host::RateInfo{1, 1, 0.0};
    // A note the host takes or leaves; the output information stands either way.
    if (channelInfoEx)
      (void)channelInfoEx->NoteOutputInfo(0, a, b);
    if (extra)
      *extra = 0;
  });
}

HRESULT MPCalibrationExt::ApplySettings(Host::IPersistObject* newSettings,
                                        std::int16_t recreateEnumerator) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    if (!newSettings)
      return S_FALSE;
    Tarn::ComPtr<Host::IPersistObject> persist;
    if (FAILED(newSettings->QueryInterface(Host::IID_IPersistObject, persist.put_void())) ||
        !persist)
      return S_FALSE;
    // Only this module's settings objects carry a record to apply.
    Tarn::ComPtr<Settings> next(Settings::FromPersistObject(persist.get()));
    if (!next)
      return S_FALSE;
    const CalibrationSettings& record = next->Record();
    if (record.EqualsForApply(settings->Record()))
      return S_FALSE;

    if (recreateEnumerator) {
      enumClassCode = ModuleObjects::EnumeratorClassInfo().ClassCode();
      Tarn::ComPtr<Host::ICalcEnumClass2> enumClass;
      Tarn::ComPtr<Host::ICalcEnum> enumerator;
      if (SUCCEEDED(HostServices::Registrar()->GetClassObject(
              enumClassCode, Host::IID_ICalcEnumClass2, enumClass.put_void())) &&
          enumClass && SUCCEEDED(enumClass->CreateEnum(channelInfo, enumerator.put())) &&
          enumerator && hostCalc)
        // Missing or refusing objects skip the step; the apply goes on.
        (void)hostCalc->SetEnumerator(creator, channel, dataSource, enumerator.get());
    }

    const Host::OutputScaling scaling =
        SetOutputScaling(record.rangeTop, record.rangeBottom, record.decimalPlaces, record.unit);
    if (hostCalc) {
      const Host::SourceSpec source{record.sourceChannel,
                                    record.sourceChannel == channel ? kOwnChannelSource
                                                                    : kOtherChannelSource,
                                    kSourceReserved};
      // The host's calculation keeps what it is given; the apply has no status of these steps
      // to report, only the data source's at the end.
      (void)hostCalc->SetSource(1, &source, &scaling);
      const Tarn::TarnString text(record.ToParameterText());
      (void)hostCalc->SetParameterText(text.get());
    }
    settings = std::move(next);

    if (!dataSource)
      return S_OK;
    Tarn::ComPtr<IUnknown> notify;
    // Without the notification face the data source is told with null.
    if (hostCalc)
      (void)hostCalc->QueryInterface(Host::IID_IHostCalcNotify, notify.put_void());
    return dataSource->ChannelChanged(channel, kChannelChangedFlags, notify.get());
  });
}

HRESULT MPCalibrationExt::SetSettings(Host::IPersistObject* newSettings) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    Settings* given = Settings::FromPersistObject(newSettings);
    if (!given)
      return E_INVALIDARG;
    settings = Settings::Create(given->Record());
    return S_OK;
  });
}

HRESULT MPCalibrationExt::GetSettings(Host::IPersistObject** out) noexcept {
  if (out)
    settings.CopyTo(out);
  return S_OK;
}

HRESULT MPCalibrationExt::GetFlags(std::int32_t* flags) noexcept {
  if (!flags)
    return E_INVALIDARG;
  *flags = kFlags;
  return S_OK;
}

HRESULT MPCalibrationExt::NotImplemented8(void** out) noexcept {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

HRESULT MPCalibrationExt::NotImplemented9(void** out) noexcept {
  if (out)
    *out = nullptr;
  return E_NOTIMPL;
}

Host::OutputScaling MPCalibrationExt::SetOutputScaling(double top, double bottom,
                                                       std::int32_t decimals,
                                                       const Tarn::UnitInfo& unit) {
  outputUnit.reset();

  const float high = ClampToRange(static_cast<float>(top));
  const float low = ClampToRange(static_cast<float>(bottom));
  float range = high - low;
  // A range of zero (a flat signal) cannot be divided by; it is treated like a range too wide
  // for single precision rather than handing the host an infinite factor and a NaN offset.
  if (!std::isfinite(range) || range == 0.0f)
    range = static_cast<float>(kLargestFloat);

  double scale =
      static_cast<double>(range / kDisplaySteps) / Tarn::PrefixScaleFactor(unit.prefixIndex);
  if (!std::isfinite(scale))
    scale = kLargestFloat;
  const double offset = kDisplayMiddle + 64000.0 * static_cast<double>(low) / range;

  outputFields.scale = scale;
  outputFields.offset = offset;
  outputFields.top = std::numeric_limits<float>::infinity();
  outputFields.bottom = -std::numeric_limits<float>::infinity();
  outputFields.prefixIndex = unit.prefixIndex;
  outputFields.decimals = decimals;
  outputFields.unitFlag = (unit.unitKind & 1) ? -1 : 0;

  AddToUnitList(unit);
  return Host::OutputScaling{1.0 / scale, -(offset * scale)};
}

void MPCalibrationExt::AddToUnitList(const Tarn::UnitInfo& unit) {
  // The channel's scaling does not depend on the host's list of units: a unit the list cannot
  // take is left out rather than failing the apply half-way.
  try {
    const Tarn::TarnString name(unit.name);
    Tarn::ComPtr<Host::IUnitName> made;
    if (FAILED(HostServices::UnitService()->MakeUnit(unit.prefixIndex, name.get(), unit.unitKind,
                                                     made.put())) ||
        !made)
      return;
    Tarn::ComPtr<Host::IUnitCollection> list;
    if (FAILED(HostServices::UnitListService()->GetUnitList(list.put())) || !list)
      return;
    (void)list->Add(0, made.get(), nullptr);
  } catch (const Tarn::XHResult&) {
  }
}

} // namespace MPCalibration

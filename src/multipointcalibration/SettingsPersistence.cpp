#include "multipointcalibration/SettingsPersistence.h"

#include <limits>
#include <new>
#include <string>

#include "foundation/PersistItems.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ParameterText.h"

namespace MPCalibration {

namespace {

using Tarn::HResult;
using Tarn::ItemReader;
using Tarn::ItemWriter;
namespace hr = Tarn::hr;

// Reads one item into a local and assigns the field only when the read succeeded.
template <class T, class Read> HResult ReadInto(T& field, Read read) {
  T value{};
  const HResult status = read(value);
  if (hr::Succeeded(status)) {
    field = std::move(value);
  }
  return status;
}

HResult Save(ItemWriter& writer, const CalibrationSettings& settings) {
  // Single writes are not checked: a failed write leaves the writer's status negative.
  (void)writer.WriteInt(kSettingsVersion);
  (void)writer.WriteInt(settings.showCalculated ? 1 : 0);
  (void)writer.WriteInt(settings.sourceChannel);
  (void)writer.WriteInt(settings.decimalPlaces);
  (void)writer.WriteDouble(settings.rangeTop);
  (void)writer.WriteDouble(settings.rangeBottom);
  (void)writer.WriteInt(static_cast<std::int32_t>(settings.stringSet.size()));
  for (const std::wstring& s : settings.stringSet) {
    (void)writer.WriteString(s);
  }
  (void)writer.WriteString(settings.ToParameterText());
  (void)writer.WriteInt(settings.unit.prefixIndex);
  (void)writer.WriteString(settings.unit.name);
  (void)writer.WriteInt(settings.unit.unitKind);
  return hr::Failed(writer.Status()) ? hr::fail : hr::ok;
}

HResult Load(ItemReader& reader, CalibrationSettings& settings) {
  std::int32_t version = 0;
  if (hr::Failed(reader.ReadInt(version))) {
    return hr::fail;
  }
  if (static_cast<std::uint32_t>(version) > static_cast<std::uint32_t>(kSettingsVersion)) {
    return hr::newerFormat;
  }

  std::int32_t showCalculated = 0;
  if (hr::Succeeded(reader.ReadInt(showCalculated))) {
    settings.showCalculated = showCalculated != 0;
  }
  (void)ReadInto(settings.sourceChannel, [&](std::int32_t& v) { return reader.ReadLong(v); });
  (void)ReadInto(settings.decimalPlaces, [&](std::int32_t& v) { return reader.ReadLong(v); });
  (void)ReadInto(settings.rangeTop, [&](double& v) { return reader.ReadDouble(v); });
  (void)ReadInto(settings.rangeBottom, [&](double& v) { return reader.ReadDouble(v); });

  std::int32_t setSize = 0;
  if (hr::Succeeded(reader.ReadInt(setSize))) {
    const auto bound = reader.RemainingItemsBound();
    if (setSize < 0 || (bound && static_cast<std::size_t>(setSize) > *bound)) {
      return hr::fail;
    }
    std::wstring entry;
    for (std::int32_t i = 0; i < setSize; ++i) {
      // The stream's own length bounds the loop: it ends at the first string it cannot give.
      if (hr::Failed(reader.ReadString(entry))) {
        break;
      }
      settings.stringSet.insert(entry);
    }
  }

  std::wstring text;
  const HResult textStatus = reader.ReadString(text);
  if (ReadParameterText(text, settings) == ParameterTextResult::Refused) {
    return hr::fail;
  }
  if (version < kSettingsVersion) {
    return textStatus;
  }

  (void)ReadInto(settings.unit.prefixIndex, [&](std::int32_t& v) { return reader.ReadInt(v); });
  (void)ReadInto(settings.unit.name, [&](std::wstring& v) { return reader.ReadString(v); });
  (void)ReadInto(settings.unit.unitKind, [&](std::int32_t& v) { return reader.ReadInt(v); });
  return hr::Failed(reader.Status()) ? hr::fail : hr::ok;
}

} // namespace

HResult SaveSettings(Tarn::ItemWriter& writer, const CalibrationSettings& settings) noexcept {
  try {
    return Save(writer, settings);
  } catch (const std::bad_alloc&) {
    return hr::outOfMemory;
  } catch (...) {
    return hr::fail;
  }
}

HResult LoadSettings(Tarn::ItemReader& reader, CalibrationSettings& settings) noexcept {
  try {
    return Load(reader, settings);
  } catch (const std::bad_alloc&) {
    return hr::outOfMemory;
  } catch (...) {
    return hr::fail;
  }
}

} // namespace MPCalibration

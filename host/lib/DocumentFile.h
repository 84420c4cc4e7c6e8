#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Document.h"
#include "HostUnit.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"

namespace Vela {

// The host's document file: the channels and their samples and, for each channel, the settings
// of its calculation (saved by the settings object itself through IPersistObject), as one
// typed-item file written through FileObjectStream.
//   "VelaDocument", version 2, channel count, (name, unit) per channel, record count, per record
//   and channel the sample count and the samples (doubles), per channel 0 or 1 for "has
//   settings" followed by the settings object's items, the unit list (count, then prefix index,
//   name and kind per unit), the recording (version 3: its channels with colour, display range,
//   units conversion and calculated flag, then per block the start time, interval, length and per
//   channel 0, or 1 and the samples), the selection (version 4: 0, or 1 and its start position,
//   start block, end position and end block), and "END". Version 3 files, without the selection
//   (read as none), version 2 files, without the recording, and version 1 files, without the unit
//   list either, are still read.
class DocumentFile {
public:
  struct Contents {
    Document document;
    // One entry per channel; empty where the channel has no calculation.
    std::vector<Tarn::ComPtr<Host::IPersistObject>> settings;
    // The host's unit list, in order.
    std::vector<UnitValue> units;
    // The recording with its timing, colours, ranges, units conversions and calculated
    // channels and the selection; empty when read from a file older than version 3.
    Recording recording;
  };

  // Writes a temporary file beside `path` and replaces `path` with it only when everything was
  // written, so a failed save leaves the previous file as it was.
  [[nodiscard]] static HRESULT Save(const std::wstring& path, const Contents& contents) noexcept;
  // Reads a document; settings objects come from `settingsClass` (CreateAndLoad). `contents` is
  // replaced only when the whole file was read; a damaged file gives STG_E_DOCFILECORRUPT (or the
  // failure of a settings load) and leaves `contents` as it was.
  [[nodiscard]] static HRESULT Load(const std::wstring& path,
                                    Host::IPersistClassObject* settingsClass,
                                    Contents& contents) noexcept;

  // Bounds that a damaged file cannot exceed.
  static constexpr std::int32_t kMaxChannels = 4096;
  static constexpr std::int32_t kMaxRecords = 1 << 20;
  static constexpr std::int32_t kMaxUnits = 4096;
};

} // namespace Vela

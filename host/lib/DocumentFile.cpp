#include "DocumentFile.h"

#include "FileObjectStream.h"
#include "foundation/win/HostBoundary.h"
#include "foundation/win/TarnString.h"

namespace Vela {
namespace {

constexpr wchar_t kMagic[] = L"VelaDocument";
constexpr wchar_t kEnd[] = L"END";
constexpr std::int32_t kVersion = 4;
constexpr std::int32_t kVersionWithoutSelection = 3;
constexpr std::int32_t kVersionWithoutRecording = 2;
constexpr std::int32_t kVersionWithoutUnits = 1;

void WriteText(Host::IObjectStream& s, const std::wstring& text) {
  const Tarn::TarnString t(text);
  s.WriteString(t.get());
}

bool ReadText(Host::IObjectStream& s, std::wstring& text) {
  Tarn::ComPtr<ITarnString> t;
  if (FAILED(s.ReadString(t.put())))
    return false;
  text = Tarn::TarnString::FromHost(t.get()).str();
  return true;
}

bool ReadCount(Host::IObjectStream& s, std::int32_t& value, std::int64_t limit) {
  return SUCCEEDED(s.ReadInt(&value)) && value >= 0 && value <= limit;
}

void WriteRecording(Host::IObjectStream& s, const Recording& r) {
  s.WriteInt(static_cast<std::int32_t>(r.ChannelCount()));
  for (const Recording::Channel& c : r.Channels()) {
    WriteText(s, c.name);
    WriteText(s, c.unit);
    s.WriteInt(static_cast<std::int32_t>(c.colour));
    s.WriteDouble(c.top);
    s.WriteDouble(c.bottom);
    s.WriteInt(c.calculated ? 1 : 0);
    s.WriteInt(c.conversion.active ? 1 : 0);
    s.WriteDouble(c.conversion.factor);
    s.WriteDouble(c.conversion.offset);
    WriteText(s, c.conversion.unit);
  }
  s.WriteInt(static_cast<std::int32_t>(r.BlockCount()));
  for (const Recording::Block& b : r.Blocks()) {
    s.WriteDouble(b.start);
    s.WriteDouble(b.interval);
    s.WriteInt(static_cast<std::int32_t>(b.length));
    for (const auto& samples : b.samples) {
      s.WriteInt(samples.empty() ? 0 : 1);
      // The file form has no floats; a double holds every float exactly.
      for (float v : samples)
        s.WriteDouble(v);
    }
  }
}

void WriteSelection(Host::IObjectStream& s, const Recording::Selection& selection) {
  s.WriteInt(selection.exists ? 1 : 0);
  if (!selection.exists)
    return;
  s.WriteInt(selection.startPosition);
  s.WriteInt(selection.startBlock);
  s.WriteInt(selection.endPosition);
  s.WriteInt(selection.endBlock);
}

bool ReadFlag(Host::IObjectStream& s, bool& flag) {
  std::int32_t value = 0;
  if (FAILED(s.ReadInt(&value)) || (value != 0 && value != 1))
    return false;
  flag = value != 0;
  return true;
}

// False on any damage; `r` is then partly read and to be dropped.
bool ReadRecording(FileObjectStream& stream, std::int32_t maxBlocks, Recording& r) {
  Host::IObjectStream& s = stream;
  std::int32_t channelCount = 0;
  if (!ReadCount(s, channelCount, static_cast<std::int64_t>(Recording::kMaxChannels)))
    return false;
  for (std::int32_t i = 0; i < channelCount; ++i) {
    Recording::Channel c;
    std::int32_t colour = 0;
    if (!ReadText(s, c.name) || !ReadText(s, c.unit) || FAILED(s.ReadInt(&colour)) ||
        FAILED(s.ReadDouble(&c.top)) || FAILED(s.ReadDouble(&c.bottom)) ||
        !ReadFlag(s, c.calculated) || !ReadFlag(s, c.conversion.active) ||
        FAILED(s.ReadDouble(&c.conversion.factor)) || FAILED(s.ReadDouble(&c.conversion.offset)) ||
        !ReadText(s, c.conversion.unit))
      return false;
    c.colour = static_cast<std::uint32_t>(colour);
    r.AddChannel(std::move(c));
  }
  std::int32_t blockCount = 0;
  if (!ReadCount(s, blockCount, maxBlocks))
    return false;
  for (std::int32_t i = 0; i < blockCount; ++i) {
    Recording::Block b;
    std::int32_t length = 0;
    // A damaged length cannot make the host allocate more than the file can hold.
    if (FAILED(s.ReadDouble(&b.start)) || FAILED(s.ReadDouble(&b.interval)) ||
        !ReadCount(s, length, static_cast<std::int64_t>(stream.RemainingItemsBound())))
      return false;
    b.length = static_cast<std::size_t>(length);
    b.samples.resize(static_cast<std::size_t>(channelCount));
    for (auto& samples : b.samples) {
      bool has = false;
      if (!ReadFlag(s, has))
        return false;
      if (!has)
        continue;
      if (static_cast<std::size_t>(length) > stream.RemainingItemsBound())
        return false;
      samples.resize(b.length);
      for (float& v : samples) {
        double d = 0.0;
        if (FAILED(s.ReadDouble(&d)))
          return false;
        v = static_cast<float>(d);
      }
    }
    try {
      r.AddBlock(std::move(b));
    } catch (const std::length_error&) {
      return false;
    }
  }
  return true;
}

// A selection outside the recording's blocks, or ending before it starts, is damage: the host
// would read past a block.
bool ReadSelection(Host::IObjectStream& s, const Recording& r, Recording::Selection& selection) {
  if (!ReadFlag(s, selection.exists))
    return false;
  if (!selection.exists)
    return true;
  if (FAILED(s.ReadInt(&selection.startPosition)) || FAILED(s.ReadInt(&selection.startBlock)) ||
      FAILED(s.ReadInt(&selection.endPosition)) || FAILED(s.ReadInt(&selection.endBlock)))
    return false;
  const auto inside = [&r](std::int32_t position, std::int32_t block) {
    return block >= 0 && static_cast<std::size_t>(block) < r.BlockCount() && position >= 0 &&
           static_cast<std::size_t>(position) < r.BlockAt(static_cast<std::size_t>(block)).length;
  };
  return inside(selection.startPosition, selection.startBlock) &&
         inside(selection.endPosition, selection.endBlock) &&
         (selection.endBlock > selection.startBlock ||
          (selection.endBlock == selection.startBlock &&
           selection.endPosition >= selection.startPosition));
}

} // namespace

HRESULT DocumentFile::Save(const std::wstring& path, const Contents& contents) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    const Document& doc = contents.document;
    if (contents.settings.size() != doc.ChannelCount())
      return E_INVALIDARG;
    const std::wstring temporary = path + L".saving";
    HRESULT hr = S_OK;
    const auto stream = Tarn::ComPtr<FileObjectStream>::Adopt(
        FileObjectStream::Open(temporary, FileObjectStream::Mode::Write, &hr));
    if (!stream)
      return hr;
    Host::IObjectStream& s = *stream;
    WriteText(s, kMagic);
    s.WriteInt(kVersion);
    s.WriteInt(static_cast<std::int32_t>(doc.ChannelCount()));
    for (const auto& channel : doc.Channels()) {
      WriteText(s, channel.name);
      WriteText(s, channel.unit);
    }
    s.WriteInt(static_cast<std::int32_t>(doc.RecordCount()));
    for (std::size_t r = 0; r < doc.RecordCount(); ++r)
      for (std::size_t c = 0; c < doc.ChannelCount(); ++c) {
        const auto samples = doc.Samples(r, c);
        s.WriteInt(static_cast<std::int32_t>(samples->size()));
        for (float v : *samples)
          s.WriteDouble(v);
      }
    for (const auto& settings : contents.settings) {
      s.WriteInt(settings ? 1 : 0);
      if (settings && FAILED(hr = settings->Save(&s)))
        return hr;
    }
    s.WriteInt(static_cast<std::int32_t>(contents.units.size()));
    for (const UnitValue& unit : contents.units) {
      s.WriteInt(unit.prefixIndex);
      WriteText(s, unit.name);
      s.WriteInt(unit.kind);
    }
    WriteRecording(s, contents.recording);
    WriteSelection(s, contents.recording.selection);
    WriteText(s, kEnd);
    if (FAILED(hr = stream->Commit())) {
      DeleteFileW(temporary.c_str());
      return hr;
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      hr = HRESULT_FROM_WIN32(GetLastError());
      DeleteFileW(temporary.c_str());
      return hr;
    }
    return S_OK;
  });
}

HRESULT DocumentFile::Load(const std::wstring& path, Host::IPersistClassObject* settingsClass,
                           Contents& contents) noexcept {
  return Tarn::Guard([&]() -> HRESULT {
    HRESULT hr = S_OK;
    const auto stream = Tarn::ComPtr<FileObjectStream>::Adopt(
        FileObjectStream::Open(path, FileObjectStream::Mode::Read, &hr));
    if (!stream)
      return hr;
    Host::IObjectStream& s = *stream;
    constexpr HRESULT damaged = STG_E_DOCFILECORRUPT;
    std::wstring text;
    std::int32_t version = 0;
    if (!ReadText(s, text) || text != kMagic || FAILED(s.ReadInt(&version)) ||
        (version != kVersion && version != kVersionWithoutSelection &&
         version != kVersionWithoutRecording && version != kVersionWithoutUnits))
      return damaged;

    std::int32_t channelCount = 0;
    if (!ReadCount(s, channelCount, kMaxChannels))
      return damaged;
    std::vector<Document::Channel> channels(static_cast<std::size_t>(channelCount));
    for (auto& channel : channels)
      if (!ReadText(s, channel.name) || !ReadText(s, channel.unit))
        return damaged;
    Contents loaded{Document(std::move(channels)), {}, {}, {}};

    std::int32_t recordCount = 0;
    if (!ReadCount(s, recordCount, kMaxRecords))
      return damaged;
    for (std::int32_t r = 0; r < recordCount; ++r) {
      std::vector<Document::Block> blocks(static_cast<std::size_t>(channelCount));
      for (auto& block : blocks) {
        std::int32_t n = 0;
        // A damaged count cannot make the host allocate more than the file can hold.
        if (!ReadCount(s, n, static_cast<std::int64_t>(stream->RemainingItemsBound())))
          return damaged;
        block.resize(static_cast<std::size_t>(n));
        for (float& v : block) {
          double d = 0;
          if (FAILED(s.ReadDouble(&d)))
            return damaged;
          v = static_cast<float>(d);
        }
      }
      loaded.document.AddRecord(std::move(blocks));
    }

    loaded.settings.resize(static_cast<std::size_t>(channelCount));
    for (auto& settings : loaded.settings) {
      std::int32_t has = 0;
      if (FAILED(s.ReadInt(&has)) || (has != 0 && has != 1))
        return damaged;
      if (!has)
        continue;
      if (!settingsClass)
        return E_INVALIDARG;
      hr = settingsClass->CreateAndLoad(&s, settings.put());
      if (FAILED(hr))
        return hr;
      if (FAILED(s.GetStatus()))
        return damaged;
    }
    if (version >= kVersionWithoutRecording) {
      std::int32_t unitCount = 0;
      if (!ReadCount(s, unitCount, kMaxUnits))
        return damaged;
      loaded.units.resize(static_cast<std::size_t>(unitCount));
      for (UnitValue& unit : loaded.units)
        if (FAILED(s.ReadInt(&unit.prefixIndex)) || !ReadText(s, unit.name) ||
            FAILED(s.ReadInt(&unit.kind)))
          return damaged;
    }
    if (version >= kVersionWithoutSelection &&
        !ReadRecording(*stream, kMaxRecords, loaded.recording))
      return damaged;
    if (version >= kVersion && !ReadSelection(s, loaded.recording, loaded.recording.selection))
      return damaged;
    if (!ReadText(s, text) || text != kEnd || !stream->AtEnd())
      return damaged;
    contents = std::move(loaded);
    return S_OK;
  });
}

} // namespace Vela

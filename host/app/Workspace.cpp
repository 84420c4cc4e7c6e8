#include "Workspace.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <limits>

#include "HostChannelCalc.h"
#include "foundation/win/UniqueHandle.h"

namespace Vela {
namespace {

std::wstring LowerExtension(const std::wstring& path) {
  const auto dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || path.find_first_of(L"\\/", dot) != std::wstring::npos)
    return {};
  std::wstring ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return ext;
}

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

} // namespace

HRESULT Workspace::Open(const std::wstring& path, std::wstring& error) {
  error.clear();
  const std::wstring ext = LowerExtension(path);
  if (ext != L".csv" && ext != L".tsv" && ext != L".txt") {
    error = L"not a CSV recording";
    return E_INVALIDARG;
  }
  Tarn::unique_file file(_wfopen(path.c_str(), L"rb"));
  if (!file) {
    error = L"the file cannot be read";
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    text.append(buffer, n);
  try {
    Recording opened = Recording::ImportCsv(text);
    Close();
    recording_ = std::move(opened);
    path_ = path;
    return S_OK;
  } catch (const RecordingError& e) {
    error = Widen(e.what());
  } catch (const std::exception& e) {
    error = Widen(e.what());
  }
  return E_FAIL;
}

void Workspace::Close() noexcept {
  calculations_.clear();
}

const Workspace::Calculation* Workspace::Find(std::size_t channel) const noexcept {
  for (const auto& c : calculations_)
    if (c.channel == channel)
      return &c;
  return nullptr;
}

std::shared_ptr<const Document> Workspace::Mirror() const {
  std::vector<Document::Channel> channels;
  for (const auto& c : recording_.Channels())
    channels.push_back({c.name, c.DataUnit()});
  auto doc = std::make_shared<Document>(std::move(channels));
  for (const auto& block : recording_.Blocks())
    doc->AddRecord(block.samples);
  return doc;
}

HRESULT Workspace::EditCalibration(HWND owner, std::size_t channel) {
  if (channel >= recording_.ChannelCount())
    return E_INVALIDARG;
  const auto calcClass = module_.CalculationClass();
  if (!calcClass)
    return REGDB_E_CLASSNOTREG;
  const Calculation* existing = Find(channel);
  Calculation fresh;
  Tarn::ComPtr<Host::IPersistObject> current;
  std::int32_t sourceChannel = static_cast<std::int32_t>(channel);
  if (existing) {
    if (const HRESULT hr = existing->calc->GetSettings(current.put()); FAILED(hr))
      return hr;
    if (const HostChannelCalc* calc = HostChannelCalc::From(existing->result.get()))
      sourceChannel = calc->Record().source.channel;
  } else {
    // The calculation goes on the channel the recording would add for it.
    fresh.channel = recording_.ChannelCount();
    fresh.source.Attach(HostDataSource::Create(Mirror()));
    const HRESULT hr = module_.CreateCalculation(
        static_cast<std::int32_t>(fresh.channel),
        static_cast<Host::IHostDataSource*>(fresh.source.get()), fresh.result, fresh.calc);
    if (FAILED(hr))
      return hr;
  }
  const Calculation& target = existing ? *existing : fresh;
  Tarn::ComPtr<Host::IPersistObject> edited;
  HRESULT hr = calcClass->EditSettings(owner, nullptr, nullptr, nullptr, sourceChannel,
                                       current.get(), edited.put());
  if (hr != S_OK)
    return hr;
  if (!edited)
    return E_POINTER;
  if (FAILED(hr = target.calc->ApplySettings(edited.get(), 1)))
    return hr;
  if (!existing) {
    Recording::Channel added;
    added.name = recording_.ChannelAt(channel).name + L" calibrated";
    added.colour = DefaultTraceColour(recording_.ChannelCount());
    added.calculated = true;
    recording_.AddChannel(std::move(added));
    calculations_.push_back(std::move(fresh));
    return Fill(calculations_.back());
  }
  return Fill(target);
}

HRESULT Workspace::Fill(const Calculation& calculation) {
  const HostChannelCalc* calc = HostChannelCalc::From(calculation.result.get());
  if (!calc || calc->Record().sourceCalls == 0)
    return E_FAIL;
  const CalcRecord& record = calc->Record();
  const auto source = static_cast<std::size_t>(record.source.channel);
  if (source >= recording_.ChannelCount())
    return E_FAIL;
  IUnknown* params = nullptr;
  if (const HRESULT hr = calculation.source->GetChannelInfo(&params); FAILED(hr))
    return hr;
  const auto info = Tarn::ComPtr<IUnknown>::Adopt(params);
  for (std::size_t b = 0; b < recording_.BlockCount(); ++b) {
    std::vector<float> samples;
    const auto enumerator = calculation.source->Source(b, source);
    if (const HRESULT hr =
            module_.PullCalibrated(record.parameterText, info.get(), enumerator.get(), samples);
        FAILED(hr))
      return hr;
    samples.resize(recording_.BlockAt(b).length, std::numeric_limits<float>::quiet_NaN());
    recording_.SetSamples(b, calculation.channel, std::move(samples));
  }
  Recording::Channel& channel = recording_.ChannelAt(calculation.channel);
  const auto& units = calculation.source->OutputUnitRequests();
  if (!units.empty()) {
    channel.unit = units.back().unitName;
    const auto& fields = units.back().fields;
    if (fields.top > fields.bottom) {
      channel.top = fields.top;
      channel.bottom = fields.bottom;
      return S_OK;
    }
  }
  recording_.FitDisplayRange(calculation.channel);
  return S_OK;
}

} // namespace Vela

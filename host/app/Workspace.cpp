#include "Workspace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <limits>

#include "DocumentFile.h"
#include "HostApplication.h"
#include "HostChannelCalc.h"
#include "HostIds.h"
#include "HostText.h"
#include "HostUnitCollection.h"
#include "OutputRange.h"
#include "foundation/win/TarnString.h"
#include "foundation/win/UniqueHandle.h"
#include "units/UnitPrefixes.h"

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

// An imported channel is shown with a margin above and below its samples, so that a trace at
// its extremes stays in sight.
void WidenDisplayRange(Recording::Channel& channel) {
  const double margin = (channel.top - channel.bottom) * 0.05;
  if (std::isfinite(margin) && margin > 0) {
    channel.top += margin;
    channel.bottom -= margin;
  }
}

// The code of the display-range message the calculation's settings entry sends.
constexpr std::int32_t kDisplayRangeCode = 817;

} // namespace

HRESULT Workspace::Open(const std::wstring& path, std::wstring& error) {
  error.clear();
  const std::wstring ext = LowerExtension(path);
  if (ext != L".csv" && ext != L".tsv" && ext != L".txt")
    return OpenDocument(path, error);
  Tarn::unique_file file(_wfopen(path.c_str(), L"rb"));
  if (!file) {
    error = HostString(IDS_CANNOT_READ);
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  std::string text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    text.append(buffer, n);
  try {
    auto opened = std::make_shared<Recording>(Recording::ImportCsv(text));
    for (std::size_t c = 0; c < opened->ChannelCount(); ++c)
      WidenDisplayRange(opened->ChannelAt(c));
    Close();
    recording_ = std::move(opened);
    document_.Attach(HostDocument::Create(recording_));
    path_ = path;
    isDocument_ = false;
    return S_OK;
  } catch (const std::exception& e) {
    error = Widen(e.what());
  }
  return E_FAIL;
}

HRESULT Workspace::OpenDocument(const std::wstring& path, std::wstring& error) {
  const auto settingsClass = module_.SettingsClass();
  if (!settingsClass)
    return REGDB_E_CLASSNOTREG;
  DocumentFile::Contents contents;
  HRESULT hr = DocumentFile::Load(path, settingsClass.get(), contents);
  if (FAILED(hr) || contents.recording.ChannelCount() == 0) {
    error = HostString(IDS_NOT_A_DOCUMENT);
    return FAILED(hr) ? hr : E_FAIL;
  }
  auto opened = std::make_shared<Recording>(std::move(contents.recording));
  std::vector<Calculation> calculations;
  for (std::size_t c = 0; c < contents.settings.size() && c < opened->ChannelCount(); ++c) {
    if (!contents.settings[c])
      continue;
    Calculation made;
    if (FAILED(hr = MakeCalculation(*opened, c, made)) ||
        FAILED(hr = made.calc->ApplySettings(contents.settings[c].get(), 1))) {
      error = HostString(IDS_NOT_A_DOCUMENT);
      return hr;
    }
    calculations.push_back(std::move(made));
  }
  Close();
  recording_ = std::move(opened);
  calculations_ = std::move(calculations);
  document_.Attach(HostDocument::Create(recording_));
  HostApplication::Instance().UnitList().Replace(contents.units);
  path_ = path;
  isDocument_ = true;
  // The calculated samples are the module's to give again, as after a change of settings.
  for (const auto& c : calculations_)
    if (FAILED(hr = Fill(c, OutputUnits{}))) {
      error = HostString(IDS_NOT_A_DOCUMENT);
      return hr;
    }
  return S_OK;
}

HRESULT Workspace::Save(const std::wstring& path) {
  DocumentFile::Contents contents{*Mirror(*recording_), {}, {}, *recording_};
  contents.settings.resize(recording_->ChannelCount());
  for (const auto& c : calculations_)
    if (const HRESULT hr = c.calc->GetSettings(contents.settings.at(c.channel).put()); FAILED(hr))
      return hr;
  contents.units = HostApplication::Instance().UnitList().Units();
  const HRESULT hr = DocumentFile::Save(path, contents);
  if (SUCCEEDED(hr)) {
    path_ = path;
    isDocument_ = true;
  }
  return hr;
}

void Workspace::Close() noexcept {
  calculations_.clear();
  document_.reset();
}

const Workspace::Calculation* Workspace::Find(std::size_t channel) const noexcept {
  for (const auto& c : calculations_)
    if (c.channel == channel)
      return &c;
  return nullptr;
}

std::shared_ptr<const Document> Workspace::Mirror(const Recording& recording) {
  std::vector<Document::Channel> channels;
  for (const auto& c : recording.Channels())
    channels.push_back({c.name, c.DataUnit()});
  auto doc = std::make_shared<Document>(std::move(channels));
  for (const auto& block : recording.Blocks())
    doc->AddRecord(block.samples);
  return doc;
}

HRESULT Workspace::MakeCalculation(const Recording& recording, std::size_t channel,
                                   Calculation& made) const {
  made.channel = channel;
  made.source.Attach(HostDataSource::Create(Mirror(recording)));
  return module_.CreateCalculation(static_cast<std::int32_t>(channel),
                                   static_cast<Host::IHostDataSource*>(made.source.get()),
                                   made.result, made.calc);
}

HRESULT Workspace::EditCalibration(HWND owner, std::size_t channel) {
  if (channel >= recording_->ChannelCount())
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
    if (const HRESULT hr = MakeCalculation(*recording_, recording_->ChannelCount(), fresh);
        FAILED(hr))
      return hr;
  }
  const Calculation& target = existing ? *existing : fresh;
  const std::size_t seen = document_->Received().size();
  Tarn::ComPtr<Host::IPersistObject> edited;
  HRESULT hr = calcClass->EditSettings(owner, nullptr, DocumentObject(), nullptr, sourceChannel,
                                       current.get(), edited.put());
  if (hr == E_FAIL)
    return kRefusedAndTold;
  if (hr != S_OK)
    return hr;
  if (!edited)
    return E_POINTER;
  if (FAILED(hr = target.calc->ApplySettings(edited.get(), 1)))
    return hr;
  OutputUnits shown;
  for (const Host::DisplayRangePayload& message : document_->DisplayRanges(seen))
    if (message.code == kDisplayRangeCode && message.channel == sourceChannel)
      shown = {message.top, message.bottom};
  if (!existing) {
    Recording::Channel added;
    added.name = recording_->ChannelAt(channel).name + L" calibrated";
    added.colour = DefaultTraceColour(recording_->ChannelCount());
    added.calculated = true;
    recording_->AddChannel(std::move(added));
    calculations_.push_back(std::move(fresh));
    return Fill(calculations_.back(), shown);
  }
  return Fill(target, shown);
}

HRESULT Workspace::Fill(const Calculation& calculation, OutputUnits shown) {
  const HostChannelCalc* calc = HostChannelCalc::From(calculation.result.get());
  if (!calc || calc->Record().sourceCalls == 0)
    return E_FAIL;
  const CalcRecord& record = calc->Record();
  const auto source = static_cast<std::size_t>(record.source.channel);
  if (source >= recording_->ChannelCount())
    return E_FAIL;
  IUnknown* params = nullptr;
  if (const HRESULT hr = calculation.source->GetChannelInfo(&params); FAILED(hr))
    return hr;
  const auto info = Tarn::ComPtr<IUnknown>::Adopt(params);
  for (std::size_t b = 0; b < recording_->BlockCount(); ++b) {
    std::vector<float> samples;
    const auto enumerator = calculation.source->Source(b, source);
    if (const HRESULT hr =
            module_.PullCalibrated(record.parameterText, info.get(), enumerator.get(), samples);
        FAILED(hr))
      return hr;
    samples.resize(recording_->BlockAt(b).length, std::numeric_limits<float>::quiet_NaN());
    recording_->SetSamples(b, calculation.channel, std::move(samples));
  }
  Recording::Channel& channel = recording_->ChannelAt(calculation.channel);
  // The unit, as the host asks a calculation for its output.
  Tarn::ComPtr<Host::IUnitName> unit;
  std::int32_t prefixIndex = 1;
  if (SUCCEEDED(
          calculation.calc->GetOutputInfo(0, nullptr, unit.put(), nullptr, nullptr, nullptr)) &&
      unit) {
    ITarnString* name = nullptr;
    if (SUCCEEDED(unit->GetName(TRUE, &name)) && name)
      channel.unit = Tarn::TarnString::AdoptHost(name).str();
    if (FAILED(unit->GetPrefixIndex(&prefixIndex)))
      prefixIndex = 1;
  }
  // The display range is the one the calculation's output scaling was made for; only a scaling
  // that gives none leaves the channel to be shown around its samples.
  if (const auto range =
          RangeFromOutputScaling(record.scaling.factor, record.scaling.offset,
                                 Tarn::PrefixScaleFactor(prefixIndex), shown.top, shown.bottom)) {
    channel.top = range->top;
    channel.bottom = range->bottom;
  } else {
    recording_->FitDisplayRange(calculation.channel);
    WidenDisplayRange(channel);
  }
  return S_OK;
}

} // namespace Vela

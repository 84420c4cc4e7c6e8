#include "HostSession.h"

#include "ChannelEnum.h"
#include "HostApplication.h"
#include "HostChannelCalc.h"
#include "HostChannelInformation.h"
#include "HostUnitCollection.h"

namespace Vela {

HostSession::~HostSession() {
  Close();
}

void HostSession::Close() noexcept {
  channels_.clear();
  source_.reset();
}

void HostSession::Open(std::shared_ptr<const Document> document) {
  Close();
  document_ = std::move(document);
  source_.Attach(HostDataSource::Create(document_));
  channels_.resize(document_->ChannelCount());
}

HRESULT HostSession::Calibrate(std::size_t channel, Host::IPersistObject* settings) {
  if (channel >= channels_.size() || !settings)
    return E_INVALIDARG;
  ChannelCalc& c = channels_[channel];
  if (!c.calc) {
    const HRESULT hr = module_.CreateCalculation(static_cast<std::int32_t>(channel),
                                                 static_cast<Host::IHostDataSource*>(source_.get()),
                                                 c.result, c.calc);
    if (FAILED(hr))
      return hr;
  }
  return c.calc->ApplySettings(settings, 1);
}

HRESULT HostSession::Calibrate(std::size_t channel, const Calibration& calibration) {
  Tarn::ComPtr<Host::IPersistObject> settings;
  const HRESULT hr = module_.MakeSettings(calibration, settings);
  if (FAILED(hr))
    return hr;
  return Calibrate(channel, settings.get());
}

HRESULT HostSession::Calibrated(std::size_t channel, std::size_t record,
                                std::vector<float>& samples) const {
  samples.clear();
  if (channel >= channels_.size() || record >= document_->RecordCount())
    return E_INVALIDARG;
  const ChannelCalc& c = channels_[channel];
  const HostChannelCalc* calc = c.result ? HostChannelCalc::From(c.result.get()) : nullptr;
  if (!calc || calc->Record().sourceCalls == 0)
    return E_FAIL;
  const CalcRecord& received = calc->Record();
  const auto sourceChannel = static_cast<std::size_t>(received.source.channel);
  if (sourceChannel >= document_->ChannelCount())
    return E_FAIL;
  const auto source = source_->Source(record, sourceChannel);
  IUnknown* params = nullptr;
  source_->GetChannelInfo(&params);
  const auto info = Tarn::ComPtr<IUnknown>::Adopt(params);
  return module_.PullCalibrated(received.parameterText, info.get(), source.get(), samples);
}

HRESULT HostSession::FillCalculated(std::size_t channel, Recording& recording,
                                    std::size_t target) const {
  if (channel >= channels_.size() || target >= recording.ChannelCount())
    return E_INVALIDARG;
  const ChannelCalc& c = channels_[channel];
  const HostChannelCalc* calc = c.result ? HostChannelCalc::From(c.result.get()) : nullptr;
  if (!calc || calc->Record().sourceCalls == 0)
    return E_FAIL;
  const CalcRecord& received = calc->Record();
  const auto sourceChannel = static_cast<std::size_t>(received.source.channel);
  if (sourceChannel >= recording.ChannelCount() || sourceChannel == target)
    return E_INVALIDARG;
  IUnknown* params = nullptr;
  source_->GetChannelInfo(&params);
  const auto info = Tarn::ComPtr<IUnknown>::Adopt(params);
  std::vector<std::vector<float>> filled(recording.BlockCount());
  for (std::size_t b = 0; b < recording.BlockCount(); ++b) {
    auto input = std::make_shared<std::vector<float>>(recording.Samples(b, sourceChannel));
    HostChannelInformation::ToCalculationInput(recording.ChannelAt(sourceChannel), *input);
    const auto source =
        Tarn::ComPtr<Host::IEnumFloatEx>::Adopt(ChannelEnum::Create(std::move(input)));
    const HRESULT hr =
        module_.PullCalibrated(received.parameterText, info.get(), source.get(), filled[b]);
    if (FAILED(hr))
      return hr;
    if (filled[b].size() != recording.BlockAt(b).length)
      return E_FAIL;
  }
  for (std::size_t b = 0; b < filled.size(); ++b)
    recording.SetSamples(b, target, std::move(filled[b]));
  return S_OK;
}

HRESULT HostSession::Save(const std::wstring& path, const Recording* recording) const {
  DocumentFile::Contents contents{*document_, {}, {}, recording ? *recording : Recording()};
  for (const auto& c : channels_) {
    Tarn::ComPtr<Host::IPersistObject> settings;
    if (c.calc) {
      const HRESULT hr = c.calc->GetSettings(settings.put());
      if (FAILED(hr))
        return hr;
    }
    contents.settings.push_back(std::move(settings));
  }
  contents.units = HostApplication::Instance().UnitList().Units();
  return DocumentFile::Save(path, contents);
}

HRESULT HostSession::Load(const std::wstring& path, Recording* recording) {
  const auto settingsClass = module_.SettingsClass();
  if (!settingsClass)
    return REGDB_E_CLASSNOTREG;
  DocumentFile::Contents contents;
  HRESULT hr = DocumentFile::Load(path, settingsClass.get(), contents);
  if (FAILED(hr))
    return hr;
  HostSession opened(module_);
  opened.Open(std::make_shared<const Document>(std::move(contents.document)));
  for (std::size_t c = 0; c < contents.settings.size(); ++c)
    if (contents.settings[c] && FAILED(hr = opened.Calibrate(c, contents.settings[c].get())))
      return hr;
  std::swap(document_, opened.document_);
  std::swap(source_, opened.source_);
  std::swap(channels_, opened.channels_);
  HostApplication::Instance().UnitList().Replace(contents.units);
  if (recording)
    *recording = std::move(contents.recording);
  return S_OK;
}

} // namespace Vela

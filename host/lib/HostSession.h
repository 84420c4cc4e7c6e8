#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Calibration.h"
#include "DocumentFile.h"
#include "HostDataSource.h"
#include "ModuleHost.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"

namespace Vela {

// One document open in the host program with the calculations of its channels: what the host
// does for a user who calibrates channels, saves the document and opens it again.
class HostSession {
public:
  explicit HostSession(ModuleHost& module) : module_(module) {}
  ~HostSession();

  // Replaces the document (its channels have no calculations yet).
  void Open(std::shared_ptr<const Document> document);
  // Creates the channel's calculation (once) and applies `settings` to it, asking for a new
  // enumerator as the host does after the settings dialog.
  [[nodiscard]] HRESULT Calibrate(std::size_t channel, Host::IPersistObject* settings);
  [[nodiscard]] HRESULT Calibrate(std::size_t channel, const Calibration& calibration);
  // The calibrated samples of a channel in a record, pulled from a fresh enumerator made through
  // the enumerator class over the source channel's samples.
  [[nodiscard]] HRESULT Calibrated(std::size_t channel, std::size_t record,
                                   std::vector<float>& samples) const;
  // Fills `target`, a channel of `recording`, block by block with the calibrated samples of this
  // session's calculation on `channel`, each block read from the recording's channel that the
  // calculation names as its source. On failure the recording is left as it was.
  [[nodiscard]] HRESULT FillCalculated(std::size_t channel, Recording& recording,
                                       std::size_t target) const;
  // Saves the document, with `recording` when one is given.
  [[nodiscard]] HRESULT Save(const std::wstring& path, const Recording* recording = nullptr) const;
  // Opens a saved document and applies each channel's stored settings, and hands the saved
  // recording to `recording` when one is given (empty from a file older than version 3); on
  // failure the session and `recording` keep what they had.
  [[nodiscard]] HRESULT Load(const std::wstring& path, Recording* recording = nullptr);

  const Document& Doc() const noexcept { return *document_; }
  bool HasCalculation(std::size_t channel) const {
    return channel < channels_.size() && channels_[channel].calc;
  }
  // Drops the calculations and the data source.
  void Close() noexcept;

private:
  struct ChannelCalc {
    Tarn::ComPtr<IUnknown> result;
    Tarn::ComPtr<Host::IChannelCalc> calc;
  };

  ModuleHost& module_;
  std::shared_ptr<const Document> document_ = std::make_shared<const Document>();
  Tarn::ComPtr<HostDataSource> source_;
  std::vector<ChannelCalc> channels_;
};

} // namespace Vela

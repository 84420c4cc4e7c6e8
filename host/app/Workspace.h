#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "HostDataSource.h"
#include "HostDocument.h"
#include "ModuleHost.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"

namespace Vela {

// The document open in the host program: its recording, the file it came from, and the module's
// calculations that fill its calculated channels.
class Workspace {
public:
  explicit Workspace(ModuleHost& module) : module_(module) {}
  ~Workspace() { Close(); }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Opens a CSV recording (.csv, .tsv, .txt) or a saved document (anything else), whose
  // calculated channels are filled again through the module; on failure the workspace keeps what
  // it had and `error` says why in words for the user (the line of a bad CSV file included).
  [[nodiscard]] HRESULT Open(const std::wstring& path, std::wstring& error);
  // Saves the document: the recording, each calculation's settings and the unit list. A saved
  // document becomes the workspace's file.
  [[nodiscard]] HRESULT Save(const std::wstring& path);
  // Whether the workspace's file is a document (Save can write it back) rather than a CSV import.
  bool IsDocument() const noexcept { return isDocument_; }

  Recording& Rec() noexcept { return *recording_; }
  const Recording& Rec() const noexcept { return *recording_; }
  const std::wstring& Path() const noexcept { return path_; }
  bool IsCalculated(std::size_t channel) const noexcept { return Find(channel) != nullptr; }
  // The module's calculation that fills `channel` (null for a recorded channel), borrowed.
  Host::IChannelCalc* CalculationOf(std::size_t channel) const noexcept {
    const Calculation* c = Find(channel);
    return c ? c->calc.get() : nullptr;
  }
  // The document object handed to the module (null before a file is opened).
  Host::IHostDocument* DocumentObject() const noexcept {
    return document_ ? static_cast<Host::IHostDocument*>(document_.get()) : nullptr;
  }

  // The module's settings editing for `channel`: a raw channel gets a calculation on a new
  // channel the first time (kept only when the user confirms the settings), a calculated one is
  // edited in place. S_OK: settings applied and the channel filled, in the unit and display
  // range the calculation gives; S_FALSE: cancelled, nothing changed; a failure as the module or
  // the host gave it, nothing kept; kRefusedAndTold when the module refused the channel and has
  // told the user why (its E_FAIL, kept apart from a failure of applying the settings).
  [[nodiscard]] HRESULT EditCalibration(HWND owner, std::size_t channel);
  static constexpr HRESULT kRefusedAndTold = HRESULT_FROM_WIN32(ERROR_CANCELLED);

  // Drops the calculations (before the module's objects are counted at exit).
  void Close() noexcept;

private:
  struct Calculation {
    std::size_t channel = 0;
    Tarn::ComPtr<HostDataSource> source;
    Tarn::ComPtr<IUnknown> result;
    Tarn::ComPtr<Host::IChannelCalc> calc;
  };

  // The internal units of a calculated channel's output that its display range shows: the whole
  // output unless the module's display-range message names others.
  struct OutputUnits {
    double top = 32000.0;
    double bottom = -32000.0;
  };

  const Calculation* Find(std::size_t channel) const noexcept;
  // A recording's channels as the host library's document, for the data sources the module
  // reads.
  static std::shared_ptr<const Document> Mirror(const Recording& recording);
  [[nodiscard]] HRESULT OpenDocument(const std::wstring& path, std::wstring& error);
  // A calculation on `channel` of `recording`, reading through a data source of its own.
  [[nodiscard]] HRESULT MakeCalculation(const Recording& recording, std::size_t channel,
                                        Calculation& made) const;
  // Pulls the calculated samples of every block into the recording, with the unit the module
  // gave and the display range its output scaling gives `shown`.
  [[nodiscard]] HRESULT Fill(const Calculation& calculation, OutputUnits shown);

  ModuleHost& module_;
  // Shared with the host's document objects that the module reads.
  std::shared_ptr<Recording> recording_ = std::make_shared<Recording>();
  std::wstring path_;
  bool isDocument_ = false;
  // The document object the module's settings editing reads the selection and channels from.
  Tarn::ComPtr<HostDocument> document_;
  std::vector<Calculation> calculations_;
};

} // namespace Vela

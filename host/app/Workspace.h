#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "HostDataSource.h"
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

  // Opens a CSV recording (.csv, .tsv, .txt); on failure the workspace keeps what it had and
  // `error` says why in words for the user (the line of a bad CSV file included).
  [[nodiscard]] HRESULT Open(const std::wstring& path, std::wstring& error);

  Recording& Rec() noexcept { return recording_; }
  const Recording& Rec() const noexcept { return recording_; }
  const std::wstring& Path() const noexcept { return path_; }
  bool IsCalculated(std::size_t channel) const noexcept { return Find(channel) != nullptr; }

  // The module's settings editing for `channel`: a raw channel gets a calculation on a new
  // channel the first time (kept only when the user confirms the settings), a calculated one is
  // edited in place. S_OK: settings applied and the channel filled; S_FALSE: cancelled; a failure
  // as the module or the host gave it (E_NOTIMPL while the module cannot edit settings).
  [[nodiscard]] HRESULT EditCalibration(HWND owner, std::size_t channel);

  // Drops the calculations (before the module's objects are counted at exit).
  void Close() noexcept;

private:
  struct Calculation {
    std::size_t channel = 0;
    Tarn::ComPtr<HostDataSource> source;
    Tarn::ComPtr<IUnknown> result;
    Tarn::ComPtr<Host::IChannelCalc> calc;
  };

  const Calculation* Find(std::size_t channel) const noexcept;
  // The recording's raw channels as the host library's document, for the data sources the
  // module reads.
  std::shared_ptr<const Document> Mirror() const;
  // Pulls the calculated samples of every block into the recording, with the unit and the
  // display range the module gave.
  [[nodiscard]] HRESULT Fill(const Calculation& calculation);

  ModuleHost& module_;
  Recording recording_;
  std::wstring path_;
  std::vector<Calculation> calculations_;
};

} // namespace Vela

#pragma once
#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "BandLayout.h"
#include "DataSelection.h"
#include "Recording.h"
#include "TimeLayout.h"
#include "foundation/win/UniqueHandle.h"
#include "window/win/BaseWindow.h"

namespace Vela {

// The data window of the host program: every channel of a recording as a trace against time, one
// band per channel with its vertical scale, name and unit, the blocks side by side along a time
// axis at the bottom. Dragging across it selects a stretch of samples, which it writes into the
// recording's selection; a click picks the band whose channel the Channel menu acts on.
class DataWindow final : public Tarn::Window::BaseWindow<DataWindow> {
public:
  static constexpr const wchar_t* ClassName = L"VelaDataWindow";
  // The notification code of the WM_COMMAND the parent gets when the selection or the picked
  // band changed.
  static constexpr int kChanged = 1;

  HWND Create(HWND parent, int id);
  // The recording shown (borrowed; null shows an empty window). Resets the picked band.
  void SetRecording(Recording* recording);
  // Redraws after the recording's channels or samples changed.
  void Refresh();

  // The band picked last by a click or a drag, -1 when none.
  int PickedChannel() const noexcept { return picked_; }
  void PickChannel(int channel);
  // The channel whose band holds the client point, -1 outside every band.
  int ChannelAt(POINT client) const;
  // Where the plot of band `channel` lies (client coordinates), and the time axis' layout.
  RECT BandRect(int channel) const;
  const TimeLayout& Layout() const noexcept { return time_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  struct Metrics {
    int dpi = 96;
    int textHeight = 0;
    int scaleWidth = 0; // left of the plots: tick labels and the axis line
    int axisHeight = 0; // below the plots: time labels and the axis title
    int margin = 0;
    int bandGap = 0;
    int blockGap = 0;
    int tick = 0;
  };

  void UpdateFonts();
  void UpdateLayout();
  void Paint(HDC dc, const RECT& client);
  void PaintBand(HDC dc, std::size_t channel);
  void PaintTrace(HDC dc, std::size_t channel, const RECT& plot, double bottom, double top);
  void PaintTimeAxis(HDC dc);
  void PaintSelection(HDC dc, const RECT& plot);
  void DragTo(int x);
  void NotifyParent();
  // Shift+Left and Shift+Right: the selection's end moves by a few pixels' worth of samples.
  void ExtendByKey(int direction);

  Recording* recording_ = nullptr;
  Metrics metrics_;
  Tarn::unique_hfont font_;
  Tarn::unique_hfont boldFont_;
  TimeLayout time_;
  BandLayout bands_{0, 0, 0, 0};
  int picked_ = -1;
  std::optional<int> dragAnchor_;
  std::optional<std::pair<int, int>> keyEnds_; // anchor and moving end of a keyboard selection
};

} // namespace Vela

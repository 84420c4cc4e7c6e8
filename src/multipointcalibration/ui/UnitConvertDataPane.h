#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "foundation/win/ComPtr.h"
#include "hostapi/HostInterfaces.h"
#include "multipointcalibration/PaneArithmetic.h"
#include "window/win/BaseWindow.h"

namespace MPCalibration {

class CDragScale;

// The calibration dialog's view of the selected samples: the trace against the scale beside it,
// a range the user marks with the mouse, and the mean, maximum and minimum of the marked samples
// as markers in a strip at the right edge. A double-click asks the parent (message 0x040A) to
// take the mean.
class UnitConvertDataPane : public Tarn::Window::BaseWindow<UnitConvertDataPane> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalUnitConvertDataPane";
  static constexpr UINT kTakeMeanMessage = WM_USER + 10;

  enum State { NoSelection = 0, NotContinuous = 1, NoData = 2, Data = 3 };

  explicit UnitConvertDataPane(COLORREF colour) noexcept;
  ~UnitConvertDataPane();

  // A child window of `parent` at `rect` (parent client coordinates).
  bool Create(HWND parent, const RECT& rect, int id = 0) noexcept;
  // Observes `scale` until the pane is destroyed; the map starts as the scale's own.
  void LinkScale(CDragScale& scale);

  void Clear() noexcept;
  // Reads every sample of `reader` in chunks of 16, each times `scale`, within the capacity, and
  // releases the reader. True when the reader delivered anything; the statistics of the mark are
  // then recomputed.
  bool AppendFrom(Tarn::ComPtr<Host::IEnumFloatEx> reader, double scale);
  void SetState(int state) noexcept;
  int GetState() const noexcept { return mState; }

  // The statistics of the marked samples; none while there are no samples to mark.
  std::optional<double> Mean() const noexcept;
  std::optional<double> Max() const noexcept;
  std::optional<double> Min() const noexcept;
  std::size_t SampleCount() const noexcept { return mSamples.size(); }
  const std::vector<float>& Samples() const noexcept { return mSamples; }
  // The value-to-pixel map the scale last reported.
  Pane::ValueMap Map() const noexcept { return mMap; }
  // The marked pixel columns, start where the button went down.
  int MarkStart() const noexcept { return mMarkStart; }
  int MarkEnd() const noexcept { return mMarkEnd; }

  // Paints the whole pane into `dc` (a back buffer, or a memory device context in a test).
  void PaintTo(HDC dc) const;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  class Observer;
  friend class Observer;

  void OnScaleChanged(double factor, double offset, bool redrawNow) noexcept;
  void DetachScale() noexcept;
  void MarkRange(int x);
  void InvertMark(HDC dc, const RECT& from, bool fromShown, const RECT& to) const;
  void RecomputeStatistics() noexcept;
  void PaintMessage(HDC dc, UINT stringId) const;
  void PaintTrace(HDC dc) const;
  void PaintMarkers(HDC dc) const;
  void Paint();

  std::vector<float> mSamples;
  int mState = NoSelection;
  COLORREF mColour;
  Pane::ValueMap mMap;
  RECT mClient{};
  int mMarkStart = 0;
  int mMarkEnd = 0;
  RECT mMarkRect{};
  bool mMarkShown = false;
  Pane::Statistics mStatistics;
  bool mMarking = false;
  bool mCaptureLost = false;

  Tarn::ComPtr<Observer> mObserver;
  Tarn::ComPtr<Host::IDragScale> mScale;
  // Scratch for the repaint, kept to spare an allocation per paint.
  mutable std::vector<Pane::ColumnLine> mColumns;
  mutable Pane::Polylines mPolylines;
};

} // namespace MPCalibration

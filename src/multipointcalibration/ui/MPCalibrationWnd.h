#pragma once
#include <windows.h>

#include <string>

#include "foundation/win/ComPtr.h"
#include "multipointcalibration/CalibrationSettings.h"
#include "multipointcalibration/ui/DragScale.h"
#include "plotting/win/Graph2D.h"
#include "plotting/win/ReadOut.h"
#include "plotting/win/TabulatedData.h"
#include "units/UnitInfo.h"
#include "window/win/BaseWindow.h"

namespace MPCalibration {

// The curve dialog's graph: the calibration points, their numbers and the fitted curve between a
// vertical and a horizontal drag scale, with the cursor's read-outs above. The curve always spans
// the horizontal scale's current range, so it is rebuilt whenever that range changes.
class MPCalibrationWnd : public Tarn::Window::BaseWindow<MPCalibrationWnd> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalibrationWnd";

  // Throws std::bad_alloc.
  MPCalibrationWnd(const Tarn::UnitInfo& rawUnit, const CalibrationSettings& settings);
  ~MPCalibrationWnd();

  // Creates the window, its scales, graph and read-outs at `rect` of `parent`, and plots the
  // curve. Throws Tarn::XHResult when a part cannot be made.
  void Create(HWND parent, const RECT& rect, int id);

  // The fit to show: taken, and the curve rebuilt over the present horizontal range.
  void SetSettings(const CalibrationSettings& settings);
  const CalibrationSettings& Settings() const noexcept { return mSettings; }
  void RebuildCurve();

  const GUILib::TabulatedTable& CurveData() const noexcept { return mCurveData->Table(); }
  GUILib::CGraph2D& Graph() noexcept { return mPlot; }
  CDragScale& HorizontalScale() noexcept { return mHScale; }
  CDragScale& VerticalScale() noexcept { return mVScale; }
  const GUILib::CReadOut& XReadOut() const noexcept { return mXReadout; }
  const GUILib::CReadOut& YReadOut() const noexcept { return mYReadout; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  class TabulatedObserver;
  class DragScaleObserver;
  friend class TabulatedObserver;
  friend class DragScaleObserver;

  enum class ScaleEvent { DragStarted, Dragging, RangeChanged, DragEnded, TransformChanged };
  void OnDataChanged();
  void OnScaleEvent(ScaleEvent event);
  void OnCursor(const float* point);
  void Layout();
  void EraseBackground(HDC dc) const;
  void AddPlot(std::int64_t xColumn, std::int64_t yColumn, int type, int size, COLORREF colour);
  void Disconnect() noexcept;

  Tarn::ComPtr<GUILib::CTabulatedData> mCurveData;
  CalibrationSettings mSettings;
  Tarn::UnitInfo mRawUnit;
  CDragScale mVScale;
  CDragScale mHScale;
  GUILib::CGraph2D mPlot;
  GUILib::CReadOut mXReadout;
  GUILib::CReadOut mYReadout;
  Tarn::ComPtr<TabulatedObserver> mTableObserver;
  Tarn::ComPtr<DragScaleObserver> mScaleObserver;
};

} // namespace MPCalibration

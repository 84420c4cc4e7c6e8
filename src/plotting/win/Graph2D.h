#pragma once
#include <windows.h>

#include "hostapi/HostInterfaces.h"
#include "plotting/GraphModel.h"
#include "plotting/RangeCheck.h"
#include "plotting/TabulatedData.h"
#include "plotting/win/BitmapCursor.h"
#include "plotting/win/ColourMenu.h"
#include "plotting/win/GridPlot.h"
#include "plotting/win/HostAxisScale.h"
#include "plotting/win/PlotInfo.h"
#include "plotting/win/TabulatedData.h"
#include "window/win/BaseWindow.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace GUILib {

// Sent to the graph's parent when the cursor moves onto a sample: lParam points to its (x, y) as
// two 32-bit floats, valid during the call; 0 when the pointer has left the graph.
inline constexpr UINT kCursorMessage = WM_USER + 7;

// An XY graph window: plots of column pairs of a table over a dotted grid, between two axis scales
// that belong to someone else; a cursor on the sample of the followed plot nearest the pointer,
// and (when interactive) a zoom rectangle dragged with the left button and a popup menu.
class CGraph2D : public Tarn::Window::BaseWindow<CGraph2D> {
public:
  static constexpr const wchar_t* ClassName = L"MPCalGraph2D";
  static constexpr int kMenuResource = 100;
  static constexpr UINT kSetScalesCommand = 101;
  static constexpr UINT kResetScalesCommand = 102;
  static constexpr UINT kZoomSelectionCommand = 103;
  static constexpr COLORREF kDefaultGridColour = 15780518;

  CGraph2D();
  HWND Create(HWND parent, Rect rect, int id = 0) noexcept;

  // The table is the owner's and must outlive the graph or be replaced first; nothing is computed
  // or drawn without one. The owner calls Recompute when the table changes.
  void SetData(const TabulatedTable* table);
  // The same over a tabulated data object, which the graph holds a reference to while it reads
  // it (null: no data).
  void SetData(CTabulatedData* data);
  void SetScales(Host::IAxisScale* horizontal, Host::IAxisScale* vertical);
  const HostAxisScale& HorizontalScale() const noexcept { return mHScale; }
  const HostAxisScale& VerticalScale() const noexcept { return mVScale; }

  // Refused without a table, for a negative column and for a pair already plotted. The first
  // plot added is the one the cursor follows.
  bool AddPlot(std::int64_t xColumn, std::int64_t yColumn, std::wstring name = {});
  PlotInfo* GetPlot(PlotKey key) noexcept;
  void Recompute();
  std::optional<PlotKey> SelectedPlot() const noexcept { return mModel.Selected(); }
  bool SelectPlot(PlotKey key);

  void SetInteractive(bool on) noexcept { mInteractive = on; }
  bool Interactive() const noexcept { return mInteractive; }
  void SetAutoExpand(bool on) noexcept { mModel.autoExpand = on; }
  void SetShowGrid(bool on);
  void SetGridColour(COLORREF colour);
  void SetCursorHidden(bool hidden);
  bool ScalesValid() const noexcept { return mScalesValid; }
  const ZoomDrag& Zoom() const noexcept { return mZoom; }
  const CBitmapCursor& Cursor() const noexcept { return mCursor; }

  // The whole graph into `dc` inside `rect`: the window's back buffer, a metafile or a page. The
  // tracking cursor and the zoom frame belong to the window; a copy or a page leaves them out.
  enum class Marks { Shown, Left };
  void Draw(HDC dc, Rect rect, Marks marks = Marks::Shown) const;

  // The menu's commands. Zooming sets both ranges from the rectangle, or keeps both as they were
  // when a scale refuses; false then.
  bool ZoomSelection();
  bool CanResetScales() const noexcept;
  // Set Scales' OK: both typed ranges checked against the scales' limits, set only together.
  TypedRangesOutcome ApplyTypedRanges(AxisRange horizontal, AxisRange vertical);
  // The units of the followed plot's x and y columns, which the axes show.
  std::pair<std::wstring, std::wstring> AxisUnits() const;
  void ResetScales();
  // The popup as it is about to be shown: enable states refreshed and, with more than one plot,
  // the "Select Trace" submenu made anew in place of the previous one. Null without the menu.
  HMENU PreparePopupMenu();
  const CColourMenu& TraceMenu() const noexcept { return mColourMenu; }
  // Runs a menu command; false when it is not one of the graph's.
  bool RunCommand(UINT command);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void Repaint() noexcept;
  void Paint();
  void OnMouseMove(Point at);
  void OnMouseLeave();
  void MoveCursor(std::optional<Point> at);
  void ShowPopup(LPARAM screenPoint);

  const TabulatedTable* mData = nullptr;
  Tarn::ComPtr<CTabulatedData> mSource;
  HostAxisScale mHScale;
  HostAxisScale mVScale;
  GraphModel mModel;
  std::map<PlotKey, std::unique_ptr<PlotInfo>> mPlots;
  unique_hmenu mMenu;
  CColourMenu mColourMenu;
  HMENU mTraceSubmenu = nullptr;
  CBitmapCursor mCursor;
  GridPlot mGrid;
  ZoomDrag mZoom;
  bool mCursorHidden = false;
  bool mScalesValid = true;
  bool mInteractive = false;
  bool mShowGrid = true;
  bool mTrackingLeave = false;
};

} // namespace GUILib
